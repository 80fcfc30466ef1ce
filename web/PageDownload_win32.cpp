#include "web/PageDownload_win32.h"

#include <windows.h>
#include <wininet.h>

#include <mutex>
#include <string>

#include "web/InternetHandle_win32.h"
#include "web/RequestRules.h"

namespace {

constexpr DWORD kReadChunkBytes = 64 * 1024;

// The one internet handle of every download in the program run, opened on the
// first download and opened again after a failure.
HINTERNET SharedInternet() {
  static std::mutex lock;
  static InternetHandle internet;
  std::lock_guard<std::mutex> guard(lock);
  if (!internet) {
    const std::string agent(kBrowserAgent);
    internet.Reset(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
  }
  return internet.get();
}

struct CrackedUrl {
  bool secure = false;
  std::string host;
  INTERNET_PORT port = 0;
  std::string userName;
  std::string password;
  std::string pathAndQuery;  // the fragment already cut off
};

std::string Part(const char* text, DWORD length) {
  return text == nullptr ? std::string() : std::string(text, length);
}

// Splits the address with the platform's parser, without escaping anything.
bool CrackUrl(const std::string& url, CrackedUrl& cracked) {
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  // Non-zero lengths with null buffers ask for pointers into the address.
  parts.dwSchemeLength = 1;
  parts.dwHostNameLength = 1;
  parts.dwUserNameLength = 1;
  parts.dwPasswordLength = 1;
  parts.dwUrlPathLength = 1;
  parts.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
  // Only the two schemes that go over the HTTP service; anything else
  // (ftp:, file:, ...) would be sent to the wrong kind of server.
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
  cracked.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  cracked.host = Part(parts.lpszHostName, parts.dwHostNameLength);
  cracked.port = parts.nPort;
  cracked.userName = Part(parts.lpszUserName, parts.dwUserNameLength);
  cracked.password = Part(parts.lpszPassword, parts.dwPasswordLength);
  std::string path = Part(parts.lpszUrlPath, parts.dwUrlPathLength) + Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  const std::size_t fragment = path.find('#');
  if (fragment != std::string::npos) path.resize(fragment);
  cracked.pathAndQuery = path.empty() ? "/" : path;
  return !cracked.host.empty();
}

// Points the shared handle at the system's proxy setting as it is now, so a
// download follows the last switch of the system proxy. False when the
// platform cannot re-point an open handle (Wine leaves this option out).
bool FollowSystemProxy(HINTERNET internet) {
  INTERNET_PROXY_INFO proxy{};
  proxy.dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG;
  return InternetSetOptionA(internet, INTERNET_OPTION_PROXY, &proxy, sizeof proxy) != FALSE;
}

void ClearProxyCredentials(HINTERNET connection) {
  char empty[] = "";
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_USERNAME, empty, 0);
  InternetSetOptionA(connection, INTERNET_OPTION_PROXY_PASSWORD, empty, 0);
}

}  // namespace

ByteArray DownloadPage(std::string_view url) {
  if (url.empty()) return {};
  CrackedUrl cracked;
  if (!CrackUrl(std::string(url), cracked)) return {};
  HINTERNET internet = SharedInternet();
  if (internet == nullptr) return {};
  InternetHandle ownInternet;
  if (!FollowSystemProxy(internet)) {
    // A handle opened with the preconfigured setting reads it as it is now.
    const std::string agent(kBrowserAgent);
    ownInternet.Reset(InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!ownInternet) return {};
    internet = ownInternet.get();
  }

  const InternetHandle connection(InternetConnectA(
      internet, cracked.host.c_str(), cracked.port, cracked.userName.empty() ? nullptr : cracked.userName.c_str(),
      cracked.password.empty() ? nullptr : cracked.password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return {};
  ClearProxyCredentials(connection.get());

  const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_DONT_CACHE;
  if (cracked.secure) flags |= INTERNET_FLAG_SECURE;
  const InternetHandle request(HttpOpenRequestA(connection.get(), "GET", cracked.pathAndQuery.c_str(), "HTTP/1.0",
                                                nullptr, acceptTypes, flags, 0));
  if (!request) return {};
  const std::string headers = "Accept: */*\r\n\r\n";
  if (!HttpSendRequestA(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0)) return {};

  // A read that fails ends the body; what came before it is kept. Each read
  // asks only for what has arrived: a synchronous read of a larger block waits
  // to fill it, and if the connection breaks meanwhile WinINet may drop the
  // bytes it already had.
  ByteArray body;
  std::string chunk(kReadChunkBytes, '\0');
  for (;;) {
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request.get(), &available, 0, 0) || available == 0) break;
    DWORD read = 0;
    if (!InternetReadFile(request.get(), chunk.data(), available < kReadChunkBytes ? available : kReadChunkBytes,
                          &read) ||
        read == 0) {
      break;
    }
    if (body.size() + read > kMaxBodyBytes) return {};
    body.append(chunk.data(), read);
  }
  return body;
}
