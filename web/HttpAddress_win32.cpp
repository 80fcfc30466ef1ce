#include "web/HttpAddress_win32.h"

#include <vector>

namespace {

std::string Part(const char* text, DWORD length) {
  return text == nullptr ? std::string() : std::string(text, length);
}

}  // namespace

std::optional<HttpAddress> CrackHttpAddress(const std::string& url) {
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  // Non-zero lengths with null buffers ask for pointers into the address.
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUserNameLength = 1;
  parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
  // Only the two schemes that go over the HTTP service; anything else
  // (ftp:, file:, ...) would be sent to the wrong kind of server.
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return std::nullopt;
  HttpAddress address;
  address.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  address.host = Part(parts.lpszHostName, parts.dwHostNameLength);
  address.port = parts.nPort;
  address.userName = Part(parts.lpszUserName, parts.dwUserNameLength);
  address.password = Part(parts.lpszPassword, parts.dwPasswordLength);
  std::string path = Part(parts.lpszUrlPath, parts.dwUrlPathLength) + Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  const std::size_t fragment = path.find('#');
  if (fragment != std::string::npos) path.resize(fragment);
  address.pathAndQuery = path.empty() ? "/" : path;
  if (address.host.empty()) return std::nullopt;
  return address;
}

int ResponseStatus(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) return 0;
  return static_cast<int>(status);
}

std::optional<std::string> RedirectLocation(HINTERNET request, const std::string& url) {
  DWORD size = 0;
  HttpQueryInfoA(request, HTTP_QUERY_LOCATION, nullptr, &size, nullptr);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::nullopt;
  std::vector<char> location(size + 1, '\0');
  size = static_cast<DWORD>(location.size());
  if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location.data(), &size, nullptr)) return std::nullopt;

  // A relative Location counts from the address the request went to.
  DWORD combinedSize = 0;
  InternetCombineUrlA(url.c_str(), location.data(), nullptr, &combinedSize, ICU_NO_ENCODE);
  if (combinedSize == 0) return std::nullopt;
  std::vector<char> combined(combinedSize + 1, '\0');
  combinedSize = static_cast<DWORD>(combined.size());
  if (!InternetCombineUrlA(url.c_str(), location.data(), combined.data(), &combinedSize, ICU_NO_ENCODE)) {
    return std::nullopt;
  }
  return std::string(combined.data());
}
