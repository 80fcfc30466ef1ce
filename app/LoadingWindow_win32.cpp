#include "app/LoadingWindow_win32.h"

#include <commctrl.h>

#include <string>

#include "app/ControlIds_win32.h"
#include "app/Gbk_win32.h"

namespace {

// "数据加载中,与互联网同步请稍候..."
constexpr char kLoadingText[] =
    "\xCA\xFD\xBE\xDD\xBC\xD3\xD4\xD8\xD6\xD0,\xD3\xEB\xBB\xA5\xC1\xAA\xCD\xF8\xCD\xAC\xB2\xBD\xC7\xEB\xC9\xD4"
    "\xBA\xF2...";

}  // namespace

bool LoadingWindow::Show(HINSTANCE instance) {
  if (window_ != nullptr) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kLoadingWindowClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when already registered

  // Made in its centred place: it never shows, even briefly, anywhere else.
  constexpr int kWidth = 311, kHeight = 24;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
  window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kLoadingWindowClass, L"", WS_POPUP, x, y, kWidth, kHeight, nullptr,
                            nullptr, instance, this);
  if (window_ == nullptr) return false;
  const std::wstring text = GbkToWide(kLoadingText);
  HWND label = CreateWindowExW(0, WC_STATICW, text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                               49, 1, 214, 24, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdLoading标签1)), instance, nullptr);
  if (label != nullptr) {
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
  return true;
}

void LoadingWindow::Destroy() {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK LoadingWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  } else if (message == WM_NCDESTROY) {
    // Closed by the program or by Alt+F4 while it has the focus: forget it.
    auto* self = reinterpret_cast<LoadingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr) self->window_ = nullptr;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
