// UTF-8 to GBK (code page 936), all or nothing: an invalid or cut-off UTF-8
// sequence, or a character GBK cannot spell, gives an empty result.
#pragma once

#include <string>
#include <string_view>

std::string ConvertUtf8ToGbk(std::string_view utf8);
