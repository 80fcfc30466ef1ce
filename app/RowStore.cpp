#include "app/RowStore.h"

namespace {

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

}  // namespace

int RowStore::AppendRow(std::string_view cell0) {
  const int row = RowCount();
  std::string cells;
  if (columnCount_ > 0) {
    const std::string_view first = UpToNul(cell0);
    cells.reserve(first.size() + static_cast<std::size_t>(columnCount_));
    cells.append(first);
    cells.append(static_cast<std::size_t>(columnCount_), '\0');
  }
  rows_.push_back(std::move(cells));
  return row;
}

std::pair<std::size_t, std::size_t> RowStore::CellRange(const std::string& row, int column) const {
  std::size_t first = 0;
  for (int k = 0; k < column; ++k) first = row.find('\0', first) + 1;
  return {first, row.find('\0', first)};
}

void RowStore::SetCell(int row, int column, std::string_view text) {
  if (!Contains(row, column)) return;
  std::string& cells = rows_[static_cast<std::size_t>(row)];
  const auto [first, last] = CellRange(cells, column);
  const std::string_view value = UpToNul(text);
  if (value.size() <= last - first) {
    cells.replace(first, last - first, value);
    return;
  }
  // Growing in place would round the room up (doubling); a row that grows
  // cell by cell as it is filled would keep up to twice its size.
  std::string grown;
  grown.reserve(cells.size() - (last - first) + value.size());
  grown.append(cells, 0, first).append(value).append(cells, last, std::string::npos);
  cells = std::move(grown);
}

std::string RowStore::GetCell(int row, int column) const { return std::string(CellView(row, column)); }

std::string_view RowStore::CellView(int row, int column) const {
  if (!Contains(row, column)) return {};
  const std::string& cells = rows_[static_cast<std::size_t>(row)];
  const auto [first, last] = CellRange(cells, column);
  return std::string_view(cells).substr(first, last - first);
}

void RowStore::Clear() {
  rows_.clear();
  rows_.shrink_to_fit();
}
