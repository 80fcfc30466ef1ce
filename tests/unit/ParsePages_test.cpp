// The page cutters of the six sites, and applying their result to the list.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/MemoryControls.h"
#include "sources/PageCutters.h"
#include "sources/Parsers.h"

namespace {

using Row = std::vector<std::string>;  // the eight cells of a proxy row

// GBK texts used below.
#define GBK_GUOJIA "\xB9\xFA\xBC\xD2"                        // 国家
#define GBK_ZUIHOU_GENGXIN "\xD7\xEE\xBA\xF3\xB8\xFC\xD0\xC2"  // 最后更新
#define GBK_FABU_RIQI "\xB7\xA2\xB2\xBC\xC8\xD5\xC6\xDA\xA3\xBA"  // 发布日期：
#define GBK_SHIJIAN "\xCA\xB1\xBC\xE4\xA3\xBA"                // 时间：
#define GBK_LEIXING "\xC0\xE0\xD0\xCD"                        // 类型

struct Shown {
  std::string caption;
  std::vector<Row> rows;
};

Shown Show(const CutPage& cut) {
  MemoryCaption caption;
  MemoryList list(8);
  ApplyCutPage(cut, caption, list);
  Shown shown{caption.Caption(), {}};
  for (int r = 0; r < list.RowCount(); ++r) {
    Row row;
    for (int c = 0; c < 8; ++c) row.push_back(list.GetCell(r, c));
    shown.rows.push_back(row);
  }
  return shown;
}

std::string ReadFixture(const std::string& name) {
  std::string path = std::string(PROXYSWITCHER_FIXTURES_DIR) + "/pages/" + name;
#ifdef _WIN32
  path = "Z:" + path;  // Wine maps the Unix root to drive Z:
#endif
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<int> Columns(const CutRow& row) {
  std::vector<int> columns;
  for (const CellWrite& cell : row.cells) columns.push_back(cell.column);
  return columns;
}

// ---- worked examples and edge cases, one table for all six sites

using Cutter = CutPage (*)(std::string_view);

struct PageCase {
  const char* name;
  Cutter cut;
  std::string page;
  std::string caption;
  std::vector<Row> rows;
};

const std::string kTableOf5u = "<th>" GBK_GUOJIA "</th>";
const std::string kZhongguoOpen = "<SCRIPT LANGUAGE=\"JavaScript\">\r\n<!--\r\ndocument.write(\"";
const std::string kZhongguoRow =
    kZhongguoOpen +
    "1.2.3\");\r\ndocument.write(\".4\");\r\n//--></SCRIPT></TD><TD class=\"list\">8080</TD><TD class=\"list\">HTTP"
    "</TD><TD class=\"list\">CN</TD><TD class=\"list\">12-01 10:00</TD><TD class=\"list\">0.5</TD><TD "
    "class=\"list\">x</TD></TR>";
const std::string kFuwuqiHeader = "<table><tr><td>IP</td><td>" GBK_LEIXING "</td></tr>";
const std::string kCaption5u = GBK_ZUIHOU_GENGXIN ":20";
const std::string kCaptionChunzhen = GBK_ZUIHOU_GENGXIN ":";
const std::string kCaptionPubcc = GBK_ZUIHOU_GENGXIN GBK_SHIJIAN;

class PageCutting : public testing::TestWithParam<PageCase> {};

TEST_P(PageCutting, ShowsCaptionAndRows) {
  const PageCase& c = GetParam();
  const Shown shown = Show(c.cut(c.page));
  EXPECT_EQ(shown.caption, c.caption);
  EXPECT_EQ(shown.rows, c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PageCutting,
    testing::Values(
        // 5u: piece 1 is empty, piece 2 carries the row, piece 3 has no plain <td>.
        PageCase{"FiveUPieceNumbersPlusOne", Cut5u,
                 kTableOf5u + "</tr><tr><td>1.2.3.4</td><td width=\"60\">8080</td><td width=\"60\">CN</td></tr>"
                              "</table><div class=x>",
                 kCaption5u, {{"3", "CN", "1.2.3.4", "8080", "", "", "", ""}}},
        PageCase{"FiveUOneWidthCellIsPortAndRegion", Cut5u,
                 kTableOf5u + "</tr><tr><td>1.2.3.4</td><td width=\"60\">8080</td></tr><div class=x>", kCaption5u,
                 {{"3", "8080", "1.2.3.4", "8080", "", "", "", ""}}},
        PageCase{"FiveUCaptionFromUpdateMarker", Cut5u,
                 "(\xB8\xFC\xD0\xC2:26-12-11 09:30)</span><br/>", kCaption5u + "26-12-11 09:30", {}},
        PageCase{"FiveUWithoutClosingDivHasNoTable", Cut5u,
                 kTableOf5u + "</tr><tr><td>1.2.3.4</td><td width=\"60\">8080</td></tr>", kCaption5u, {}},
        PageCase{"FiveUEmptyPage", Cut5u, "", kCaption5u, {}},

        PageCase{"ChunzhenIdsFromZeroRegionAfterLastBracket", CutChunzhen,
                 "    <tr><td>1.1.1.1</td><td>80</td><td>HTTP</td><td>a</td><td><div class=x>CN</div></td></tr>\r\n"
                 "    <tr><td>2.2.2.2</td><td>81</td><td>SOCKS</td><td>a</td><td>US</div></td></tr>\r\n",
                 kCaptionChunzhen,
                 {{"0", "CN", "1.1.1.1", "80", "", "", "HTTP", ""}, {"1", "", "2.2.2.2", "81", "", "", "SOCKS", ""}}},
        PageCase{"ChunzhenCaption", CutChunzhen,
                 "x" GBK_FABU_RIQI "2026-12-11&nbsp;&nbsp;", kCaptionChunzhen + "2026-12-11", {}},
        // '.' takes CR and LF: one record spans lines; the lazy group ends at the first terminator.
        PageCase{"ChunzhenMatchSpansLines", CutChunzhen,
                 "    <tr><td>1.1.1.1</td><td>80\r\n</td><td>HTTP</td><td>a</td><td>\n<b>CN</div></td></tr>\r\n"
                 "tail</div></td></tr>\r\n",
                 kCaptionChunzhen, {{"0", "CN", "1.1.1.1", "80\r\n", "", "", "HTTP", ""}}},
        PageCase{"ChunzhenNeedsFourSpacesAndCrLf", CutChunzhen,
                 "   <tr><td>1.1.1.1</div></td></tr>\r\n    <tr><td>2.2.2.2</div></td></tr>\n", kCaptionChunzhen, {}},
        // A short record keeps the row and the cells it has.
        PageCase{"ChunzhenShortRecord", CutChunzhen, "    <tr><td>1.1.1.1</td><td>80</div></td></tr>\r\n",
                 kCaptionChunzhen, {{"0", "", "1.1.1.1", "80", "", "", "", ""}}},

        PageCase{"PubccItems", CutPubcc,
                 "<ul><li><a href=\"#\" title=\"Http anonymous proxy 1.2.3.4:80\">1.2.3.4:80</a></li>"
                 "<li><a href=\"#\" title=\"Http anonymous proxy 5.6.7.8:3128\">5.6.7.8:3128:x</a></li></ul>"
                 "<p>Last update: 2026-12-11</p>",
                 kCaptionPubcc + "2026-12-11",
                 {{"1", "", "1.2.3.4", "80", "", "", "", ""}, {"2", "", "5.6.7.8", "3128", "", "", "", ""}}},
        PageCase{"PubccWithoutItemsStillSetsCaption", CutPubcc, "<p>Last update: x</p>", kCaptionPubcc + "x", {}},
        PageCase{"PubccItemWithoutColon", CutPubcc,
                 "<li><a href=\"#\" title=\"Http anonymous proxy\">1.2.3.4</a></li>", kCaptionPubcc,
                 {{"1", "", "1.2.3.4", "", "", "", "", ""}}},

        PageCase{"HuixunTwoLines", CutHuixun, "1.2.3.4:80\r\n5.6.7.8:3128", "",
                 {{"1", "", "1.2.3.4", "80", "", "", "", ""}, {"2", "", "5.6.7.8", "3128", "", "", "", ""}}},
        PageCase{"HuixunOneLineGivesNone", CutHuixun, "1.2.3.4:80", "", {}},
        PageCase{"HuixunOneLineWithCrLfGivesNone", CutHuixun, "1.2.3.4:80\r\n", "", {}},
        PageCase{"HuixunKeepsBlanks", CutHuixun, "1.2.3.4:80 \r\n5.6.7.8:81\r\n", "",
                 {{"1", "", "1.2.3.4", "80 ", "", "", "", ""}, {"2", "", "5.6.7.8", "81", "", "", "", ""}}},
        // A line without ':' and an empty line keep their rows, with what they have.
        PageCase{"HuixunShortLines", CutHuixun, "junk\r\n\r\n5.6.7.8:81", "",
                 {{"1", "", "junk", "", "", "", "", ""},
                  {"2", "", "", "", "", "", "", ""},
                  {"3", "", "5.6.7.8", "81", "", "", "", ""}}},

        PageCase{"DailiZhongguoScriptAddress", CutDailiZhongguo, "<TABLE>" + kZhongguoRow, "",
                 {{"1", "CN", "1.2.3.4", "8080", "", "0.5", "HTTP", "12-01 10:00"}}},
        PageCase{"DailiZhongguoDropsProxyCnEverywhere", CutDailiZhongguo,
                 "ProxyCN" + kZhongguoOpen + "1.2.3.4|80|HTTP|ProxyCNCN|t|1|x" + kZhongguoOpen + "5.6.7.8|81", "",
                 {{"1", "CN", "1.2.3.4", "80", "", "1", "HTTP", "t"}, {"2", "", "5.6.7.8", "81", "", "", "", ""}}},
        PageCase{"DailiZhongguoNoRowOpening", CutDailiZhongguo, "<TABLE>1|2|3</TABLE>", "", {}},

        PageCase{"DailiFuwuqiWangScriptPort", CutDailiFuwuqiWang,
                 kFuwuqiHeader +
                     "<tr><td>1.2.3.4<SCRIPT type=text/javascript>document.write(\":\"+z+m+d+d)</SCRIPT></td><td>"
                     "HTTP</td><td>fast</td><td>CN</td></tr></table>",
                 "", {{"1", "CN", "1.2.3.4", "3400", "", "fast", "HTTP", ""}}},
        PageCase{"DailiFuwuqiWangAllDigitLetters", CutDailiFuwuqiWang,
                 kFuwuqiHeader + "<tr><td>h|+d+b+k+z+m+x+w+i+q+l|t|s|r</td></tr>", "",
                 {{"1", "r", "h", "0123456789", "", "s", "t", ""}}},
        PageCase{"DailiFuwuqiWangKeepsFirstFiveFields", CutDailiFuwuqiWang,
                 kFuwuqiHeader + "<tr><td>a|b|c|d|e|f|g", "", {{"1", "e", "a", "b", "", "d", "c", ""}}},
        // 0x81 0x7C is one GBK character whose trail byte equals '|'.
        PageCase{"DailiFuwuqiWangTrailBytePipeStaysInField", CutDailiFuwuqiWang,
                 kFuwuqiHeader + "<tr><td>1.2.3.4|80|HTTP|x\x81\x7Cy|CN\x81\x7C|", "",
                 {{"1", "CN\x81\x7C", "1.2.3.4", "80", "", "x\x81\x7Cy", "HTTP", ""}}},
        PageCase{"DailiFuwuqiWangSingleRowOpeningGivesNone", CutDailiFuwuqiWang, "<tr><td>1.2.3.4|80|H|s|CN", "", {}},
        PageCase{"DailiFuwuqiWangShortRecord", CutDailiFuwuqiWang,
                 kFuwuqiHeader + "<tr><td>1.2.3.4|80<tr><td>5.6.7.8|81|H|s|CN|", "",
                 {{"1", "", "1.2.3.4", "80", "", "", "", ""}, {"2", "CN", "5.6.7.8", "81", "", "s", "H", ""}}}),
    [](const testing::TestParamInfo<PageCase>& info) { return std::string(info.param.name); });

// ---- the order in which each site writes its cells (after the ID)

TEST(PageCutting, CellsAreWrittenInTheirSitesOrder) {
  const std::string fiveU = kTableOf5u + "</tr><tr><td>i</td><td width=\"60\">p</td></tr><div class=";
  EXPECT_EQ(Columns(Cut5u(fiveU).rows.at(0)), (std::vector<int>{2, 3, 1}));
  EXPECT_EQ(Columns(CutChunzhen("    <tr><td>a</td><td>b</td><td>c</td><td>d</td><td>e</div></td></tr>\r\n").rows.at(0)),
            (std::vector<int>{1, 2, 3, 6}));
  EXPECT_EQ(Columns(CutPubcc("<li><a href=\"#\" title=\"Http anonymous proxy\">a:b</a></li>").rows.at(0)),
            (std::vector<int>{2, 3}));
  EXPECT_EQ(Columns(CutHuixun("a:b\r\nc:d").rows.at(0)), (std::vector<int>{2, 3}));
  EXPECT_EQ(Columns(CutDailiZhongguo(kZhongguoRow).rows.at(0)), (std::vector<int>{2, 3, 6, 1, 5, 7}));
  EXPECT_EQ(Columns(CutDailiFuwuqiWang(kFuwuqiHeader + "<tr><td>a|b|c|d|e").rows.at(0)),
            (std::vector<int>{2, 3, 6, 1, 5}));
}

// ---- a failed download gives an empty page: prefixes only, no rows

TEST(PageCutting, EmptyPageGivesCaptionPrefixAndNoRows) {
  const struct {
    Cutter cut;
    bool hasCaption;
    std::string caption;
  } cases[] = {{Cut5u, true, kCaption5u},         {CutChunzhen, true, kCaptionChunzhen},
               {CutPubcc, true, kCaptionPubcc},   {CutHuixun, false, ""},
               {CutDailiZhongguo, false, ""},     {CutDailiFuwuqiWang, false, ""}};
  for (const auto& c : cases) {
    const CutPage cut = c.cut("");
    EXPECT_EQ(cut.hasCaption, c.hasCaption) << c.caption;
    EXPECT_EQ(cut.caption, c.caption);
    EXPECT_TRUE(cut.rows.empty()) << c.caption;
  }
}

// ---- the 纯真 pattern over pages that make a lazy group work hard

TEST(ChunzhenPattern, UnterminatedHugeTailKeepsRowsFound) {
  std::string page = "    <tr><td>1.1.1.1</td><td>80</div></td></tr>\r\n";
  for (int i = 0; i < 200000; ++i) page += "    <tr><td>x</td><td>";
  const CutPage cut = CutChunzhen(page);
  ASSERT_GE(cut.rows.size(), 1u);
  EXPECT_EQ(Show(cut).rows.at(0).at(2), "1.1.1.1");
}

TEST(ChunzhenPattern, MatchesDoNotOverlap) {
  const std::string page =
      "    <tr><td>a</div></td></tr>\r\n    <tr><td>b</div></td></tr>\r\n</div></td></tr>\r\n";
  const Shown shown = Show(CutChunzhen(page));
  ASSERT_EQ(shown.rows.size(), 2u);
  EXPECT_EQ(shown.rows[0][2], "a");
  EXPECT_EQ(shown.rows[1][2], "b");
}

// ---- IDs that come from the row's position in the list

TEST(ApplyCutPage, PositionIdsCountRowsAlreadyInTheList) {
  MemoryCaption caption;
  MemoryList list(8);
  list.AppendRow("old");
  ApplyCutPage(CutPubcc("<li><a href=\"#\" title=\"Http anonymous proxy\">a:b</a></li>"), caption, list);
  ASSERT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.GetCell(0, 0), "old");
  EXPECT_EQ(list.GetCell(1, 0), "2");
}

// ---- whole pages as the sites serve them

struct WholePage {
  const char* name;
  Cutter cut;
  const char* fixture;
  std::string caption;
  std::size_t rowCount;
  Row first;
  Row last;
};

class WholePages : public testing::TestWithParam<WholePage> {};

TEST_P(WholePages, CutsEveryRow) {
  const WholePage& c = GetParam();
  const Shown shown = Show(c.cut(ReadFixture(c.fixture)));
  EXPECT_EQ(shown.caption, c.caption);
  ASSERT_EQ(shown.rows.size(), c.rowCount);
  EXPECT_EQ(shown.rows.front(), c.first);
  EXPECT_EQ(shown.rows.back(), c.last);
}

TEST_P(WholePages, TruncatedPageKeepsWhatItHas) {
  const WholePage& c = GetParam();
  const std::string page = ReadFixture(c.fixture);
  const Shown full = Show(c.cut(page));
  for (std::size_t length : {page.size() / 3, page.size() / 2, page.size() - 7}) {
    const Shown cut = Show(c.cut(std::string_view(page).substr(0, length)));
    EXPECT_LE(cut.rows.size(), full.rows.size()) << length;
    // Every row but the one the cut went through is the same as on the full page.
    for (std::size_t i = 0; i + 1 < cut.rows.size(); ++i) EXPECT_EQ(cut.rows[i], full.rows[i]) << length;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sites, WholePages,
    testing::Values(
        WholePage{"FiveU", Cut5u, "5u_http_fast.gbk.html", kCaption5u + "26-12-11 00:30", 25,
                  {"3", "\xBA\xFE\xB1\xB1\xCA\xA1\xCE\xE4\xBA\xBA\xCA\xD0", "38.53.148.75", "9000", "", "", "", ""},
                  {"27", "\xD5\xE3\xBD\xAD\xCA\xA1\xBA\xBC\xD6\xDD\xCA\xD0", "201.84.173.247", "8080", "", "", "", ""}},
        WholePage{"Chunzhen", CutChunzhen, "chunzhen_index.shtml", kCaptionChunzhen + "2026-12-11 00:15", 29,
                  {"0", "\xB1\xB1\xBE\xA9\xCA\xD0", "5.56.13.101", "6588", "", "", "HTTP", ""},
                  {"28", "\xC8\xD5\xB1\xBE", "31.54.57.3", "8080", "", "", "HTTP", ""}},
        WholePage{"Pubcc", CutPubcc, "pubcc_index.html", kCaptionPubcc + "2026-12-11 08:00:00", 11,
                  {"1", "", "121.128.59.40", "8000", "", "", "", ""},
                  {"11", "", "195.19.23.219", "8118", "", "", "", ""}},
        WholePage{"Huixun", CutHuixun, "huixun_today.txt", "", 14, {"1", "", "68.214.132.19", "9000", "", "", "", ""},
                  {"14", "", "92.13.156.193", "8080", "", "", "", ""}},
        WholePage{"DailiZhongguo", CutDailiZhongguo, "dailizhongguo_http-1.html", "", 24,
                  {"1", "\xCC\xA8\xCD\xE5\xCA\xA1", "210.166.30.83", "3128", "", "3.6", "SOCKS4", "12-08 05:55"},
                  {"24", "\xC9\xCF\xBA\xA3\xCA\xD0", "82.222.54.43", "1080", "", "2.7", "SOCKS4", "12-02 02:38"}},
        WholePage{"DailiFuwuqiWang", CutDailiFuwuqiWang, "dailifuwuqiwang_proxy1.html", "", 17,
                  {"1", "\xC9\xCF\xBA\xA3\xCA\xD0", "170.4.143.210", "6588", "", "0.1", "HTTPS", ""},
                  {"17", "\xCF\xE3\xB8\xDB", "86.44.0.63", "8118", "", "3.8", "HTTP", ""}}),
    [](const testing::TestParamInfo<WholePage>& info) { return std::string(info.param.name); });

}  // namespace
