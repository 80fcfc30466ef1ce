// Misbehaving servers behind the handlers that fetch pages: the probe and a
// source load run over the real web access and end as a failed fetch does.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "WebTestServer.h"
#include "app/MemoryControls.h"
#include "proxy/ProbeProxy.h"
#include "sources/LoadSource.h"
#include "web/WinInetWebAccess_win32.h"

namespace {

using webtest::SystemProxyOverride;

// "该代理ip测试超时，不可用！"
constexpr char kTimedOutLine[] =
    "\xB8\xC3\xB4\xFA\xC0\xED" "ip" "\xB2\xE2\xCA\xD4\xB3\xAC\xCA\xB1\xA3\xAC\xB2\xBB\xBF\xC9\xD3\xC3\xA3\xA1";
constexpr char kLoaded[] = "\xBC\xD3\xD4\xD8\xCD\xEA\xB1\xCF";  // 加载完毕

// The registry is not what these tests look at.
class StillSwitch : public SystemProxySwitch {
 public:
  void SetSystemProxy(const std::string&) override {}
  void ClearSystemProxy() override {}
};

// "127.0.0.1:<web port>/hostile/<kind>": a host setting whose pages are all
// the misbehaving answer of that kind (the path after it is ignored).
std::string HostileHost(const std::string& kind) {
  return "127.0.0.1:" + std::to_string(webtest::ServerPorts()->web) + "/hostile/" + kind;
}

// The port that accepts and never answers.
std::string SilentHost() { return "127.0.0.1:" + std::to_string(webtest::ServerPorts()->silent); }

class HostilePages : public ::testing::Test {
 protected:
  void SetUp() override {
    WEBTEST_REQUIRE_SERVERS();
    // Downloads follow the system proxy: keep it switched off here.
    direct_.emplace();
    direct_->Set(false, 1);
  }

  AppContext Context() { return AppContext{controls_, state_, TheWebAccess(), switch_, hosts_}; }

  MemoryMainWindow window_;
  MainControls controls_ = window_.Controls();
  ProgramState state_;
  StillSwitch switch_;
  SiteHosts hosts_;

 private:
  std::optional<SystemProxyOverride> direct_;
};

class HostileEchoPage : public HostilePages, public ::testing::WithParamInterface<const char*> {};

TEST_P(HostileEchoPage, TheProbeCountsItAsTimedOut) {
  const std::string kind = GetParam();
  hosts_.ipEcho = HostileHost(kind);
  if (kind == "silent") hosts_.ipEcho = SilentHost();
  window_.编辑框3 = MemoryEdit("2");
  AppContext app = Context();
  EXPECT_EQ(ProbeProxy(app), kVerdictTimedOut);
  EXPECT_EQ(window_.标签4.Caption(), kTimedOutLine);
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileEchoPage,
                         ::testing::Values("notutf8", "badchunksize", "redirectloop", "silent"));

struct SourceCase {
  const char* key;   // "5u": the timed request; "pubcc": the plain download
  const char* kind;  // what the site answers
};

class HostileSourcePage : public HostilePages, public ::testing::WithParamInterface<SourceCase> {};

TEST_P(HostileSourcePage, TheLoadEndsWithNoRows) {
  const SourceCase& source = HostileSourcePage::GetParam();
  hosts_.pubcc = HostileHost(source.kind);
  window_.超级列表框2.AppendRow("1");
  window_.超级列表框2.SetCell(0, 2, "http://" + HostileHost(source.kind));
  window_.超级列表框2.SetCell(0, 3, source.key);
  window_.超级列表框2.Select(0);
  window_.超级列表框1.AppendRow("left from before");

  AppContext app = Context();
  LoadSource(app);
  EXPECT_EQ(window_.超级列表框1.RowCount(), 0);
  EXPECT_EQ(window_.ts.Caption(), kLoaded);
  EXPECT_TRUE(window_.超级列表框2.IsEnabled());
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileSourcePage,
                         ::testing::Values(SourceCase{"5u", "notutf8"}, SourceCase{"5u", "redirectloop"},
                                           SourceCase{"5u", "chunkcut"}, SourceCase{"pubcc", "redirectloop"},
                                           SourceCase{"pubcc", "nul"}, SourceCase{"pubcc", "badchunksize"}),
                         [](const ::testing::TestParamInfo<SourceCase>& info) {
                           return std::string(info.param.key) + "_" + info.param.kind;
                         });

}  // namespace
