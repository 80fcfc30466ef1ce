// What the handlers of the main window work with: its controls, the
// program-wide variables and the services that reach outside the process.
#pragma once

#include "app/Controls.h"
#include "app/ProgramState.h"
#include "app/SiteHosts.h"
#include "proxy/SystemProxySwitch.h"
#include "web/WebAccess.h"

struct AppContext {
  MainControls& ui;
  ProgramState& state;
  WebAccess& web;
  SystemProxySwitch& proxySwitch;
  const SiteHosts& hosts;
};
