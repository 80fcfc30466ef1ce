#include "app/Gbk_win32.h"

#include <windows.h>

#include <climits>

namespace {

constexpr UINT kGbkCodePage = 936;

// The conversion APIs take int lengths; longer texts are cut at INT_MAX,
// which no window text comes close to.
int ClampedLength(std::size_t size) {
  return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

}  // namespace

std::wstring GbkToWide(std::string_view gbk) {
  if (gbk.empty()) return {};
  const int inLength = ClampedLength(gbk.size());
  const int needed = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), inLength, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int written = MultiByteToWideChar(kGbkCodePage, 0, gbk.data(), inLength, wide.data(), needed);
  wide.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return wide;
}

std::string WideToGbk(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int inLength = ClampedLength(wide.size());
  const int needed = WideCharToMultiByte(kGbkCodePage, 0, wide.data(), inLength, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string gbk(static_cast<std::size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(kGbkCodePage, 0, wide.data(), inLength, gbk.data(), needed, nullptr, nullptr);
  gbk.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return gbk;
}
