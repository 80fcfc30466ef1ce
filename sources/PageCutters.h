// Cutting the pages of the six proxy-list sites into proxy rows. Pure
// functions from page text (GBK bytes) to the update-time caption and the
// rows; the Parse* procedures fetch the page and apply the result to the
// controls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Columns of a proxy row.
enum ProxyColumn : int {
  kColumnId = 0,
  kColumnRegion = 1,
  kColumnIp = 2,
  kColumnPort = 3,
  kColumnState = 4,
  kColumnSpeed = 5,
  kColumnType = 6,
  kColumnCheckedAt = 7,
};

struct CellWrite {
  int column;
  std::string text;

  bool operator==(const CellWrite&) const = default;
};

// One row to append. Its ID is either a fixed text or, for the sites whose ID
// is the row's position in the list, that position plus an offset, known only
// once the row has been appended. Then come the other cells in writing order;
// a cell whose field the record lacks is left out.
struct CutRow {
  std::string id;
  bool idFromPosition = false;
  int positionOffset = 0;
  std::vector<CellWrite> cells;
};

struct CutPage {
  std::string caption;
  bool hasCaption = false;
  std::vector<CutRow> rows;
};

CutPage Cut5u(std::string_view page);
CutPage CutChunzhen(std::string_view page);
CutPage CutPubcc(std::string_view page);
CutPage CutHuixun(std::string_view page);
CutPage CutDailiZhongguo(std::string_view page);
CutPage CutDailiFuwuqiWang(std::string_view page);
