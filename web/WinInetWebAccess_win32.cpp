#include "web/WinInetWebAccess_win32.h"

ByteArray WinInetWebAccess::FetchWithTimeout(const FetchArguments&) { return {}; }

ByteArray WinInetWebAccess::DownloadPage(std::string_view) { return {}; }

WebAccess& TheWebAccess() {
  static WinInetWebAccess instance;
  return instance;
}
