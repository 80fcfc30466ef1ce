// Reads the probe's time limit from the text the user typed.
#pragma once

#include <string_view>

// The text of 编辑框3 as a whole number of seconds. GBK full-width characters
// are folded to ASCII first (A3 A1..A3 FE to 21..7E, A1 A1 to a blank); then
// leading blanks, an optional sign and the digits up to the first other
// character are read. No digits gives 0; values past the int range saturate.
int ParseTimeLimit(std::string_view gbkText);
