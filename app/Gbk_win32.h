// The one place where GBK text (code page 936) meets the wide window APIs.
// Code page 936 is named explicitly, never CP_ACP: Chinese must show correctly
// whatever the system's ANSI code page is (under Wine here it is 1252).
#pragma once

#include <string>
#include <string_view>

// GBK bytes to UTF-16. Bytes that are not valid GBK become U+FFFD or the
// converter's substitute, so the result is never shorter than expected by
// surprise; an empty input gives an empty result.
std::wstring GbkToWide(std::string_view gbk);

// UTF-16 to GBK bytes. Characters that GBK cannot spell become '?'.
std::string WideToGbk(std::wstring_view wide);
