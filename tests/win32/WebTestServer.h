// The loopback servers of the web-access tests, as the wrapper script
// tests/servers/run-with-servers.sh passes them in the environment.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace webtest {

struct Ports {
  int web = 0;     // the recording test server
  int silent = 0;  // listens, never answers
  int proxy = 0;   // tinyproxy
  int closed = 0;  // nobody listens
};

// Null when the tests run without the servers.
const Ports* ServerPorts();

// "http://127.0.0.1:<web port>" + pathAndQuery.
std::string WebUrl(const std::string& pathAndQuery);

// A tag no other request of this run carries.
std::string NewTag(const std::string& name);

// The raw requests (head and body) the server recorded under tag, fetched
// over a plain socket so WinINet plays no part in reading them.
std::vector<std::string> RecordedRequests(const std::string& tag);

// One header line of a raw request ("Name: value"), empty when absent.
std::string HeaderLine(const std::string& rawRequest, const std::string& name);

// Sets the current user's system proxy for a test and puts the previous
// values back afterwards.
class SystemProxyOverride {
 public:
  SystemProxyOverride();
  ~SystemProxyOverride();
  SystemProxyOverride(const SystemProxyOverride&) = delete;
  SystemProxyOverride& operator=(const SystemProxyOverride&) = delete;

  void Set(bool enabled, int port);

 private:
  void Write(const wchar_t* name, DWORD value);
  void WriteServer(const std::wstring& server);
  static void Notify();

  HKEY key_ = nullptr;
  std::optional<DWORD> oldEnable_;
  std::optional<std::wstring> oldServer_;
};

}  // namespace webtest

#define WEBTEST_REQUIRE_SERVERS()                                                    \
  do {                                                                               \
    if (webtest::ServerPorts() == nullptr)                                           \
      GTEST_SKIP() << "needs the loopback servers (tests/servers/run-with-servers.sh)"; \
  } while (false)
