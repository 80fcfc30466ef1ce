// Measures from another process how quickly the program's GUI thread answers.
//
//   pinger.exe ping CLASS MS      sends WM_NULL with SendMessageTimeout to the first visible
//                                 top-level window of CLASS every 5 ms for MS milliseconds
//   pinger.exe scroll HWND COUNT  for COUNT steps: one page down, then up, and so on (WM_VSCROLL)
//                                 to the list view HWND, then UpdateWindow, which returns once the
//                                 list has painted the new page
//   pinger.exe click HWND 0       sends BM_CLICK to the button HWND: the program runs the button's
//                                 handler and the call returns when the handler has returned
//
// Prints one JSON line: samples, timeouts, p50, p99, max (milliseconds).
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f{};
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Quantile(std::vector<double> sorted, double q) {
  if (sorted.empty()) return 0;
  std::sort(sorted.begin(), sorted.end());
  const auto index = static_cast<std::size_t>(q * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(index, sorted.size() - 1)];
}

int Report(const std::vector<double>& samples, int timeouts) {
  const double worst = samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
  std::printf("{\"samples\": %zu, \"timeouts\": %d, \"p50\": %.3f, \"p99\": %.3f, \"max\": %.3f}\n", samples.size(),
              timeouts, Quantile(samples, 0.5), Quantile(samples, 0.99), worst);
  return 0;
}

HWND FindVisible(const wchar_t* className) {
  for (HWND window = FindWindowW(className, nullptr); window != nullptr;
       window = FindWindowExW(nullptr, window, className, nullptr)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: pinger ping CLASS MS | pinger scroll HWND COUNT\n", stderr);
    return 2;
  }
  const std::wstring mode = argv[1];
  std::vector<double> samples;
  int timeouts = 0;
  if (mode == L"ping") {
    HWND window = FindVisible(argv[2]);
    if (window == nullptr) return 1;
    const double end = Now() + std::wcstod(argv[3], nullptr);
    while (Now() < end) {
      const double start = Now();
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result)) ++timeouts;
      samples.push_back(Now() - start);
      Sleep(5);
    }
    return Report(samples, timeouts);
  }
  if (mode == L"scroll") {
    HWND list = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::wcstoull(argv[2], nullptr, 10)));
    const long count = std::wcstol(argv[3], nullptr, 10);
    for (long i = 0; i < count; ++i) {
      const double start = Now();
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(list, WM_VSCROLL, i % 2 == 0 ? SB_PAGEDOWN : SB_PAGEUP, 0, SMTO_NORMAL, 2000, &result)) ++timeouts;
      UpdateWindow(list);
      samples.push_back(Now() - start);
    }
    return Report(samples, timeouts);
  }
  if (mode == L"click") {
    HWND button = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::wcstoull(argv[2], nullptr, 10)));
    const double start = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 3600000, &result)) ++timeouts;
    samples.push_back(Now() - start);
    return Report(samples, timeouts);
  }
  return 2;
}
