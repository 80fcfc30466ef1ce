#include "listfile/ListFile.h"

#include <algorithm>

#include "sources/text/GbkText.h"

std::string FormatListFile(const ListControl& list) {
  const int columns = list.ColumnCount();
  const int rows = list.RowCount();
  std::string text;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      text += list.GetCell(row, column);
      text += ',';
    }
    text += "\r\n";
  }
  return text;
}

void ImportListText(ListControl& list, std::string_view content) {
  const int columns = list.ColumnCount();
  for (const std::string& line : SplitText(BytesToText(content), "\r\n")) {
    const TextArray fields = SplitText(line, ",");
    const int row = list.AppendRow();
    const int used = static_cast<int>(std::min<std::size_t>(fields.size(), static_cast<std::size_t>(columns)));
    for (int k = 0; k < used; ++k) list.SetCell(row, k, fields[static_cast<std::size_t>(k)]);
  }
}
