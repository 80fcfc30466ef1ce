#include "web/WinInetWebAccess_win32.h"

#include "web/PageDownload_win32.h"
#include "web/TimedRequest_win32.h"

ByteArray WinInetWebAccess::FetchWithTimeout(const FetchArguments& arguments) {
  return ::FetchWithTimeout(arguments);
}

ByteArray WinInetWebAccess::DownloadPage(std::string_view url) { return ::DownloadPage(url); }

WebAccess& TheWebAccess() {
  static WinInetWebAccess instance;
  return instance;
}
