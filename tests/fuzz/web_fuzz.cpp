// The URL and header helpers, request-header completion and cookie-line
// splitting on any bytes.
#include <cstdint>
#include <cstdlib>

#include "FuzzInput.h"
#include "web/CookieLines.h"
#include "web/RequestProgress.h"
#include "web/RequestRules.h"
#include "web/UrlParts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  FuzzInput input(data, size);
  const std::string start = input.Piece();
  const std::string end = input.Piece();
  const std::string text = input.Rest();

  const std::string host = UrlHost(text);
  if (host.find(':') != std::string::npos || host.find('/') != std::string::npos) std::abort();
  const std::string path = UrlPath(text);
  if (path.empty() || path[0] != '/') std::abort();
  (void)UrlHost(text, true);
  (void)UrlPort(text);
  (void)HeaderValue(text, start, end);
  (void)LeadingNumber(text);

  for (const CookieLine& cookie : SplitCookieLines(text)) {
    if (cookie.name.find('=') != std::string::npos) std::abort();
  }
  const std::string headers = CompleteRequestHeaders(text, start);
  if (headers.compare(0, text.size(), text) != 0) std::abort();
  std::string post = headers;
  AddPostHeaders(post, end);

  const long long blocks = EstimateBlocks(text);
  if (blocks < 100) std::abort();
  for (long long n = 1; n < 5; ++n) (void)ProgressPercent(n, blocks);
  return 0;
}
