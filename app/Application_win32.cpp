#include "app/Application_win32.h"

#include <commctrl.h>
#include <ole2.h>

#include "app/AppContext.h"
#include "app/LoadingWindow_win32.h"
#include "app/MainWindow_win32.h"
#include "app/MessagePump_win32.h"
#include "proxy/ProbeProxy.h"
#include "proxy/RegistryProxySwitch_win32.h"
#include "sources/Catalogue.h"
#include "web/WinInetWebAccess_win32.h"

namespace {

// OLE for the browser's in-place activation, released on every way out.
class OleSession {
 public:
  OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleSession() {
    if (ok_) OleUninitialize();
  }
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;

 private:
  bool ok_;
};

// The exit routine: runs once when the event loop is over, however it ended.
class ExitRoutine {
 public:
  explicit ExitRoutine(ProgramState& state) : state_(state) {}
  ~ExitRoutine() { ExitCleanup(state_); }
  ExitRoutine(const ExitRoutine&) = delete;
  ExitRoutine& operator=(const ExitRoutine&) = delete;

 private:
  ProgramState& state_;
};

void EnableCommonControls() {
  // The manifest asks for common controls 6, which gives every button, edit
  // box and group box of the process the themed look, those made later too.
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof(classes);
  classes.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS;
  InitCommonControlsEx(&classes);
}

void OnMainWindowCreated(AppContext& app, LoadingWindow& loading, HINSTANCE instance) {
  EnableCommonControls();
  loading.Show(instance);
  // Waits for the IP-echo page; the loading window repaints meanwhile because
  // the wait pumps messages. The verdict does not matter here.
  ProbeProxy(app);
  FillSourceList(app.ui.超级列表框2, app.hosts);
}

}  // namespace

int RunApplication(HINSTANCE instance) {
  OleSession ole;
  ProgramState state;
  InitProgramState(state);
  ExitRoutine exitRoutine(state);

  // The control classes must exist before the first control is made.
  EnableCommonControls();
  MainWindow main;
  if (!main.Create(instance)) return 1;
  SetKeyboardWindow(main.Handle());
  AppContext app{main.Controls(), state, TheWebAccess(), TheSystemProxySwitch(), BuildSiteHosts()};
  main.SetContext(&app);

  LoadingWindow loading;
  main.SetFirstActivatedHandler([&loading] { loading.Destroy(); });
  OnMainWindowCreated(app, loading, instance);
  // Closing is impossible while the main window is hidden, but an ending
  // program (WM_QUIT already seen) must not show it again.
  if (!ProgramIsEnding()) main.ShowCentred();
  const int exitCode = RunMessageLoop();
  SetKeyboardWindow(nullptr);
  return exitCode;
}
