#include "listfile/ListFile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "sources/text/GbkText.h"

std::string FormatListFile(const ListControl& list) {
  const int columns = list.ColumnCount();
  const int rows = list.RowCount();
  std::string text;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      list.AppendCell(row, column, text);
      text += ',';
    }
    text += "\r\n";
  }
  return text;
}

void ImportListText(ListControl& list, std::string_view content) {
  const int columns = list.ColumnCount();
  // The text up to the first NUL, as BytesToText gives it, and its lines and
  // fields as views into the content: a 100,000-row file is not copied again
  // line by line while its rows are being built.
  const std::string_view text = content.substr(0, content.find('\0'));
  std::vector<std::string_view> lines;
  std::vector<std::string_view> fields;
  SplitTextViews(text, "\r\n", std::nullopt, lines);
  for (const std::string_view line : lines) {
    SplitTextViews(line, ",", std::nullopt, fields);
    const int row = list.AppendRow();
    const int used = static_cast<int>(std::min<std::size_t>(fields.size(), static_cast<std::size_t>(columns)));
    for (int k = 0; k < used; ++k) list.SetCell(row, k, fields[static_cast<std::size_t>(k)]);
  }
}
