// Fakes for the handlers that switch and probe proxies: a web layer that
// answers from a script and records every request, and a proxy switch that
// records its calls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/AppContext.h"
#include "app/MemoryControls.h"

class ScriptedWeb : public WebAccess {
 public:
  // Runs during the n-th fetch (0-based), as a nested handler would while the
  // real request waits; returns the body.
  using Step = std::function<ByteArray(const FetchArguments&)>;

  ByteArray FetchWithTimeout(const FetchArguments& arguments) override {
    requests.push_back(arguments);
    const std::size_t index = requests.size() - 1;
    if (index < steps.size() && steps[index]) return steps[index](arguments);
    return defaultBody;
  }
  ByteArray DownloadPage(std::string_view) override { return {}; }

  ByteArray defaultBody;
  std::vector<Step> steps;
  std::vector<FetchArguments> requests;
};

class RecordingSwitch : public SystemProxySwitch {
 public:
  void SetSystemProxy(const std::string& proxy) override { calls.push_back("set " + proxy); }
  void ClearSystemProxy() override { calls.push_back("clear"); }

  std::vector<std::string> calls;
};

// The main window in memory with everything a handler reaches.
struct ProbeBench {
  ProbeBench() { hosts.ipEcho = "127.0.0.17:8080"; }

  AppContext App() { return AppContext{controls, state, web, proxySwitch, hosts}; }

  MemoryMainWindow window;
  MainControls controls = window.Controls();
  ProgramState state;
  ScriptedWeb web;
  RecordingSwitch proxySwitch;
  SiteHosts hosts;
};

// An echo page as the IP-echo site sends it (UTF-8).
inline ByteArray EchoPage(const std::string& address, const std::string& location) {
  return "<html><body><p>\xE6\x82\xA8\xE7\x9A\x84IP\xE5\x9C\xB0\xE5\x9D\x80:" + address +
         "<br>\xE6\x9D\xA5\xE8\x87\xAA:" + location + "&nbsp;</p></body></html>";
}
