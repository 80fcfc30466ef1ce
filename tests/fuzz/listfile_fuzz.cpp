// Importing any file content: one row per line, never more columns than the
// list has, and what is exported again imports to the same rows.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/MemoryControls.h"
#include "listfile/ListFile.h"
#include "sources/text/GbkText.h"

namespace {

// A cell that ends in half a double-byte character joins its lead byte with
// the comma after it, so it cannot be read back as it was. GBK text from the
// list never holds one.
bool EndsInLoneLeadByte(const std::string& cell) {
  std::size_t i = 0;
  while (i < cell.size()) {
    if (static_cast<unsigned char>(cell[i]) < 0x80) {
      ++i;
    } else if (i + 1 < cell.size()) {
      i += 2;
    } else {
      return true;
    }
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  MemoryList first(8);
  ImportListText(first, content);
  if (static_cast<std::size_t>(first.RowCount()) != SplitText(BytesToText(content), "\r\n").size()) std::abort();

  const std::string exported = FormatListFile(first);
  MemoryList second(8);
  ImportListText(second, exported);
  // Cells holding "," or CR LF split differently when read back; only lists
  // without them (and without half characters) must survive the round trip.
  bool plain = true;
  for (int r = 0; r < first.RowCount() && plain; ++r) {
    for (int c = 0; c < 8; ++c) {
      const std::string cell = first.GetCell(r, c);
      if (cell.find(',') != std::string::npos || cell.find("\r\n") != std::string::npos ||
          cell.find('\0') != std::string::npos || EndsInLoneLeadByte(cell)) {
        plain = false;
        break;
      }
    }
  }
  if (plain && exported.find('\0') == std::string::npos) {
    if (second.RowCount() != first.RowCount()) std::abort();
    for (int r = 0; r < first.RowCount(); ++r) {
      for (int c = 0; c < 8; ++c) {
        if (first.GetCell(r, c) != second.GetCell(r, c)) std::abort();
      }
    }
  }
  return 0;
}
