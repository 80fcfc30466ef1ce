#include "app/Application_win32.h"

#include "app/MessagePump_win32.h"

namespace {

constexpr wchar_t kMainClass[] = L"ProxySwitcherMain";

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      MarkProgramEnding();
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int RunApplication(HINSTANCE instance) {
  WNDCLASSEXW wc{sizeof(wc)};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kMainClass;
  RegisterClassExW(&wc);
  constexpr int kWidth = 835, kHeight = 622;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  HWND main = CreateWindowExW(0, kMainClass, L"ProxySwitcher", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                              x, y, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
  if (main == nullptr) return 1;
  SetKeyboardWindow(main);
  ShowWindow(main, SW_SHOW);
  return RunMessageLoop();
}
