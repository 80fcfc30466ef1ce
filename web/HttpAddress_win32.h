// Addresses as WinINet takes them apart, and the address a redirect response
// sends the next request to.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <optional>
#include <string>

struct HttpAddress {
  bool secure = false;
  std::string host;
  INTERNET_PORT port = 0;
  std::string userName;
  std::string password;
  std::string pathAndQuery;  // the fragment already cut off; "/" when empty
};

// Splits an http or https address with the platform's parser, without
// escaping anything. Nothing for any other scheme or an address without host.
std::optional<HttpAddress> CrackHttpAddress(const std::string& url);

// The numeric status of the response, 0 when it cannot be read.
int ResponseStatus(HINTERNET request);

// The absolute address named by the Location header of the response, resolved
// against url (the address the request went to). Nothing without one.
std::optional<std::string> RedirectLocation(HINTERNET request, const std::string& url);
