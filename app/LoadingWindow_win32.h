// The small window without caption or frame that is on screen while the main
// window gets ready. It has no handlers; it only repaints.
#pragma once

#include <windows.h>

class LoadingWindow {
 public:
  LoadingWindow() = default;
  ~LoadingWindow() { Destroy(); }
  LoadingWindow(const LoadingWindow&) = delete;
  LoadingWindow& operator=(const LoadingWindow&) = delete;

  // Creates the window with its label and shows it at once, centred.
  bool Show(HINSTANCE instance);
  void Destroy();
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};
