#include "proxy/RegistryProxySwitch_win32.h"

#include <wininet.h>

#include <utility>

#include "proxy/Registry_win32.h"

namespace {

// Tells WinINet that its settings changed, then makes running programs reload
// them: without the refresh a process that already read the proxy keeps the
// old one. Results are not examined.
void NotifyWinInet() {
  DWORD zero = 0;
  InternetSetOptionA(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, &zero, 0);
  InternetSetOptionA(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0);
}

}  // namespace

RegistryProxySwitch::RegistryProxySwitch(HKEY root, std::string keyPath)
    : root_(root), keyPath_(std::move(keyPath)) {}

void RegistryProxySwitch::SetSystemProxy(const std::string& proxy) {
  WriteRegistryItem(root_, keyPath_ + "\\ProxyEnable", DWORD{1});
  WriteRegistryItem(root_, keyPath_ + "\\ProxyServer", std::string_view(proxy));
  NotifyWinInet();
}

void RegistryProxySwitch::ClearSystemProxy() {
  WriteRegistryItem(root_, keyPath_ + "\\ProxyEnable", DWORD{0});
  DeleteRegistryItem(root_, keyPath_ + "\\ProxyServer");
  NotifyWinInet();
}

SystemProxySwitch& TheSystemProxySwitch() {
  static RegistryProxySwitch theSwitch;
  return theSwitch;
}
