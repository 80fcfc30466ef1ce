// The plain download against the loopback test server, directly and through
// the system proxy setting of the test prefix.
#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "WebTestServer.h"
#include "web/PageDownload_win32.h"
#include "web/RequestRules.h"

namespace {

using webtest::HeaderLine;
using webtest::NewTag;
using webtest::RecordedRequests;
using webtest::WebUrl;

constexpr const wchar_t* kInternetSettings = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Sets the current user's system proxy for the test and puts the previous
// values back afterwards.
class SystemProxyOverride {
 public:
  SystemProxyOverride() {
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
  ~SystemProxyOverride() {
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
  SystemProxyOverride(const SystemProxyOverride&) = delete;
  SystemProxyOverride& operator=(const SystemProxyOverride&) = delete;

  void Set(bool enabled, int port) {
    WriteServer(L"127.0.0.1:" + std::to_wstring(port));
    Write(L"ProxyEnable", enabled ? 1 : 0);
    Notify();
  }

 private:
  void Write(const wchar_t* name, DWORD value) {
    RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  void WriteServer(const std::wstring& server) {
    RegSetValueExW(key_, L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
                   static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
  }
  static void Notify() {
    InternetSetOptionW(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
    InternetSetOptionW(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0);
  }

  HKEY key_ = nullptr;
  std::optional<DWORD> oldEnable_;
  std::optional<std::wstring> oldServer_;
};

// Every download test starts with the system proxy switched off, whatever an
// earlier program run in this prefix left there.
class WebDownload : public ::testing::Test {
 protected:
  void SetUp() override {
    WEBTEST_REQUIRE_SERVERS();
    direct_.emplace();
    direct_->Set(false, 1);
  }

 private:
  std::optional<SystemProxyOverride> direct_;
};

TEST_F(WebDownload, SendsAPlainGetWithoutTheFragment) {
  const std::string tag = NewTag("download");
  EXPECT_EQ(DownloadPage(WebUrl("/echo?t=" + tag + "#part")), "hello /echo?t=" + tag);
  const std::vector<std::string> requests = RecordedRequests(tag);
  ASSERT_EQ(requests.size(), 1u);
  const std::string& sent = requests[0];
  EXPECT_EQ(sent.rfind("GET /echo?t=" + tag + " HTTP/1.0\r\n", 0), 0u) << sent;
  EXPECT_EQ(HeaderLine(sent, "User-Agent"), "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(HeaderLine(sent, "Accept"), "Accept: */*");
  EXPECT_EQ(sent.find("#part"), std::string::npos);
}

TEST_F(WebDownload, ReturnsWhateverBodyComes) {
  EXPECT_EQ(DownloadPage(WebUrl("/notfound")), "no such page");
  const std::string tag = NewTag("download-redirected");
  EXPECT_EQ(DownloadPage(WebUrl("/redirect?to=/echo%3Ft%3D" + tag)), "hello /echo?t=" + tag);
  EXPECT_EQ(DownloadPage(WebUrl("/cut")), std::string(10, 'x'));  // a broken read keeps what came
  EXPECT_EQ(DownloadPage(WebUrl("/size/300000/nolength")).size(), 300000u);
  EXPECT_EQ(DownloadPage(WebUrl("/bigheaders")), "big headers body");
}

TEST_F(WebDownload, AnHttpsAddressGoesOverTlsToItsPort) {
  // The test server speaks no TLS: it records the client hello that arrives
  // on the port the address names, and the download fails.
  const std::size_t before = RecordedRequests("tls").size();
  EXPECT_EQ(DownloadPage("https://127.0.0.1:" + std::to_string(webtest::ServerPorts()->web) + "/secure"), "");
  const std::vector<std::string> hellos = RecordedRequests("tls");
  ASSERT_GT(hellos.size(), before);
  EXPECT_EQ(hellos.back().substr(0, 2), "\x16\x03");
}

TEST_F(WebDownload, AddressesThatCannotBeFetchedGiveNothing) {
  const webtest::Ports& ports = *webtest::ServerPorts();
  EXPECT_EQ(DownloadPage(""), "");
  EXPECT_EQ(DownloadPage("not an address"), "");
  EXPECT_EQ(DownloadPage("ftp://127.0.0.1:" + std::to_string(ports.web) + "/echo"), "");
  EXPECT_EQ(DownloadPage("http://127.0.0.1:" + std::to_string(ports.closed) + "/"), "");
  EXPECT_EQ(DownloadPage(WebUrl("/reset")), "");
  // After failures the shared handle still serves.
  EXPECT_EQ(DownloadPage(WebUrl("/echo")), "hello /echo");
}

TEST_F(WebDownload, ABodyPastTheGuardCountsAsFailed) {
  EXPECT_EQ(DownloadPage(WebUrl("/size/" + std::to_string(kMaxBodyBytes + 1))), "");
  EXPECT_EQ(DownloadPage(WebUrl("/size/" + std::to_string(kMaxBodyBytes + 1) + "/nolength")), "");
}

TEST_F(WebDownload, FollowsTheSystemProxySettingAsItIsNow) {
  const webtest::Ports& ports = *webtest::ServerPorts();
  SystemProxyOverride proxy;

  proxy.Set(true, ports.proxy);
  const std::string through = NewTag("through-proxy");
  EXPECT_EQ(DownloadPage(WebUrl("/echo?t=" + through)), "hello /echo?t=" + through);
  std::vector<std::string> requests = RecordedRequests(through);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_NE(HeaderLine(requests[0], "Via").find("tinyproxy"), std::string::npos) << requests[0];

  proxy.Set(false, ports.proxy);
  const std::string direct = NewTag("direct");
  EXPECT_EQ(DownloadPage(WebUrl("/echo?t=" + direct)), "hello /echo?t=" + direct);
  requests = RecordedRequests(direct);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(HeaderLine(requests[0], "Via"), "");

  proxy.Set(true, ports.closed);
  const std::string dead = NewTag("dead-system-proxy");
  EXPECT_EQ(DownloadPage(WebUrl("/echo?t=" + dead)), "");
  EXPECT_TRUE(RecordedRequests(dead).empty());
}

}  // namespace
