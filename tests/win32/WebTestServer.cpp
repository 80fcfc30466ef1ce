#include "WebTestServer.h"

#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <mutex>

namespace webtest {
namespace {

int EnvironmentPort(const char* name) {
  char value[32] = {};
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  if (length == 0 || length >= sizeof value) return 0;
  return std::atoi(value);
}

// GET of one control path over a plain socket; the response body.
std::string PlainGet(int port, const std::string& path) {
  static std::once_flag started;
  std::call_once(started, [] {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  });
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string response;
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + path + " HTTP/1.0\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    char buffer[4096];
    for (int got; (got = recv(s, buffer, sizeof buffer, 0)) > 0;) response.append(buffer, static_cast<std::size_t>(got));
  }
  closesocket(s);
  const std::size_t bodyAt = response.find("\r\n\r\n");
  return bodyAt == std::string::npos ? std::string() : response.substr(bodyAt + 4);
}

}  // namespace

const Ports* ServerPorts() {
  static const Ports ports{EnvironmentPort("PROXYSWITCHER_WEBTEST_PORT"),
                           EnvironmentPort("PROXYSWITCHER_WEBTEST_SILENT_PORT"),
                           EnvironmentPort("PROXYSWITCHER_WEBTEST_PROXY_PORT"),
                           EnvironmentPort("PROXYSWITCHER_WEBTEST_CLOSED_PORT")};
  return ports.web != 0 && ports.silent != 0 && ports.proxy != 0 && ports.closed != 0 ? &ports : nullptr;
}

std::string WebUrl(const std::string& pathAndQuery) {
  return "http://127.0.0.1:" + std::to_string(ServerPorts()->web) + pathAndQuery;
}

std::string NewTag(const std::string& name) {
  static int counter = 0;
  return name + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

std::vector<std::string> RecordedRequests(const std::string& tag) {
  static const std::string kEnd = "\n<<<END>>>\n";
  const std::string log = PlainGet(ServerPorts()->web, "/_log/" + tag);
  std::vector<std::string> requests;
  for (std::size_t at = 0, end; (end = log.find(kEnd, at)) != std::string::npos; at = end + kEnd.size()) {
    requests.push_back(log.substr(at, end - at));
  }
  return requests;
}

std::string HeaderLine(const std::string& rawRequest, const std::string& name) {
  const std::string head = rawRequest.substr(0, rawRequest.find("\r\n\r\n"));
  std::size_t at = 0;
  while (at < head.size()) {
    std::size_t end = head.find("\r\n", at);
    if (end == std::string::npos) end = head.size();
    const std::string line = head.substr(at, end - at);
    if (line.size() > name.size() && line[name.size()] == ':' &&
        _strnicmp(line.c_str(), name.c_str(), name.size()) == 0) {
      return line;
    }
    at = end + 2;
  }
  return {};
}

namespace {

constexpr const wchar_t* kInternetSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

}  // namespace

SystemProxyOverride::SystemProxyOverride() {
  RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                  nullptr);
  DWORD enable = 0;
  DWORD size = sizeof enable;
  if (RegQueryValueExW(key_, L"ProxyEnable", nullptr, nullptr, reinterpret_cast<BYTE*>(&enable), &size) ==
      ERROR_SUCCESS) {
    oldEnable_ = enable;
  }
  wchar_t server[512] = {};
  size = sizeof server - sizeof(wchar_t);
  if (RegQueryValueExW(key_, L"ProxyServer", nullptr, nullptr, reinterpret_cast<BYTE*>(server), &size) ==
      ERROR_SUCCESS) {
    oldServer_ = server;
  }
}

SystemProxyOverride::~SystemProxyOverride() {
  if (oldEnable_) {
    Write(L"ProxyEnable", *oldEnable_);
  } else {
    RegDeleteValueW(key_, L"ProxyEnable");
  }
  if (oldServer_) {
    WriteServer(*oldServer_);
  } else {
    RegDeleteValueW(key_, L"ProxyServer");
  }
  Notify();
  RegCloseKey(key_);
}

void SystemProxyOverride::Set(bool enabled, int port) {
  WriteServer(L"127.0.0.1:" + std::to_wstring(port));
  Write(L"ProxyEnable", enabled ? 1 : 0);
  Notify();
}

void SystemProxyOverride::Write(const wchar_t* name, DWORD value) {
  RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SystemProxyOverride::WriteServer(const std::wstring& server) {
  RegSetValueExW(key_, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                 static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
}

void SystemProxyOverride::Notify() {
  InternetSetOptionW(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
  InternetSetOptionW(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0);
}

}  // namespace webtest
