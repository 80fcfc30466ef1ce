// The two ways the program fetches a page: the timed request, which waits on a
// worker thread while the window keeps answering, and the plain blocking
// download that follows the system proxy setting. An empty byte array is the
// failure result of both.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// A counted sequence of bytes (may hold zero bytes).
using ByteArray = std::string;

// Receives (percent, finished) reports of a timed request.
using ProgressRoutine = void (*)(int percent, int finished);

// Arguments of FetchWithTimeout, in their order; an absent text is empty.
struct FetchArguments {
  std::string url;
  std::string verb;
  std::string proxy;  // "host:port"; blank means direct
  std::string userName;
  std::string password;
  std::string extraHeaders;  // lines ending in CR LF
  std::string body;          // sent only for POST
  std::optional<int> timeLimitSeconds;  // absent, 0 or negative: 90 s
  std::string* responseHeaders = nullptr;  // written only when given
  ProgressRoutine progress = nullptr;
};

class WebAccess {
 public:
  virtual ~WebAccess() = default;
  virtual ByteArray FetchWithTimeout(const FetchArguments& arguments) = 0;
  virtual ByteArray DownloadPage(std::string_view url) = 0;
};
