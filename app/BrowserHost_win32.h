// The system web browser control (CLSID_WebBrowser) in a child window,
// hosted through a minimal OLE container: client site, in-place site and a
// frame that refuses what it need not do. It opens one address at creation
// and is not addressed afterwards. When the control or its engine is missing
// the window simply stays empty.
#pragma once

#include <windows.h>

#include <memory>
#include <string_view>

class BrowserHost {
 public:
  // Creates the host window and the browser in it, then navigates to url.
  BrowserHost(HWND parent, int id, const RECT& place, std::wstring_view url);
  ~BrowserHost();
  BrowserHost(const BrowserHost&) = delete;
  BrowserHost& operator=(const BrowserHost&) = delete;

  HWND Handle() const { return window_; }
  // True when the browser control runs in the window.
  bool HasBrowser() const;

  class Site;

 private:
  static LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Close();

  HWND window_ = nullptr;
  Site* site_ = nullptr;  // COM object, reference counted
};
