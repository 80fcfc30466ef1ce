// One page cutter (chosen at build time by PROXYSWITCHER_CUTTER) on any bytes:
// no crash, no undefined behaviour, no runaway time or memory, and every row
// it cuts has its ID.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sources/PageCutters.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  const CutPage cut = PROXYSWITCHER_CUTTER(page);
  for (const CutRow& row : cut.rows) {
    if (row.id.empty() && !row.idFromPosition) std::abort();
    for (const CellWrite& cell : row.cells) {
      if (cell.column < 0 || cell.column > kColumnCheckedAt) std::abort();
    }
  }
  return 0;
}
