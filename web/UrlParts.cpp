#include "web/UrlParts.h"

#include <cmath>
#include <limits>

#include "sources/text/GbkText.h"

namespace {

constexpr std::string_view kHttpPrefix = "http://";

// Byte index where the host begins: right after the first "http://" (letter
// case significant), or the start of the address.
std::size_t HostStart(std::string_view url) {
  const std::size_t prefix = url.find(kHttpPrefix);
  return prefix == std::string_view::npos ? 0 : prefix + kHttpPrefix.size();
}

}  // namespace

std::string UrlHost(std::string_view url, bool keepPort) {
  std::string_view host = url.substr(HostStart(url));
  host = host.substr(0, host.find('/'));
  if (!keepPort) host = host.substr(0, host.find(':'));
  std::string result(host);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

std::string UrlPath(std::string_view url) {
  // The host is looked for from where it starts, not from the beginning of the
  // address: a host such as "p" or "ttp" would otherwise be found inside the
  // "http://" prefix and the path would start at the prefix's slashes.
  const std::string host = UrlHost(url);
  const int hostAt = static_cast<int>(HostStart(url)) + 1;
  const int found = host.empty() ? hostAt : FindText(url, host, hostAt, true);
  if (found < 0) return "/";
  const std::size_t slash = url.find('/', static_cast<std::size_t>(found - 1));
  if (slash == std::string_view::npos) return "/";
  return std::string(url.substr(slash));
}

int UrlPort(std::string_view url) {
  const std::string host = UrlHost(url, true);
  const std::size_t colon = host.find(':');
  if (colon == std::string::npos) return 80;
  const double value = std::trunc(LeadingNumber(std::string_view(host).substr(colon + 1)));
  if (value >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (value <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(value);
}

std::string HeaderValue(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker) {
  const int start = FindText(text, startMarker, 1, true);
  if (start < 0) return {};
  const std::string_view rest = text.substr(static_cast<std::size_t>(start - 1) + startMarker.size());
  const int end = FindText(rest, endMarker, 1, true);
  if (end < 0) return {};
  return std::string(rest.substr(0, static_cast<std::size_t>(end - 1)));
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const auto isDigit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
  double value = 0;
  for (; isDigit(i); ++i) value = value * 10 + (text[i] - '0');
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; isDigit(i); ++i, scale /= 10) value += (text[i] - '0') * scale;
  }
  if (std::isinf(value)) value = std::numeric_limits<double>::max();
  return negative ? -value : value;
}
