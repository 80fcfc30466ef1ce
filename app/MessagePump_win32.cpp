#include "app/MessagePump_win32.h"

namespace {

HWND keyboardWindow = nullptr;
bool programEnding = false;

bool IsInKeyboardWindow(HWND target) {
  return keyboardWindow != nullptr && target != nullptr &&
         (target == keyboardWindow || IsChild(keyboardWindow, target));
}

// The control that Tab moves away from. The focus may sit deep inside a
// control that hosts windows of its own (the browser); walk up to the child
// that takes part in Tab, the one whose parent is the window itself or a
// WS_EX_CONTROLPARENT container (tab control, group box).
HWND TabStartingPoint(HWND focus) {
  if (focus == nullptr || focus == keyboardWindow || !IsInKeyboardWindow(focus)) return nullptr;
  HWND control = focus;
  for (HWND parent = GetParent(control); parent != nullptr && parent != keyboardWindow;
       parent = GetParent(control)) {
    if ((GetWindowLongW(parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) != 0) break;
    control = parent;
  }
  return control;
}

// A key pressed in the window. With no control focused (the one that had
// the focus was disabled, as the source list is during a load) keys reach the
// active window as WM_SYSKEYDOWN; without Alt held they are plain keys still.
bool IsPlainKeyDown(const MSG& msg) {
  constexpr LPARAM kAltDown = LPARAM{1} << 29;
  return msg.message == WM_KEYDOWN || (msg.message == WM_SYSKEYDOWN && (msg.lParam & kAltDown) == 0);
}

// Returns true when the key was handled here and must not be dispatched.
bool HandleKeyboardRules(const MSG& msg) {
  if (!IsPlainKeyDown(msg) || !IsInKeyboardWindow(msg.hwnd)) return false;
  if (msg.wParam == VK_ESCAPE) {
    PostMessageW(keyboardWindow, WM_CLOSE, 0, 0);
    return true;
  }
  if (msg.wParam == VK_TAB) {
    const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND next = GetNextDlgTabItem(keyboardWindow, TabStartingPoint(GetFocus()), backwards ? TRUE : FALSE);
    if (next != nullptr) SetFocus(next);
    return true;
  }
  return false;
}

}  // namespace

void SetKeyboardWindow(HWND window) { keyboardWindow = window; }

void TranslateAndDispatch(MSG& msg) {
  if (HandleKeyboardRules(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

bool PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      programEnding = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateAndDispatch(msg);
  }
  return !programEnding;
}

int RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) TranslateAndDispatch(msg);
  programEnding = true;
  return static_cast<int>(msg.wParam);
}

bool ProgramIsEnding() { return programEnding; }

void MarkProgramEnding() { programEnding = true; }
