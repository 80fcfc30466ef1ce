// The proxy list file "ip.txt": GBK bytes, no byte-order mark, no header.
// A record is each cell of a row followed by ",", and every record, the last
// included, ends in CR LF. There is no quoting: a cell holding "," or CR LF
// splits differently when read back.
#pragma once

#include <string>
#include <string_view>

#include "app/Controls.h"

// The whole file text for the list, in row and column order; empty list: "".
std::string FormatListFile(const ListControl& list);

// Appends one row per line of the file content (the bytes up to the first NUL,
// split at CR LF), even a line without fields; field k goes to column k and
// fields past the list's columns are dropped. Rows already there stay.
void ImportListText(ListControl& list, std::string_view content);
