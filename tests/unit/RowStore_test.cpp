// The rows behind the owner-data proxy list: one string per row, cells set in
// any order, growing and shrinking, never disturbing their neighbours.
#include "app/RowStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

std::vector<std::string> Row(const RowStore& rows, int row) {
  std::vector<std::string> cells;
  for (int column = 0; column < rows.ColumnCount(); ++column) cells.push_back(rows.GetCell(row, column));
  return cells;
}

TEST(RowStore, CellEditsKeepTheOtherCellsOfTheRowAndTheOtherRows) {
  const struct {
    int column;
    std::string text;
    std::vector<std::string> expected;
  } steps[] = {
      {2, "127.0.0.1", {"1", "", "127.0.0.1", ""}},
      {1, "\xB1\xB1\xBE\xA9", {"1", "\xB1\xB1\xBE\xA9", "127.0.0.1", ""}},  // 北京
      {3, std::string(300, 'x'), {"1", "\xB1\xB1\xBE\xA9", "127.0.0.1", std::string(300, 'x')}},
      {2, "8", {"1", "\xB1\xB1\xBE\xA9", "8", std::string(300, 'x')}},
      {0, "", {"", "\xB1\xB1\xBE\xA9", "8", std::string(300, 'x')}},
      {3, "", {"", "\xB1\xB1\xBE\xA9", "8", ""}},
      {1, "a\0b"s, {"", "a", "8", ""}},  // a text ends at a NUL, as in the list view
  };
  RowStore rows(4);
  ASSERT_EQ(rows.AppendRow("0"), 0);
  ASSERT_EQ(rows.AppendRow("1"), 1);
  ASSERT_EQ(rows.AppendRow("2"), 2);
  for (const auto& step : steps) {
    SCOPED_TRACE(step.column);
    rows.SetCell(1, step.column, step.text);
    EXPECT_EQ(Row(rows, 1), step.expected);
    EXPECT_EQ(rows.CellView(1, step.column), step.expected[static_cast<std::size_t>(step.column)]);
  }
  EXPECT_EQ(Row(rows, 0), (std::vector<std::string>{"0", "", "", ""}));
  EXPECT_EQ(Row(rows, 2), (std::vector<std::string>{"2", "", "", ""}));
}

TEST(RowStore, OutsideTheRowsAndColumnsNothingIsReadOrWritten) {
  RowStore rows(2);
  rows.AppendRow("x\0y"s);
  const struct {
    int row, column;
  } outside[] = {{-1, 0}, {1, 0}, {0, 2}, {0, -1}};
  for (const auto& cell : outside) {
    rows.SetCell(cell.row, cell.column, "z");
    EXPECT_EQ(rows.GetCell(cell.row, cell.column), "");
  }
  EXPECT_EQ(Row(rows, 0), (std::vector<std::string>{"x", ""}));
  rows.Clear();
  EXPECT_EQ(rows.RowCount(), 0);
  EXPECT_EQ(rows.AppendRow(""), 0);
}

}  // namespace
