#include "web/Utf8ToGbk.h"

#include <windows.h>

#include <climits>

#include "web/GbkRepertoire.h"

namespace {

constexpr UINT kGbkCodePage = 936;

}  // namespace

std::string ConvertUtf8ToGbk(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX)) return {};
  if (HasCharacterOutsideGbk(utf8)) return {};
  const int inputLength = static_cast<int>(utf8.size());
  const int wideLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inputLength, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), inputLength, wide.data(), wideLength) !=
      wideLength) {
    return {};
  }

  BOOL usedDefault = FALSE;
  const int gbkLength =
      WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, nullptr, 0, nullptr, &usedDefault);
  if (gbkLength <= 0 || usedDefault) return {};
  std::string gbk(static_cast<std::size_t>(gbkLength), '\0');
  usedDefault = FALSE;
  if (WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, wide.data(), wideLength, gbk.data(), gbkLength,
                          nullptr, &usedDefault) != gbkLength ||
      usedDefault) {
    return {};
  }
  return gbk;
}
