// The program's web access over WinINet: the timed request on a worker thread
// and the plain blocking download that follows the system proxy setting.
#pragma once

#include "web/WebAccess.h"

class WinInetWebAccess final : public WebAccess {
 public:
  ByteArray FetchWithTimeout(const FetchArguments& arguments) override;
  ByteArray DownloadPage(std::string_view url) override;
};

// The one program-wide instance.
WebAccess& TheWebAccess();
