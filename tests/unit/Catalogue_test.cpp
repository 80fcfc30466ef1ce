#include "sources/Catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/MemoryControls.h"

namespace {

// Every site on its own host, one with a port, so a URL built from the wrong
// site or without its port shows.
const SiteHosts kHosts{"five-u.test", "pubcc.test:8080", "huixun.test", "chunzhen.test",
                       "dailizhongguo.test", "dailifuwuqiwang.test", "ipecho.test", "http://home.test/"};

constexpr const char k5u[] = "5u";
constexpr const char kPubcc[] = "pubcc";
constexpr const char kHuixun[] = "\xBB\xE1\xD1\xB0";                              // 会寻
constexpr const char kChunzhen[] = "\xB4\xBF\xD5\xE6";                            // 纯真
constexpr const char kDailiZhongguo[] = "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA";          // 代理中国
constexpr const char kDailiFuwuqiWang[] = "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8";  // 代理服务器网

MemoryList FilledList() {
  MemoryList list(4);
  FillSourceList(list, kHosts);
  return list;
}

TEST(Catalogue, FillsFortyOneRowsWithIdsInOrder) {
  const MemoryList list = FilledList();
  ASSERT_EQ(list.RowCount(), 41);
  for (int row = 0; row < 41; ++row) EXPECT_EQ(list.GetCell(row, 0), std::to_string(row + 1));
}

TEST(Catalogue, RowsCarryNameUrlAndKey) {
  struct Case {
    int id;
    const char* name;
    std::string SiteHosts::*host;
    const char* path;
    const char* key;
  };
  const Case cases[] = {
      {1, "\xD7\xEE\xBF\xECHTTP\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7", &SiteHosts::fiveU, "/http_fast.html", "5u"},  // 最快HTTP代理服务器
      {4, "SOCKS5\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7", &SiteHosts::fiveU, "/socks5.html", "5u"},  // SOCKS5代理服务器
      {5, "\xC3\xBF\xD0\xA1\xCA\xB1\xD2\xBB\xB8\xFC\xD0\xC2", &SiteHosts::pubcc, "/", "pubcc"},  // 每小时一更新
      {6, "\xBB\xE1\xD1\xB0\xBD\xF1\xC8\xD5\xB4\xFA\xC0\xED", &SiteHosts::huixun, "/proxy/today.txt", "\xBB\xE1\xD1\xB0"},  // 会寻今日代理
      {7, "\xB4\xBF\xD5\xE6\xD7\xEE\xD0\xC2\xB4\xFA\xC0\xED" "1", &SiteHosts::chunzhen, "/proxy/index.shtml", "\xB4\xBF\xD5\xE6"},  // 纯真最新代理1
      {16, "\xB4\xBF\xD5\xE6\xD7\xEE\xD0\xC2\xB4\xFA\xC0\xED" "10", &SiteHosts::chunzhen, "/proxy/http_10.shtml", "\xB4\xBF\xD5\xE6"},  // 纯真最新代理10
      {17, "\xB4\xBF\xD5\xE6\xD7\xEE\xD0\xC2\xB4\xFA\xC0\xEDsocks1", &SiteHosts::chunzhen, "/proxy/socks4.shtml", "\xB4\xBF\xD5\xE6"},  // 纯真最新代理socks1
      {19, "\xB4\xBF\xD5\xE6\xD7\xEE\xD0\xC2\xB4\xFA\xC0\xEDsocks3", &SiteHosts::chunzhen, "/proxy/socks4_3.shtml", "\xB4\xBF\xD5\xE6"},  // 纯真最新代理socks3
      {20, "\xBD\xF1\xC8\xD5\xD7\xEE\xD0\xC2\xD7\xEE\xBF\xEC" "50\xB8\xF6HTTP\xB4\xFA\xC0\xED\xC1\xD0\xB1\xED", &SiteHosts::dailiZhongguo, "/html_proxy/30fastproxy-1.html", "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA"},  // 今日最新最快50个HTTP代理列表
      {21, "\xBD\xF1\xC8\xD5\xD7\xEE\xD0\xC2\xB8\xDF\xCB\xD9" "100\xB8\xF6HTTP\xB4\xFA\xC0\xED\xC1\xD0\xB1\xED", &SiteHosts::dailiZhongguo, "/html_proxy/http-1.html", "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA"},  // 今日最新高速100个HTTP代理列表
      {31, "\xBD\xF1\xC8\xD5\xD7\xEE\xD0\xC2\xB4\xFA\xC0\xED\xC1\xD0\xB1\xED-\xCC\xA8\xCD\xE5", &SiteHosts::dailiZhongguo, "/html_proxy/countryTW-1.html", "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA"},  // 今日最新代理列表-台湾
      {32, "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8" "1-HTTP", &SiteHosts::dailiFuwuqiWang, "/proxy1.html", "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8"},  // 代理服务器网1-HTTP
      {41, "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8" "10-HTTP", &SiteHosts::dailiFuwuqiWang, "/proxy10.html", "\xB4\xFA\xC0\xED\xB7\xFE\xCE\xF1\xC6\xF7\xCD\xF8"},  // 代理服务器网10-HTTP
  };
  const MemoryList list = FilledList();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    const int row = c.id - 1;
    EXPECT_EQ(list.GetCell(row, 1), c.name);
    EXPECT_EQ(list.GetCell(row, 2), "http://" + kHosts.*c.host + c.path);
    EXPECT_EQ(list.GetCell(row, 3), c.key);
  }
}

TEST(Catalogue, EachSiteHasItsPagesAndItsParserKey) {
  const std::map<std::string, std::pair<std::string, int>> expected{
      {k5u, {kHosts.fiveU, 4}},
      {kPubcc, {kHosts.pubcc, 1}},
      {kHuixun, {kHosts.huixun, 1}},
      {kChunzhen, {kHosts.chunzhen, 13}},
      {kDailiZhongguo, {kHosts.dailiZhongguo, 12}},
      {kDailiFuwuqiWang, {kHosts.dailiFuwuqiWang, 10}},
  };
  const MemoryList list = FilledList();
  std::map<std::string, int> counts;
  for (int row = 0; row < list.RowCount(); ++row) {
    const std::string key = list.GetCell(row, 3);
    ASSERT_TRUE(expected.contains(key)) << "row " << row + 1;
    const std::string prefix = "http://" + expected.at(key).first + "/";
    EXPECT_EQ(list.GetCell(row, 2).substr(0, prefix.size()), prefix) << "row " << row + 1;
    ++counts[key];
  }
  for (const auto& [key, site] : expected) EXPECT_EQ(counts[key], site.second) << key;
}

TEST(Catalogue, AddSourceNumbersFromTheRowPositionAndKeepsEmptyTexts) {
  MemoryList list(4);
  list.AppendRow("x");
  AddSource(list, {}, {}, {});
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.GetCell(1, 0), "2");
  for (int column = 1; column < 4; ++column) EXPECT_EQ(list.GetCell(1, column), "");
}

}  // namespace
