#include "listfile/ListFile.h"

#include <gtest/gtest.h>

#include "app/MemoryControls.h"

namespace {

using namespace std::string_literals;
using Rows = std::vector<std::vector<std::string>>;

Rows ReadRows(const MemoryList& list) {
  Rows rows;
  for (int r = 0; r < list.RowCount(); ++r) {
    rows.emplace_back();
    for (int c = 0; c < list.ColumnCount(); ++c) rows.back().push_back(list.GetCell(r, c));
  }
  return rows;
}

void Fill(MemoryList& list, const Rows& rows) {
  for (const auto& cells : rows) {
    const int r = list.AppendRow();
    for (std::size_t c = 0; c < cells.size(); ++c) list.SetCell(r, static_cast<int>(c), cells[c]);
  }
}

// Eight cells with GBK text: "中国" in column 1, "高匿" in column 6.
const std::vector<std::string> kProxyRow = {"1", "\xD6\xD0\xB9\xFA", "127.0.0.1", "3128",
                                            "\xD5\xFD\xB3\xA3", "0.5", "\xB8\xDF\xC4\xE4", "2024-01-02 03:04"};

TEST(FormatListFile, EachCellEndsInCommaEachRecordInCrLf) {
  MemoryList list(8);
  EXPECT_EQ(FormatListFile(list), "") << "an empty list gives an empty file";
  Fill(list, {kProxyRow, {"2", "", "10.0.0.1"}});
  EXPECT_EQ(FormatListFile(list),
            "1,\xD6\xD0\xB9\xFA,127.0.0.1,3128,\xD5\xFD\xB3\xA3,0.5,\xB8\xDF\xC4\xE4,2024-01-02 03:04,\r\n"
            "2,,10.0.0.1,,,,,,\r\n");
}

TEST(ListFile, RoundTripReproducesEveryCell) {
  MemoryList source(8);
  const Rows rows = {kProxyRow, {"2", "", "", "", "", "", "", ""}, {"3", "a b", "1.2.3.4", "80", "", "", "", "x"}};
  Fill(source, rows);
  MemoryList target(8);
  ImportListText(target, FormatListFile(source));
  EXPECT_EQ(ReadRows(target), rows);
}

struct ImportCase {
  const char* name;
  std::string content;
  Rows rows;
};

TEST(ImportListText, CutsLinesAndFields) {
  const std::vector<std::string> blank(8);
  const std::vector<ImportCase> cases = {
      {"empty content adds nothing", "", {}},
      {"no final CR LF", "1,a,\r\n2,b", {{"1", "a", "", "", "", "", "", ""}, {"2", "b", "", "", "", "", "", ""}}},
      {"no trailing comma", "1,2,3", {{"1", "2", "3", "", "", "", "", ""}}},
      {"empty cells keep their place", ",,ip,,s,\r\n", {{"", "", "ip", "", "s", "", "", ""}}},
      {"blank line inside", "1,\r\n\r\n2,\r\n", {{"1", "", "", "", "", "", "", ""}, blank, {"2", "", "", "", "", "", "", ""}}},
      {"file ending in two CR LF", "1,\r\n\r\n", {{"1", "", "", "", "", "", "", ""}, blank}},
      {"leading CR LF", "\r\n1,", {blank, {"1", "", "", "", "", "", "", ""}}},
      {"bare LF stays inside fields", "1,a,\n2,b,\n", {{"1", "a", "\n2", "b", "\n", "", "", ""}}},
      {"extra fields dropped", "0,1,2,3,4,5,6,7,8,9,\r\n", {{"0", "1", "2", "3", "4", "5", "6", "7"}}},
      {"NUL ends the content", "1,a,\r\n2,b\0,\r\n3,c,\r\n"s, {{"1", "a", "", "", "", "", "", ""},
                                                                               {"2", "b", "", "", "", "", "", ""}}},
      // 0x81 0x2C is one GBK character whose trail byte is ","; it is no separator.
      {"comma as trail byte", "a\x81,b,c,", {{"a\x81,b", "c", "", "", "", "", "", ""}}},
  };
  for (const ImportCase& c : cases) {
    MemoryList list(8);
    ImportListText(list, c.content);
    EXPECT_EQ(ReadRows(list), c.rows) << c.name;
  }
}

TEST(ImportListText, AppendsAfterTheRowsAlreadyThere) {
  MemoryList list(8);
  Fill(list, {kProxyRow});
  const std::string file = FormatListFile(list);
  ImportListText(list, file);
  ImportListText(list, file);
  EXPECT_EQ(ReadRows(list), (Rows{kProxyRow, kProxyRow, kProxyRow}));
}

TEST(ImportListText, FollowsTheListsColumnCount) {
  MemoryList narrow(3);
  ImportListText(narrow, "a,b,c,d,e,\r\n");
  EXPECT_EQ(ReadRows(narrow), (Rows{{"a", "b", "c"}}));
}

}  // namespace
