#include "proxy/ProbeProxy.h"

#include <gtest/gtest.h>

#include <climits>

#include "proxy/TimeLimit.h"
#include "tests/unit/ProbeFakes.h"

namespace {

const std::string kUpdating =
    "\xD5\xFD\xD4\xDA\xB8\xFC\xD0\xC2\xC4\xE3\xB5\xC4\xB5\xB1\xC7\xB0" "ip,"
    "\xC8\xE7\xCF\xD4\xCA\xBE\xC2\xD2\xC2\xEB\xBC\xB4\xB4\xCB" "ip"
    "\xB2\xBB\xBF\xC9\xD3\xC3" ".....";
const std::string kAddressLine = "\xC4\xE3\xB5\xB1\xC7\xB0\xCD\xE2\xCD\xF8" "ip" "\xCE\xAA:";  // 你当前外网ip为:
const std::string kFrom = " \xC0\xB4\xD7\xD4:";                                              // " 来自:"
const std::string kTimedOutLine =
    "\xB8\xC3\xB4\xFA\xC0\xED" "ip" "\xB2\xE2\xCA\xD4\xB3\xAC\xCA\xB1\xA3\xAC\xB2\xBB\xBF\xC9\xD3\xC3\xA3\xA1";
const std::string kWorking = "\xD5\xFD\xB3\xA3";   // 正常
const std::string kTimedOut = "\xB3\xAC\xCA\xB1";  // 超时

struct PageCase {
  const char* name;
  ByteArray body;
  std::string verdict;
  std::vector<std::string> captions;  // every caption 标签4 received, in order
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class ProbePages : public testing::TestWithParam<PageCase> {};

TEST_P(ProbePages, VerdictAndStatusLine) {
  ProbeBench bench;
  bench.web.defaultBody = GetParam().body;
  AppContext app = bench.App();
  EXPECT_EQ(ProbeProxy(app), GetParam().verdict);
  EXPECT_EQ(bench.window.标签4.History(), GetParam().captions);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ProbePages,
    testing::Values(
        PageCase{"BothMarkers", EchoPage("127.0.0.1", "\xE5\x8C\x97\xE4\xBA\xAC"), kWorking,
                 {kUpdating, kAddressLine + "127.0.0.1" + kFrom + "\xB1\xB1\xBE\xA9"}},
        PageCase{"NoMarkers", "<html>proxy error</html>", kWorking, {kUpdating, kAddressLine + kFrom}},
        PageCase{"OnlyLocation", "\xE6\x9D\xA5\xE8\x87\xAA:x&nbsp", kWorking, {kUpdating, kAddressLine + kFrom + "x"}},
        PageCase{"EmptyBody", "", kTimedOut, {kUpdating, kAddressLine + kFrom, kTimedOutLine}},
        PageCase{"GbkPageIsNotUtf8", "\xC4\xFA\xB5\xC4IP\xB5\xD8\xD6\xB7:1.2.3.4<", kTimedOut,
                 {kUpdating, kAddressLine + kFrom, kTimedOutLine}},
        PageCase{"CharacterGbkLacks", "\xF0\x9F\x98\x80", kTimedOut, {kUpdating, kAddressLine + kFrom, kTimedOutLine}},
        PageCase{"NulFirst", std::string("\0abc", 4), kTimedOut, {kUpdating, kAddressLine + kFrom, kTimedOutLine}},
        PageCase{"NulAfterAddress", "ok " + EchoPage("10.0.0.1", "y") + std::string("\0", 1) + "tail",
                 kWorking, {kUpdating, kAddressLine + "10.0.0.1" + kFrom + "y"}}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

TEST(ProbeProxy, AsksTheEchoPageThroughCurrentProxyWithTheTypedLimit) {
  ProbeBench bench;
  bench.state.CurrentProxy = "127.0.0.1:3128";
  bench.window.编辑框3.SetText("\xA3\xB1\xA3\xB0");  // full-width "１０"
  AppContext app = bench.App();
  ProbeProxy(app);
  ASSERT_EQ(bench.web.requests.size(), 1u);
  const FetchArguments& request = bench.web.requests[0];
  EXPECT_EQ(request.url, "http://127.0.0.17:8080/");
  EXPECT_EQ(request.verb, "GET");
  EXPECT_EQ(request.proxy, "127.0.0.1:3128");
  EXPECT_EQ(request.timeLimitSeconds, std::optional<int>(10));
  EXPECT_TRUE(request.userName.empty() && request.password.empty() && request.extraHeaders.empty() &&
              request.body.empty());
  EXPECT_EQ(request.responseHeaders, nullptr);
  EXPECT_EQ(request.progress, nullptr);
  EXPECT_TRUE(bench.proxySwitch.calls.empty()) << "a proxy is set: the switch stays as it is";
}

TEST(ProbeProxy, WithoutProxySwitchesTheSystemProxyOffBeforeFetching) {
  ProbeBench bench;
  bench.web.steps = {[&](const FetchArguments& request) {
    EXPECT_EQ(bench.proxySwitch.calls, std::vector<std::string>{"clear"});
    EXPECT_EQ(request.proxy, "");
    return ByteArray{};
  }};
  AppContext app = bench.App();
  ProbeProxy(app);
  EXPECT_EQ(bench.web.requests.size(), 1u);
}

TEST(ProbeProxy, PassesZeroAndNegativeLimitsUnchanged) {
  for (const auto& [typed, limit] : std::vector<std::pair<std::string, int>>{{"", 0}, {"abc", 0}, {"-3", -3}}) {
    ProbeBench bench;
    bench.window.编辑框3.SetText(typed);
    AppContext app = bench.App();
    ProbeProxy(app);
    ASSERT_EQ(bench.web.requests.size(), 1u);
    EXPECT_EQ(bench.web.requests[0].timeLimitSeconds, std::optional<int>(limit)) << typed;
  }
}

TEST(ProbeProxy, WindowClosedDuringTheWaitLeavesTheControlsAlone) {
  ProbeBench bench;
  bench.web.steps = {[&](const FetchArguments&) {
    bench.state.ending = true;
    return EchoPage("127.0.0.1", "x");
  }};
  AppContext app = bench.App();
  EXPECT_EQ(ProbeProxy(app), kTimedOut);
  EXPECT_EQ(bench.window.标签4.History(), std::vector<std::string>{kUpdating});
}

TEST(ProbeProxy, NestedProbeFinishesFirstAndTheOuterOneWritesLast) {
  ProbeBench bench;
  AppContext app = bench.App();
  bench.web.steps = {[&](const FetchArguments&) {
                       ProbeProxy(app);  // e.g. "取消代理" pressed during the wait
                       return EchoPage("127.0.0.2", "outer");
                     },
                     [&](const FetchArguments&) { return ByteArray{}; }};
  EXPECT_EQ(ProbeProxy(app), kWorking);
  EXPECT_EQ(bench.window.标签4.Caption(), kAddressLine + "127.0.0.2" + kFrom + "outer");
}

struct LimitCase {
  std::string typed;
  int limit;
};

TEST(ParseTimeLimit, ReadsLeadingDecimalNumber) {
  const std::vector<LimitCase> cases = {
      {"10", 10},
      {"\xA3\xB1\xA3\xB0", 10},                  // "１０"
      {"\xA1\xA1\xA3\xAB\xA3\xB7", 7},           // full-width blank, "＋７"
      {"\xA3\xAD\xA3\xB3", -3},                  // "－３"
      {"1\xA3\xB2" "3", 123},                    // mixed widths
      {" 7x", 7},
      {"\t\r\n 5", 5},
      {"-3", -3},
      {"+4", 4},
      {"", 0},
      {"abc", 0},
      {"-", 0},
      {"- 3", 0},
      {"3 4", 3},
      {"12.9", 12},
      {"\xD6\xD0" "5", 0},                       // a Chinese character first
      {"5\xD6\xD0", 5},
      {"\xA3", 0},                               // a lone lead byte
      {"2147483647", INT_MAX},
      {"2147483648", INT_MAX},
      {"99999999999999999999999", INT_MAX},
      {"-2147483648", INT_MIN},
      {"-99999999999999999999999", INT_MIN},
      {"0000000000000000000000000012", 12},
  };
  for (const LimitCase& c : cases) EXPECT_EQ(ParseTimeLimit(c.typed), c.limit) << '"' << c.typed << '"';
}

}  // namespace
