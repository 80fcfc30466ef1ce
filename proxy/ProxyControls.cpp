#include "proxy/ProxyControls.h"

// Placeholders until the proxy controls land.
void On按钮2Click(AppContext&) {}
void On按钮3Click(AppContext&) {}
void On超级列表框1DoubleClick(AppContext&, int, int, int) {}
void VerifyAll(AppContext&) {}
