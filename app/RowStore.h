// The rows of a list, held in memory with a fixed number of columns. The proxy
// list view draws straight from it (owner-data), so a list of 100,000 rows
// costs memory only, not window messages; the in-memory list of the native
// tests uses it too.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class RowStore {
 public:
  explicit RowStore(int columnCount) : columnCount_(columnCount) {}

  // Adds a row with cell 0 set and the other cells empty; returns its index.
  int AppendRow(std::string_view cell0);
  // No effect outside the rows and columns. Texts end at a NUL byte, as the
  // program's texts and the list view's cells do.
  void SetCell(int row, int column, std::string_view text);
  // Empty outside the rows and columns.
  std::string GetCell(int row, int column) const;
  // The cell without a copy, valid until its row changes; empty outside.
  std::string_view CellView(int row, int column) const;
  void Clear();
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int ColumnCount() const { return columnCount_; }

 private:
  bool Contains(int row, int column) const {
    return row >= 0 && column >= 0 && column < columnCount_ && row < RowCount();
  }
  // Where the cell lies in its row's string: [first, second).
  std::pair<std::size_t, std::size_t> CellRange(const std::string& row, int column) const;

  int columnCount_;
  // One string per row: each cell followed by a NUL. A row of eight short
  // cells then costs one allocation of about its text's size, where a string
  // per cell cost eight string headers (a 100,000-row list: a third of the
  // memory).
  std::vector<std::string> rows_;
};
