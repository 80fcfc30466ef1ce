// The main window: the tab control 高级选择夹1 with its two pages, every
// control of page 1 and of 分组框1, the browser of page 2, and the wiring of
// every control event to its handler. Controls of a page are children of the
// tab control and those of 分组框1 children of the group box; both parents pass
// WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* up here, so one window procedure
// handles everything.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "app/AppContext.h"
#include "app/BrowserHost_win32.h"
#include "app/Win32Controls_win32.h"

class MainWindow {
 public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window, still hidden, with all its controls. False when the
  // window itself could not be created.
  bool Create(HINSTANCE instance);
  HWND Handle() const { return window_; }
  MainControls& Controls() { return controls_; }

  // The handlers' context; events arrive at handlers only once it is set.
  void SetContext(AppContext* context) { context_ = context; }
  // Runs once, the first time the window becomes the active window.
  void SetFirstActivatedHandler(std::function<void()> handler) { onFirstActivated_ = std::move(handler); }

  void ShowCentred();

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ForwardToMain(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR refData);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  HWND CreateControl(HWND parent, int id, const wchar_t* className, const char* textGbk, int x, int y, int width,
                     int height, DWORD style, DWORD exStyle = 0);
  void OnCommand(int id, int code);
  LRESULT OnNotify(NMHDR& header);
  LRESULT OnCtlColorStatic(HDC dc, HWND label);
  void OnActivate(WPARAM wParam);
  void OnDestroy();
  void ShowPage(int page);
  bool HandlersMayRun() const;

  HWND window_ = nullptr;
  HWND tab_ = nullptr;
  HWND group_ = nullptr;
  std::vector<HWND> page1_;
  HFONT tabFont_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  bool activatedOnce_ = false;
  AppContext* context_ = nullptr;
  std::function<void()> onFirstActivated_;
  std::unique_ptr<BrowserHost> browser_;

  LabelControl 标签7_, 标签4_, 标签2_, 标签3_, 标签1_;
  LabelControl ts_{true}, 时间_{true};
  EditBoxControl 编辑框1_, 编辑框2_, 编辑框3_;
  ButtonControl 按钮9_, 按钮10_, 按钮5_, 按钮2_, 按钮3_;
  ProgressBarControl 进度条1_;
  OwnerDataListControl 超级列表框1_{8};
  ListViewControl 超级列表框2_;
  MainControls controls_;
};

// Centres an outer window rectangle on the primary screen.
void CentreOnScreen(HWND window);
