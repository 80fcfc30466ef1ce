#include "web/CookieLines.h"

#include "sources/text/GbkText.h"

namespace {

constexpr std::string_view kSetCookie = "Set-Cookie: ";

}  // namespace

std::vector<CookieLine> SplitCookieLines(std::string_view headerText) {
  std::vector<CookieLine> cookies;
  if (FindText(headerText, kSetCookie, 1, true) < 0) return cookies;
  std::size_t lineStart = 0;
  while (lineStart < headerText.size()) {
    std::size_t lineEnd = headerText.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = headerText.size();
    std::string_view line = headerText.substr(lineStart, lineEnd - lineStart);
    lineStart = lineEnd + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (FindText(line, kSetCookie, 1, true) < 0) continue;
    // The first 12 bytes go whatever they are, even when "Set-Cookie: " sits
    // further along the line.
    const std::string_view rest = line.substr(kSetCookie.size());
    const std::size_t equals = rest.find('=');
    if (equals == std::string_view::npos) {
      cookies.push_back({std::string(), std::string(rest)});
    } else {
      cookies.push_back({std::string(rest.substr(0, equals)), std::string(rest.substr(equals + 1))});
    }
  }
  return cookies;
}
