#include "web/RequestRules.h"

#include "sources/text/GbkText.h"

namespace {

constexpr int kDefaultTimeLimitSeconds = 90;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FindText(a, b, 1, true) == 1;
}

bool Contains(std::string_view text, std::string_view line) { return FindText(text, line, 1, true) > 0; }

}  // namespace

RequestVerb ClassifyVerb(std::string_view verb) {
  if (verb.empty() || EqualsIgnoringCase(verb, "GET")) return RequestVerb::kGet;
  if (EqualsIgnoringCase(verb, "POST")) return RequestVerb::kPost;
  return RequestVerb::kUnsupported;
}

std::string CompleteRequestHeaders(std::string_view extraHeaders, std::string_view url) {
  std::string headers(extraHeaders);
  if (!Contains(headers, "Accept: ")) {
    headers +=
        "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
  }
  if (!Contains(headers, "Referer: ")) {
    headers += "Referer: ";
    headers += url;
    headers += "\r\n";
  }
  if (!Contains(headers, "Accept-Language: ")) headers += "Accept-Language: zh-cn\r\n";
  return headers;
}

void AddPostHeaders(std::string& headers, std::string_view body) {
  if (body.empty()) return;
  if (!Contains(headers, "Content-Type: ")) {
    headers += "Content-Type: application/x-www-form-urlencoded\r\n";
  }
  headers += "Content-Length: " + std::to_string(body.size()) + "\r\n";
}

int EffectiveTimeLimitSeconds(std::optional<int> seconds) {
  return (seconds && *seconds > 0) ? *seconds : kDefaultTimeLimitSeconds;
}

std::uint32_t WaitMilliseconds(int seconds) {
  constexpr std::uint64_t kLongest = 0xFFFFFFFEu;  // 0xFFFFFFFF would wait forever
  if (seconds <= 0) return 0;
  const std::uint64_t ms = static_cast<std::uint64_t>(seconds) * 1000u;
  return static_cast<std::uint32_t>(ms < kLongest ? ms : kLongest);
}
