// The floor for the ip.txt figures: the cost of only reading and splitting a
// list file, and of only joining the pieces and writing them back, with the
// same file and split code the program uses, started under Wine the same way.
//
//   listfile_read.exe IN OUT     prints {"read_split_ms": R, "join_write_ms": W, "rows": N}
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

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
  std::vector<TextArray> rows;
  for (const std::string& line : SplitText(BytesToText(*content), "\r\n")) rows.push_back(SplitText(line, ","));
  QueryPerformanceCounter(&t1);

  QueryPerformanceCounter(&t2);
  std::string text;
  for (const TextArray& fields : rows) {
    for (const std::string& field : fields) {
      text += field;
      text += ',';
    }
    text += "\r\n";
  }
  if (!WriteWholeFile(argv[2], text)) return 1;
  QueryPerformanceCounter(&t3);
  std::printf("{\"read_split_ms\": %.3f, \"join_write_ms\": %.3f, \"rows\": %zu}\n", Milliseconds(t0, t1),
              Milliseconds(t2, t3), rows.size());
  return 0;
}
