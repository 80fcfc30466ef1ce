// Two cutters take a shortcut for speed: the 纯真 pattern is searched only up to
// the last terminator of the page, and the ten port-digit replacements of
// 代理服务器网 run as one pass. Each must give exactly what the long way gives;
// the long ways are written out here as the reference and both are run on
// pages built from the pieces that could make them differ.
#include <gtest/gtest.h>

#include <boost/regex.hpp>

#include <cstdint>
#include <string>
#include <vector>

#include "sources/PageCutters.h"
#include "sources/text/GbkText.h"

namespace {

CutPage ChunzhenTheLongWay(std::string_view page) {
  CutPage cut;
  static const boost::regex pattern("    <tr><td>(.*?)</div></td></tr>\r\n", boost::regex::perl | boost::regex::mod_s);
  for (boost::cregex_iterator it(page.data(), page.data() + page.size(), pattern), last; it != last; ++it) {
    const TextArray fields = SplitText(it->str(1), "</td><td>");
    CutRow row;
    row.idFromPosition = true;
    if (fields.size() >= 5) row.cells.push_back({kColumnRegion, TextAfterLast(fields[4], ">")});
    const int columns[] = {kColumnIp, kColumnPort, kColumnType};
    for (std::size_t f = 0; f < 3 && f < fields.size(); ++f) row.cells.push_back({columns[f], fields[f]});
    cut.rows.push_back(row);
  }
  return cut;
}

CutPage DailiFuwuqiWangTheLongWay(std::string_view page) {
  std::string flat(page);
  const char* const chain[][2] = {
      {"<SCRIPT type=text/javascript>document.write(\":\"", "|"}, {")</SCRIPT>", ""}, {"</td><td>", "|"},
      {"</td></tr>", "|"}, {"+d", "0"}, {"+b", "1"}, {"+k", "2"}, {"+z", "3"}, {"+m", "4"},
      {"+x", "5"}, {"+w", "6"}, {"+i", "7"}, {"+q", "8"}, {"+l", "9"}};
  for (const auto& [sub, replacement] : chain) flat = ReplaceSubtext(flat, sub, replacement, true);
  CutPage cut;
  const TextArray pieces = SplitText(flat, "<tr><td>");
  for (std::size_t i = 2; i < pieces.size(); ++i) {
    const TextArray fields = SplitText(pieces[i], "|", 5);
    CutRow row;
    row.id = NumberToText(static_cast<long long>(i - 1));
    const int columns[] = {kColumnIp, kColumnPort, kColumnType, kColumnRegion, kColumnSpeed};
    const std::size_t fieldOf[] = {0, 1, 2, 4, 3};
    for (std::size_t c = 0; c < 5; ++c) {
      if (fieldOf[c] < fields.size()) row.cells.push_back({columns[c], fields[fieldOf[c]]});
    }
    cut.rows.push_back(row);
  }
  return cut;
}

void ExpectSameRows(const CutPage& expected, const CutPage& actual, const std::string& page) {
  ASSERT_EQ(expected.rows.size(), actual.rows.size()) << page;
  for (std::size_t r = 0; r < expected.rows.size(); ++r) {
    EXPECT_EQ(expected.rows[r].id, actual.rows[r].id) << page;
    EXPECT_EQ(expected.rows[r].idFromPosition, actual.rows[r].idFromPosition) << page;
    EXPECT_EQ(expected.rows[r].cells, actual.rows[r].cells) << "row " << r << " of " << page;
  }
}

// Pages strung together from pieces, the same sequence on every run.
std::vector<std::string> PagesFrom(const std::vector<std::string>& pieces, int count, int length) {
  std::uint32_t state = 12345;
  std::vector<std::string> pages;
  for (int p = 0; p < count; ++p) {
    std::string page;
    for (int i = 0; i < length; ++i) {
      state = state * 1103515245u + 12345u;
      page += pieces[(state >> 16) % pieces.size()];
    }
    pages.push_back(page);
  }
  return pages;
}

TEST(CutterShortcuts, ChunzhenRowsAreThePatternsMatches) {
  const std::vector<std::string> pages = {
      "    <tr><td>1.1.1.1</td><td>80</td><td>HTTP</td><td>a</td><td><div x>CN</div></td></tr>\r\n"
      "    <tr><td>2.2.2.2\r\n</td><td>81</div></td></tr>\r\n",
      "    <tr><td>no terminator after this opening",
      "</div></td></tr>\r\n    <tr><td>terminator only before",
      "    <tr><td>a    <tr><td>b</div></td></tr>\r\n",  // the first opening starts the match
      "    <tr><td></div></td></tr>\r\n",               // empty group
      "     <tr><td>x</div></td></tr>\r\n",             // five spaces: the match starts at the second
      "\xB0    <tr><td>x</div></td></tr>\r\n",         // a pattern matches bytes, trail or not
      "    <tr><td>x</div></td></tr>\r\n</div></td></tr>\r\n",
      std::string("    <tr><td>a\0b</div></td></tr>\r\n", 32),
  };
  for (const std::string& page : pages) ExpectSameRows(ChunzhenTheLongWay(page), CutChunzhen(page), page);
  for (const std::string& page :
       PagesFrom({"    <tr><td>", "</div></td></tr>\r\n", "</td><td>", "\r\n", " ", "\xB0", "x", ">", "</div>"}, 400, 24))
    ExpectSameRows(ChunzhenTheLongWay(page), CutChunzhen(page), page);
}

TEST(CutterShortcuts, DailiFuwuqiWangPortDigitsInOnePass) {
  const std::string header = "<tr><td>IP</td></tr>";
  const std::vector<std::string> pages = {
      header + "<tr><td>1.2.3.4<SCRIPT type=text/javascript>document.write(\":\"+d+b+k+z+m+x+w+i+q+l)</SCRIPT>"
               "</td><td>HTTP</td><td>fast</td><td>CN</td></tr>",
      header + "<tr><td>++d+</td></tr>",       // a '+' before a pair, a '+' at the end
      header + "<tr><td>\xB0+d\xB0\xB0+d</td></tr>",  // after a lead byte the '+' is a trail byte
      header + "<tr><td>+D+dd+a</td></tr>",    // case-sensitive; letters outside the table stay
      header + "<tr><td>+)</SCRIPT>d</td></tr>",      // a removal that makes a pair
      header + "<tr><td>\xB0)</SCRIPT>+d</td></tr>",  // a removal that makes the '+' a trail byte
  };
  for (const std::string& page : pages) ExpectSameRows(DailiFuwuqiWangTheLongWay(page), CutDailiFuwuqiWang(page), page);
  for (const std::string& page :
       PagesFrom({"+", "d", "l", "q", "D", "\xB0", "<tr><td>", "|", ")</SCRIPT>", "</td><td>", "</td></tr>",
                  "<SCRIPT type=text/javascript>document.write(\":\"", "x"},
                 400, 24))
    ExpectSameRows(DailiFuwuqiWangTheLongWay(page), CutDailiFuwuqiWang(page), page);
}

}  // namespace
