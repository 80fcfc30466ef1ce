#include "app/RowStore.h"

int RowStore::AppendRow(std::string_view cell0) {
  const int row = RowCount();
  cells_.resize(cells_.size() + static_cast<std::size_t>(columnCount_));
  if (columnCount_ > 0) cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount_)] = cell0;
  return row;
}

void RowStore::SetCell(int row, int column, std::string_view text) {
  if (!Contains(row, column)) return;
  cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount_) + static_cast<std::size_t>(column)] =
      text;
}

std::string RowStore::GetCell(int row, int column) const { return std::string(CellView(row, column)); }

std::string_view RowStore::CellView(int row, int column) const {
  if (!Contains(row, column)) return {};
  return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount_) +
                static_cast<std::size_t>(column)];
}

void RowStore::Clear() {
  cells_.clear();
  cells_.shrink_to_fit();
}
