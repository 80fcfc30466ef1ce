// The system proxy switch over the current user's Internet Settings key.
#pragma once

#include <windows.h>

#include <string>

#include "proxy/SystemProxySwitch.h"

class RegistryProxySwitch : public SystemProxySwitch {
 public:
  // The key below HKEY_CURRENT_USER that WinINet reads its LAN proxy from.
  static constexpr const char* kInternetSettingsKey =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

  // Tests point the switch at a scratch root and key; the program uses the defaults.
  explicit RegistryProxySwitch(HKEY root = HKEY_CURRENT_USER, std::string keyPath = kInternetSettingsKey);

  void SetSystemProxy(const std::string& proxy) override;
  void ClearSystemProxy() override;

 private:
  HKEY root_;
  std::string keyPath_;
};

// The switch the program uses, over HKEY_CURRENT_USER's Internet Settings.
SystemProxySwitch& TheSystemProxySwitch();
