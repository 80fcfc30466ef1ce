#include "web/PageDownload_win32.h"

#include <windows.h>
#include <wininet.h>

#include <mutex>
#include <optional>
#include <string>

#include "web/HttpAddress_win32.h"
#include "web/InternetHandle_win32.h"
#include "web/Redirects.h"
#include "web/RequestRules.h"

namespace {

constexpr DWORD kReadChunkBytes = 64 * 1024;
// The longest the download waits for a connection or for the next bytes.
// WinINet under Wine waits for ever by default, and the download blocks the
// window while it waits.
constexpr DWORD kSilenceLimitMs = 30 * 1000;

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

// Sets the silence limit on a connection or request handle.
void LimitSilence(HINTERNET handle) {
  DWORD limit = kSilenceLimitMs;
  InternetSetOptionA(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &limit, sizeof limit);
  InternetSetOptionA(handle, INTERNET_OPTION_SEND_TIMEOUT, &limit, sizeof limit);
  InternetSetOptionA(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &limit, sizeof limit);
}

// A read that fails ends the body; what came before it is kept. Each read
// asks only for what has arrived: a synchronous read of a larger block waits
// to fill it, and if the connection breaks meanwhile WinINet may drop the
// bytes it already had. Nothing when the body passes the size guard.
ByteArray ReadBody(HINTERNET request) {
  ByteArray body;
  std::string chunk(kReadChunkBytes, '\0');
  for (;;) {
    DWORD available = 0;
    if (!InternetQueryDataAvailable(request, &available, 0, 0) || available == 0) break;
    DWORD read = 0;
    if (!InternetReadFile(request, chunk.data(), available < kReadChunkBytes ? available : kReadChunkBytes, &read) ||
        read == 0) {
      break;
    }
    if (body.size() + read > kMaxBodyBytes) return {};
    body.append(chunk.data(), read);
  }
  return body;
}

}  // namespace

ByteArray DownloadPage(std::string_view url) {
  if (url.empty()) return {};
  std::string address(url);
  std::optional<HttpAddress> target = CrackHttpAddress(address);
  if (!target) return {};
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

  for (int hop = 0; hop <= kMaxRedirects; ++hop) {
    const InternetHandle connection(InternetConnectA(
        internet, target->host.c_str(), target->port, target->userName.empty() ? nullptr : target->userName.c_str(),
        target->password.empty() ? nullptr : target->password.c_str(), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return {};
    ClearProxyCredentials(connection.get());
    LimitSilence(connection.get());

    const char* acceptTypes[] = {"Accept: */* \r\n", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_DONT_CACHE | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (target->secure) flags |= INTERNET_FLAG_SECURE;
    const InternetHandle request(HttpOpenRequestA(connection.get(), "GET", target->pathAndQuery.c_str(), "HTTP/1.0",
                                                  nullptr, acceptTypes, flags, 0));
    if (!request) return {};
    LimitSilence(request.get());
    const std::string headers = "Accept: */*\r\n\r\n";
    if (!HttpSendRequestA(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0)) return {};

    std::optional<std::string> next;
    if (NextHop(ResponseStatus(request.get()), "GET")) next = RedirectLocation(request.get(), address);
    if (!next) return ReadBody(request.get());
    address = *next;
    target = CrackHttpAddress(address);
    if (!target) return {};
  }
  return {};  // one redirect too many
}
