// Splitting the addresses and response headers of the timed request. The
// address is taken apart by hand, the way the request has always done it: an
// optional "http://" prefix, the host up to the first "/", an optional ":port".
#pragma once

#include <string>
#include <string_view>

// The host, ASCII letters made small; with keepPort the ":port" stays on.
std::string UrlHost(std::string_view url, bool keepPort = false);

// Everything from the first "/" after the host, query and fragment included;
// "/" when the address has no path.
std::string UrlPath(std::string_view url);

// The port after the host's first ":", 80 when there is none; 0 when the text
// there is empty or not a number (the network layer then takes its default).
// Values beyond the range of int are clamped to it.
int UrlPort(std::string_view url);

// The text between the first startMarker and the first endMarker after it,
// both found ignoring ASCII letter case; empty when either is missing.
std::string HeaderValue(std::string_view text, std::string_view startMarker,
                        std::string_view endMarker);

// The leading decimal number of text (leading blanks skipped, optional sign,
// optional fraction), 0 when text does not start with one.
double LeadingNumber(std::string_view text);
