#include "web/GbkRepertoire.h"

bool HasCharacterOutsideGbk(std::string_view utf8) {
  for (std::size_t i = 0; i + 2 < utf8.size(); ++i) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const auto second = static_cast<unsigned char>(utf8[i + 1]);
    const auto third = static_cast<unsigned char>(utf8[i + 2]);
    if (lead == 0xE2 && second == 0x82 && third == 0xAC) return true;  // U+20AC euro sign
    if (lead == 0xEE) return true;                                     // U+E000..U+EFFF
    if (lead == 0xEF && second >= 0x80 && second <= 0xA3) return true;  // U+F000..U+F8FF
  }
  return false;
}
