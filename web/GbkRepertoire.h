// Characters that the code page 936 tables of some systems spell although GBK
// has no character for them: the euro sign (byte 0x80 in code page 936) and
// the private-use area (mapped by Windows into GBK's user-defined rows). The
// conversion refuses them on every system, so a page converts the same way
// everywhere.
#pragma once

#include <string_view>

// True when the UTF-8 text holds such a character. UTF-8 is self-
// synchronising, so a byte search finds exactly those characters.
bool HasCharacterOutsideGbk(std::string_view utf8);
