// The rows of a list, held in memory with a fixed number of columns. The proxy
// list view draws straight from it (owner-data), so a list of 100,000 rows
// costs memory only, not window messages; the in-memory list of the native
// tests uses it too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class RowStore {
 public:
  explicit RowStore(int columnCount) : columnCount_(columnCount) {}

  // Adds a row with cell 0 set and the other cells empty; returns its index.
  int AppendRow(std::string_view cell0);
  // No effect outside the rows and columns.
  void SetCell(int row, int column, std::string_view text);
  // Empty outside the rows and columns.
  std::string GetCell(int row, int column) const;
  // The cell without a copy; empty outside.
  std::string_view CellView(int row, int column) const;
  void Clear();
  int RowCount() const { return static_cast<int>(cells_.size() / static_cast<std::size_t>(columnCount_)); }
  int ColumnCount() const { return columnCount_; }

 private:
  bool Contains(int row, int column) const {
    return row >= 0 && column >= 0 && column < columnCount_ && row < RowCount();
  }

  int columnCount_;
  std::vector<std::string> cells_;  // row-major
};
