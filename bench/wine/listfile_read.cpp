// The floor for the ip.txt figures: the cost of only reading and splitting a
// list file, and of only joining the pieces and writing them back, with the
// same file and split code the program uses, started under Wine the same way.
//
//   listfile_read.exe IN OUT     prints {"read_split_ms": R, "join_write_ms": W, "rows": N,
//                                "fill_rows_ms": F, "format_ms": M}
//
// The last two place the time of an export or import inside the program: the
// program's import filling the rows of an in-memory list (the row store the
// window draws from, without the window) and its export text formatted from
// that list through the list interface.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MemoryControls.h"
#include "listfile/ListFile.h"
#include "listfile/ListFile_win32.h"
#include "sources/text/GbkText.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency{};
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fputs("usage: listfile_read IN OUT\n", stderr);
    return 2;
  }
  LARGE_INTEGER t0{}, t1{}, t2{}, t3{};
  QueryPerformanceCounter(&t0);
  const std::optional<std::string> content = ReadWholeFile(argv[1]);
  if (!content) return 1;
  // Split as the program's import does: lines and fields as views into the
  // text read, up to its first NUL.
  const std::string_view whole = std::string_view(*content).substr(0, content->find('\0'));
  std::vector<std::string_view> lines;
  SplitTextViews(whole, "\r\n", std::nullopt, lines);
  std::vector<std::vector<std::string_view>> rows(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) SplitTextViews(lines[i], ",", std::nullopt, rows[i]);
  QueryPerformanceCounter(&t1);

  QueryPerformanceCounter(&t2);
  std::string text;
  for (const std::vector<std::string_view>& fields : rows) {
    for (const std::string_view field : fields) {
      text += field;
      text += ',';
    }
    text += "\r\n";
  }
  if (!WriteWholeFile(argv[2], text)) return 1;
  QueryPerformanceCounter(&t3);
  LARGE_INTEGER t4{}, t5{}, t6{};
  MemoryList list(8);
  QueryPerformanceCounter(&t4);
  ImportListText(list, *content);
  QueryPerformanceCounter(&t5);
  const std::string formatted = FormatListFile(list);
  QueryPerformanceCounter(&t6);
  if (formatted.size() != text.size()) return 1;
  std::printf(
      "{\"read_split_ms\": %.3f, \"join_write_ms\": %.3f, \"rows\": %zu, \"fill_rows_ms\": %.3f, "
      "\"format_ms\": %.3f}\n",
      Milliseconds(t0, t1), Milliseconds(t2, t3), rows.size(), Milliseconds(t4, t5), Milliseconds(t5, t6));
  return 0;
}
