// The plain page download: a blocking HTTP/1.0 GET over WinINet that goes the
// way the current user's system proxy setting says.
#pragma once

#include <string_view>

#include "web/WebAccess.h"

// The response body whatever the status, or an empty byte array when nothing
// could be fetched (or the body passed the size guard).
ByteArray DownloadPage(std::string_view url);
