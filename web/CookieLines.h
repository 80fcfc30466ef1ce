// The cookies a response sets, taken from its raw header block so they can be
// stored for the host the request went to.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct CookieLine {
  std::string name;  // before the first "="; empty when the line has none
  std::string data;  // after it, attributes such as path and expiry included

  bool operator==(const CookieLine&) const = default;
};

// One entry per header line holding "Set-Cookie: " (any letter case). Lines end
// at LF, a CR before it dropped; the line's first 12 bytes (the header name,
// colon and blank) are removed.
std::vector<CookieLine> SplitCookieLines(std::string_view headerText);
