#include "proxy/ProxyControls.h"

#include <gtest/gtest.h>

#include "proxy/ProbeProxy.h"
#include "tests/unit/ProbeFakes.h"

namespace {

using Calls = std::vector<std::string>;

const std::string kWorking = "\xD5\xFD\xB3\xA3";   // 正常
const std::string kTimedOut = "\xB3\xAC\xCA\xB1";  // 超时
const std::string kCancelling = "\xD5\xFD\xD4\xDA\xC8\xA1\xCF\xFB" "ip";  // 正在取消ip

void AddProxy(MemoryList& list, const std::string& ip, const std::string& port) {
  const int row = list.AppendRow(std::to_string(list.RowCount() + 1));
  list.SetCell(row, 2, ip);
  list.SetCell(row, 3, port);
}

TEST(SetProxyButton, AppliesTheBoxesAndProbesThroughThem) {
  struct Case {
    std::string ip, port, proxy;
  };
  for (const Case& c : {Case{"127.0.0.1", "3128", "127.0.0.1:3128"}, Case{"", "", ":"}, Case{"10.0.0.1", "", "10.0.0.1:"},
                        Case{" 1.2.3.4 ", "80", " 1.2.3.4 :80"}}) {
    ProbeBench bench;
    bench.window.进度条1.SetPosition(40);
    bench.window.编辑框1.SetText(c.ip);
    bench.window.编辑框2.SetText(c.port);
    AppContext app = bench.App();
    On按钮2Click(app);
    EXPECT_EQ(bench.window.进度条1.Position(), 0);
    EXPECT_EQ(bench.state.CurrentProxy, c.proxy);
    EXPECT_EQ(bench.proxySwitch.calls, Calls{"set " + c.proxy});
    ASSERT_EQ(bench.web.requests.size(), 1u);
    EXPECT_EQ(bench.web.requests[0].proxy, c.proxy);
  }
}

TEST(CancelProxyButton, SwitchesOffTwiceAndShowsTheDirectAddress) {
  ProbeBench bench;
  bench.state.CurrentProxy = "127.0.0.1:3128";
  bench.web.defaultBody = EchoPage("127.0.0.1", "x");
  AppContext app = bench.App();
  On按钮3Click(app);
  EXPECT_EQ(bench.state.CurrentProxy, "");
  EXPECT_EQ(bench.proxySwitch.calls, (Calls{"clear", "clear"}));
  EXPECT_EQ(bench.window.标签4.History().front(), kCancelling);
  EXPECT_NE(bench.window.标签4.Caption().find("127.0.0.1"), std::string::npos);
  ASSERT_EQ(bench.web.requests.size(), 1u);
  EXPECT_EQ(bench.web.requests[0].proxy, "");
}

TEST(ProxyListDoubleClick, CopiesAddressAndPortOfTheSelection) {
  ProbeBench bench;
  AddProxy(bench.window.超级列表框1, "1.1.1.1", "80");
  AddProxy(bench.window.超级列表框1, "2.2.2.2", "8080");
  AppContext app = bench.App();

  bench.window.超级列表框1.Select(1);
  On超级列表框1DoubleClick(app, 10, 20, 0);
  EXPECT_EQ(bench.window.编辑框1.GetText(), "2.2.2.2");
  EXPECT_EQ(bench.window.编辑框2.GetText(), "8080");
  EXPECT_TRUE(bench.proxySwitch.calls.empty()) << "a double-click applies nothing";
  EXPECT_TRUE(bench.web.requests.empty());

  bench.window.超级列表框1.Select(-1);  // below the last row
  On超级列表框1DoubleClick(app, 10, 300, 1);
  EXPECT_EQ(bench.window.编辑框1.GetText(), "");
  EXPECT_EQ(bench.window.编辑框2.GetText(), "");
}

TEST(VerifyAll, EmptyListOnlyResetsTheBar) {
  ProbeBench bench;
  bench.state.CurrentProxy = "9.9.9.9:1";
  AppContext app = bench.App();
  VerifyAll(app);
  EXPECT_EQ(bench.window.进度条1.Maximum(), 0);
  EXPECT_TRUE(bench.window.按钮5.IsEnabled());
  EXPECT_EQ(bench.state.CurrentProxy, "9.9.9.9:1");
  EXPECT_TRUE(bench.proxySwitch.calls.empty());
  EXPECT_TRUE(bench.web.requests.empty());
}

TEST(VerifyAll, LastRowTimedOutLeavesItsProxyApplied) {
  ProbeBench bench;
  MemoryList& list = bench.window.超级列表框1;
  AddProxy(list, "127.0.0.1", "3128");
  AddProxy(list, "127.0.0.1", "9");
  AddProxy(list, "127.0.0.3", "1");
  list.SetCell(2, 4, "old");
  list.SetCell(2, 5, "fast");
  list.SetCell(2, 7, "yesterday");
  bool buttonDisabledDuringRun = true;
  std::vector<int> positions;
  auto step = [&](ByteArray body) {
    return [&, body](const FetchArguments&) {
      buttonDisabledDuringRun = buttonDisabledDuringRun && !bench.window.按钮5.IsEnabled();
      positions.push_back(bench.window.进度条1.Position());
      return body;
    };
  };
  bench.web.steps = {step(EchoPage("127.0.0.2", "x")), step(""), step("")};
  AppContext app = bench.App();
  VerifyAll(app);

  EXPECT_EQ(list.GetCell(0, 4), kWorking);
  EXPECT_EQ(list.GetCell(1, 4), kTimedOut);
  EXPECT_EQ(list.GetCell(2, 4), kTimedOut);
  EXPECT_EQ(list.GetCell(2, 5), "fast");
  EXPECT_EQ(list.GetCell(2, 7), "yesterday");
  EXPECT_EQ(bench.proxySwitch.calls, (Calls{"set 127.0.0.1:3128", "set 127.0.0.1:9", "set 127.0.0.3:1"}));
  EXPECT_EQ(bench.state.CurrentProxy, "127.0.0.3:1");
  EXPECT_EQ(bench.window.编辑框1.GetText(), "127.0.0.3");
  EXPECT_EQ(bench.window.编辑框2.GetText(), "1");
  EXPECT_EQ(positions, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(bench.window.进度条1.Maximum(), 3);
  EXPECT_EQ(bench.window.进度条1.Position(), 3);
  EXPECT_TRUE(buttonDisabledDuringRun);
  EXPECT_TRUE(bench.window.按钮5.IsEnabled());
}

TEST(VerifyAll, BarStopsAtTheProgressControlLimit) {
  ProbeBench bench;
  MemoryList& list = bench.window.超级列表框1;
  for (int i = 0; i < 32770; ++i) list.AppendRow();
  AppContext app = bench.App();
  VerifyAll(app);
  EXPECT_EQ(bench.web.requests.size(), 32770u) << "every row is verified, not only the first 32767";
  EXPECT_EQ(bench.window.进度条1.Maximum(), 32767);
  EXPECT_EQ(bench.window.进度条1.Position(), 32767);
  EXPECT_EQ(list.GetCell(32769, 4), kTimedOut);
}

TEST(VerifyAll, SourceLoadedDuringTheRunReplacesTheRemainingRows) {
  ProbeBench bench;
  MemoryList& list = bench.window.超级列表框1;
  AddProxy(list, "1.1.1.1", "1");
  AddProxy(list, "2.2.2.2", "2");
  AddProxy(list, "3.3.3.3", "3");
  bench.web.defaultBody = EchoPage("1.1.1.1", "x");
  bench.web.steps = {nullptr, [&](const FetchArguments&) {
                       list.DeleteAllRows();  // what loading a source does to the list
                       AddProxy(list, "8.8.8.8", "8");
                       return ByteArray{};
                     }};
  AppContext app = bench.App();
  VerifyAll(app);

  EXPECT_EQ(bench.proxySwitch.calls, (Calls{"set 1.1.1.1:1", "set 2.2.2.2:2", "set :"}));
  EXPECT_EQ(bench.state.CurrentProxy, ":");
  ASSERT_EQ(list.RowCount(), 1);
  EXPECT_EQ(list.GetCell(0, 2), "8.8.8.8");
  EXPECT_EQ(list.GetCell(0, 4), "") << "the verdicts of the old rows must not land on the new ones";
  EXPECT_TRUE(bench.window.按钮5.IsEnabled());
}

TEST(VerifyAll, SetProxyPressedDuringTheRunIsOverwrittenByTheNextRow) {
  ProbeBench bench;
  MemoryList& list = bench.window.超级列表框1;
  AddProxy(list, "1.1.1.1", "1");
  AddProxy(list, "2.2.2.2", "2");
  AppContext app = bench.App();
  bench.web.steps = {[&](const FetchArguments&) {
    bench.window.编辑框1.SetText("5.5.5.5");
    bench.window.编辑框2.SetText("5");
    On按钮2Click(app);
    return ByteArray{};
  }};
  VerifyAll(app);
  EXPECT_EQ(bench.proxySwitch.calls, (Calls{"set 1.1.1.1:1", "set 5.5.5.5:5", "set 2.2.2.2:2"}));
  EXPECT_EQ(bench.state.CurrentProxy, "2.2.2.2:2");
  EXPECT_EQ(bench.window.进度条1.Position(), 2);
}

TEST(VerifyAll, WindowClosedDuringAWaitEndsTheRun) {
  ProbeBench bench;
  MemoryList& list = bench.window.超级列表框1;
  AddProxy(list, "1.1.1.1", "1");
  AddProxy(list, "2.2.2.2", "2");
  AddProxy(list, "3.3.3.3", "3");
  bench.web.steps = {nullptr, [&](const FetchArguments&) {
                       bench.state.ending = true;
                       return ByteArray{};
                     }};
  AppContext app = bench.App();
  VerifyAll(app);
  EXPECT_EQ(bench.web.requests.size(), 2u);
  EXPECT_EQ(bench.proxySwitch.calls.size(), 2u);
  EXPECT_EQ(list.GetCell(0, 4), kTimedOut);
  EXPECT_EQ(list.GetCell(1, 4), "");
  EXPECT_EQ(bench.window.进度条1.Position(), 2);
}

}  // namespace
