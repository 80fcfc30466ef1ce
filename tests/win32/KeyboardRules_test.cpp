// The keys the program handles itself for every control of its main window,
// also when no control has the focus: the one that had it was disabled, as
// the source list is during a load, and keys then reach the window as system
// keys.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/MessagePump_win32.h"

namespace {

int closes = 0;

LRESULT CALLBACK CountCloses(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    ++closes;  // kept open: the test owns the window
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class KeyboardRules : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountCloses;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KeyboardRulesWindow";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                              nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(window_, nullptr);
    SetKeyboardWindow(window_);
  }
  void TearDown() override {
    SetKeyboardWindow(nullptr);
    DestroyWindow(window_);
  }

  HWND window_ = nullptr;
};

TEST_F(KeyboardRules, EscClosesTheWindowWithOrWithoutAFocusedControlButAltEscDoesNot) {
  constexpr LPARAM kAltDown = LPARAM{1} << 29;
  struct Case {
    const char* what;
    UINT message;
    LPARAM lParam;
    int closes;
  };
  const Case cases[] = {
      {"Esc, a control focused", WM_KEYDOWN, 1, 1},
      {"Esc, nothing focused", WM_SYSKEYDOWN, 1, 1},
      {"Alt+Esc", WM_SYSKEYDOWN, 1 | kAltDown, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    closes = 0;
    PostMessageW(window_, c.message, VK_ESCAPE, c.lParam);
    PumpPendingMessages();  // the key, then the close it posts
    EXPECT_EQ(closes, c.closes);
  }
}

}  // namespace
