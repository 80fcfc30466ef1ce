// Redirects are followed by the program itself, hop by hop, up to a bound:
// WinINet's own following has no end under Wine, so a server that sends a
// request back to itself would hold a download (and with it the window) or a
// request's worker for good.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// Hops followed after the first request; one more redirect is a failure.
inline constexpr int kMaxRedirects = 10;

struct RedirectHop {
  std::string verb;
  bool keepBody = false;
};

// What the next request is after a response with this status, as browsers and
// WinINet do it: 303 turns any verb into GET, 301 and 302 turn a POST into GET,
// 307 and 308 repeat the request as it was. Nothing when the status is no
// redirect.
std::optional<RedirectHop> NextHop(int status, std::string_view verb);
