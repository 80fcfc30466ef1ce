// LoadSource over the in-memory main window: dispatch by key, the frame
// around a load, and what the parsers fetch.
#include "sources/LoadSource.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/MemoryControls.h"

namespace {

#define GBK_LOADING "\xD5\xFD\xD4\xDA\xBC\xD3\xD4\xD8\xC7\xEB\xC9\xD4\xBA\xF2..."  // 正在加载请稍候...
#define GBK_DONE "\xBC\xD3\xD4\xD8\xCD\xEA\xB1\xCF"                          // 加载完毕
#define GBK_ZUIHOU_GENGXIN "\xD7\xEE\xBA\xF3\xB8\xFC\xD0\xC2"                // 最后更新

const std::string kKeyChunzhen = "\xB4\xBF\xD5\xE6";                                      // 纯真
const std::string kKeyDailiZhongguo = "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA";                 // 代理中国
const std::string kKeyDailiFuwuqiWang = "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8";  // 代理服务器网
const std::string kKeyHuixun = "\xBB\xE1\xD1\xB0";                                        // 会寻

// Answers every fetch from a table of pages by URL and records each call as
// "fetch <url>" or "download <url>".
class PageWeb : public WebAccess {
 public:
  ByteArray FetchWithTimeout(const FetchArguments& arguments) override {
    calls.push_back("fetch " + arguments.url);
    fetches.push_back(arguments);
    if (duringFetch) duringFetch();
    return Page(arguments.url);
  }
  ByteArray DownloadPage(std::string_view url) override {
    calls.push_back("download " + std::string(url));
    return Page(std::string(url));
  }

  std::map<std::string, ByteArray> pages;
  std::vector<std::string> calls;
  std::vector<FetchArguments> fetches;
  std::function<void()> duringFetch;

 private:
  ByteArray Page(const std::string& url) const {
    const auto found = pages.find(url);
    return found == pages.end() ? ByteArray() : found->second;
  }
};

class CountingSwitch : public SystemProxySwitch {
 public:
  void SetSystemProxy(const std::string&) override { ++sets; }
  void ClearSystemProxy() override {
    ++clears;
    if (onClear) onClear();
  }

  int sets = 0;
  int clears = 0;
  std::function<void()> onClear;
};

class LoadSourceTest : public testing::Test {
 protected:
  LoadSourceTest() {
    hosts.pubcc = "pubcc.test:81";
    hosts.huixun = "huixun.test";
  }

  // Adds a source row and selects it.
  void SelectSource(const std::string& url, const std::string& key) {
    const int row = window.超级列表框2.AppendRow("1");
    window.超级列表框2.SetCell(row, 1, "name");
    window.超级列表框2.SetCell(row, 2, url);
    window.超级列表框2.SetCell(row, 3, key);
    window.超级列表框2.Select(row);
  }

  void Load() {
    AppContext app{controls, state, web, proxySwitch, hosts};
    LoadSource(app);
  }

  std::vector<std::string> ProxyRow(int row) const {
    std::vector<std::string> cells;
    for (int c = 0; c < 8; ++c) cells.push_back(window.超级列表框1.GetCell(row, c));
    return cells;
  }

  MemoryMainWindow window;
  MainControls controls = window.Controls();
  ProgramState state;
  PageWeb web;
  CountingSwitch proxySwitch;
  SiteHosts hosts;
};

struct DispatchCase {
  const char* name;
  std::string key;
  std::vector<std::string> calls;  // what the parser fetched
  std::string page;                // served at the fetched address
  std::string timeCaption;
  std::vector<std::string> firstRow;
};

class LoadSourceDispatch : public LoadSourceTest, public testing::WithParamInterface<DispatchCase> {};

TEST_P(LoadSourceDispatch, RunsTheParserTheKeyNames) {
  const DispatchCase& c = GetParam();
  SelectSource("http://site.test/list.html", c.key);
  if (!c.calls.empty()) web.pages[c.calls[0].substr(c.calls[0].find(' ') + 1)] = c.page;
  window.超级列表框1.AppendRow("stale");
  window.时间.SetCaption("stale");

  Load();

  EXPECT_EQ(web.calls, c.calls);
  EXPECT_EQ(window.时间.Caption(), c.timeCaption);
  if (c.firstRow.empty()) {
    EXPECT_EQ(window.超级列表框1.RowCount(), 0);
  } else {
    ASSERT_GE(window.超级列表框1.RowCount(), 1);
    EXPECT_EQ(ProxyRow(0), c.firstRow);
  }
  EXPECT_EQ(window.ts.History(), (std::vector<std::string>{GBK_LOADING, GBK_DONE}));
  EXPECT_TRUE(window.超级列表框2.IsEnabled());
  EXPECT_EQ(proxySwitch.clears, 1);
  EXPECT_EQ(proxySwitch.sets, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, LoadSourceDispatch,
    testing::Values(
        // UTF-8 page: 广东 in the region cell arrives as GBK.
        DispatchCase{"FiveU", "5u", {"fetch http://site.test/list.html"},
                     "(\xE6\x9B\xB4\xE6\x96\xB0:26-12-11 09:30)</span><br/><th>\xE5\x9B\xBD\xE5\xAE\xB6</th></tr>"
                     "<tr><td>1.2.3.4</td><td width=\"60\">80</td><td width=\"60\">\xE5\xB9\xBF\xE4\xB8\x9C</td>"
                     "</tr></table><div class=\"foot\">",
                     GBK_ZUIHOU_GENGXIN ":2026-12-11 09:30", {"3", "\xB9\xE3\xB6\xAB", "1.2.3.4", "80", "", "", "", ""}},
        // One character GBK cannot spell empties the whole page.
        DispatchCase{"FiveUEmojiPage", "5u", {"fetch http://site.test/list.html"},
                     "<th>\xE5\x9B\xBD\xE5\xAE\xB6</th></tr><tr><td>1.2.3.4</td><td width=\"60\">80</td></tr>"
                     "\xF0\x9F\x98\x80<div class=",
                     GBK_ZUIHOU_GENGXIN ":20", {}},
        DispatchCase{"Chunzhen", kKeyChunzhen, {"download http://site.test/list.html"},
                     "    <tr><td>1.2.3.4</td><td>80</td><td>HTTP</td><td>a</td><td><b>CN</div></td></tr>\r\n",
                     GBK_ZUIHOU_GENGXIN ":", {"0", "CN", "1.2.3.4", "80", "", "", "HTTP", ""}},
        DispatchCase{"DailiZhongguo", kKeyDailiZhongguo, {"download http://site.test/list.html"},
                     "<SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\ndocument.write(\"1.2.3.4|80|HTTP|CN|t|0.5|x", "",
                     {"1", "CN", "1.2.3.4", "80", "", "0.5", "HTTP", "t"}},
        DispatchCase{"DailiFuwuqiWang", kKeyDailiFuwuqiWang, {"download http://site.test/list.html"},
                     "<tr><td>head<tr><td>1.2.3.4|80|HTTP|fast|CN|", "",
                     {"1", "CN", "1.2.3.4", "80", "", "fast", "HTTP", ""}},
        // pubcc and 会寻 fetch their own fixed addresses, whatever the row says.
        DispatchCase{"Pubcc", "pubcc", {"download http://pubcc.test:81/"},
                     "<li><a href=\"#\" title=\"Http anonymous proxy\">1.2.3.4:80</a></li><p>Last update: x</p>",
                     GBK_ZUIHOU_GENGXIN "\xCA\xB1\xBC\xE4\xA3\xBAx", {"1", "", "1.2.3.4", "80", "", "", "", ""}},
        DispatchCase{"Huixun", kKeyHuixun, {"download http://huixun.test/proxy/today.txt"}, "1.2.3.4:80\r\n5.6.7.8:81",
                     "", {"1", "", "1.2.3.4", "80", "", "", "", ""}},
        DispatchCase{"FailedDownload", kKeyHuixun, {"download http://huixun.test/proxy/today.txt"}, "", "", {}},
        // Keys compare byte for byte: letter case counts and nothing is trimmed.
        DispatchCase{"KeyOtherCase", "5U", {}, "", "", {}},
        DispatchCase{"KeyWithBlank", "pubcc ", {}, "", "", {}},
        DispatchCase{"EmptyKey", "", {}, "", "", {}}),
    [](const testing::TestParamInfo<DispatchCase>& info) { return std::string(info.param.name); });

TEST_F(LoadSourceTest, FiveUFetchesDirectWithTenSeconds) {
  SelectSource("http://5u.test/http_fast.html", "5u");
  Load();
  ASSERT_EQ(web.fetches.size(), 1u);
  EXPECT_EQ(web.fetches[0].verb, "GET");
  EXPECT_EQ(web.fetches[0].timeLimitSeconds, 10);
  EXPECT_EQ(web.fetches[0].proxy, "");
}

TEST_F(LoadSourceTest, NoSelectionEmptiesListAndClearsProxy) {
  SelectSource("http://site.test/", "5u");
  window.超级列表框2.Select(-1);
  window.超级列表框1.AppendRow("stale");
  Load();
  EXPECT_TRUE(web.calls.empty());
  EXPECT_EQ(window.超级列表框1.RowCount(), 0);
  EXPECT_EQ(proxySwitch.clears, 1);
  EXPECT_EQ(window.ts.Caption(), GBK_DONE);
  EXPECT_TRUE(window.超级列表框2.IsEnabled());
}

TEST_F(LoadSourceTest, ProxyIsClearedAfterListEmptiedAndSourcesDisabled) {
  SelectSource("http://site.test/", kKeyHuixun);
  window.超级列表框1.AppendRow("stale");
  bool checked = false;
  proxySwitch.onClear = [&] {
    checked = true;
    EXPECT_EQ(window.超级列表框1.RowCount(), 0);
    EXPECT_FALSE(window.超级列表框2.IsEnabled());
    EXPECT_EQ(window.ts.Caption(), GBK_LOADING);
    EXPECT_EQ(window.时间.Caption(), "");
    EXPECT_TRUE(web.calls.empty());
  };
  Load();
  EXPECT_TRUE(checked);
}

TEST_F(LoadSourceTest, SourceListDisabledWhileFiveUWaits) {
  SelectSource("http://5u.test/x", "5u");
  bool checked = false;
  web.duringFetch = [&] {
    checked = true;
    EXPECT_FALSE(window.超级列表框2.IsEnabled());
    EXPECT_EQ(window.ts.Caption(), GBK_LOADING);
  };
  Load();
  EXPECT_TRUE(checked);
  EXPECT_TRUE(window.超级列表框2.IsEnabled());
}

TEST_F(LoadSourceTest, WindowClosedDuringFiveUWaitTouchesNothingAfter) {
  SelectSource("http://5u.test/x", "5u");
  web.pages["http://5u.test/x"] =
      "<th>\xE5\x9B\xBD\xE5\xAE\xB6</th></tr><tr><td>1.2.3.4</td><td width=\"60\">80</td></tr><div class=";
  web.duringFetch = [&] { state.ending = true; };
  Load();
  EXPECT_EQ(window.超级列表框1.RowCount(), 0);
  EXPECT_EQ(window.时间.History(), (std::vector<std::string>{""}));
  EXPECT_EQ(window.ts.History(), (std::vector<std::string>{GBK_LOADING}));
  EXPECT_FALSE(window.超级列表框2.IsEnabled());
}

TEST_F(LoadSourceTest, LoadingAgainRefillsTheList) {
  SelectSource("http://site.test/", kKeyHuixun);
  web.pages["http://huixun.test/proxy/today.txt"] = "1.2.3.4:80\r\n5.6.7.8:81\r\n";
  Load();
  Load();
  EXPECT_EQ(window.超级列表框1.RowCount(), 2);
  EXPECT_EQ(proxySwitch.clears, 2);
}

}  // namespace
