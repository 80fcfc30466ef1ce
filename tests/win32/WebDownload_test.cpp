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
using webtest::SystemProxyOverride;
using webtest::WebUrl;

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
