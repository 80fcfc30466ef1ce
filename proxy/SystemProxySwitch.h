// Switches the current user's system proxy on to a proxy text or off again.
#pragma once

#include <string>

class SystemProxySwitch {
 public:
  virtual ~SystemProxySwitch() = default;
  // ProxyEnable = 1, ProxyServer = proxy (byte for byte), then tells WinINet.
  virtual void SetSystemProxy(const std::string& proxy) = 0;
  // ProxyEnable = 0, ProxyServer deleted, then tells WinINet.
  virtual void ClearSystemProxy() = 0;
};
