#include "listfile/ShellListFileHost_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <vector>

#include "app/Gbk_win32.h"
#include "listfile/ListFile_win32.h"

namespace {

// The shell's browse dialog needs COM on this thread. The main window usually
// has it already (the browser tab); balance only what this call started.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

struct PidlDeleter {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};

// While the dialog is open the program's other top-level windows take no
// input; afterwards each gets back the state it had, and the active and
// foreground windows are restored. Hidden windows (COM's and the IME's
// message windows among them) take no input anyway and are left alone.
class ModalScope {
 public:
  ModalScope() : active_(GetActiveWindow()), foreground_(GetForegroundWindow()) {
    EnumThreadWindows(GetCurrentThreadId(), &ModalScope::Collect, reinterpret_cast<LPARAM>(this));
    for (const Saved& saved : windows_) {
      if (saved.enabled) EnableWindow(saved.window, FALSE);
    }
  }
  ModalScope(const ModalScope&) = delete;
  ModalScope& operator=(const ModalScope&) = delete;
  ~ModalScope() {
    for (const Saved& saved : windows_) {
      if (IsWindow(saved.window)) EnableWindow(saved.window, saved.enabled ? TRUE : FALSE);
    }
    if (active_ != nullptr && IsWindow(active_)) SetActiveWindow(active_);
    if (foreground_ != nullptr && IsWindow(foreground_)) SetForegroundWindow(foreground_);
  }

 private:
  struct Saved {
    HWND window;
    bool enabled;
  };
  static BOOL CALLBACK Collect(HWND window, LPARAM self) {
    if (IsWindowVisible(window)) {
      reinterpret_cast<ModalScope*>(self)->windows_.push_back({window, IsWindowEnabled(window) != FALSE});
    }
    return TRUE;
  }

  HWND active_;
  HWND foreground_;
  std::vector<Saved> windows_;
};

}  // namespace

std::wstring ShellListFileHost::BrowseForFolder(std::string_view title, bool showFiles) {
  ComScope com;
  const std::wstring wideTitle = GbkToWide(title);
  BROWSEINFOW info{};
  info.hwndOwner = GetActiveWindow();
  info.lpszTitle = wideTitle.c_str();
  info.ulFlags = BIF_EDITBOX;
  if (showFiles) info.ulFlags |= BIF_BROWSEINCLUDEFILES;
  std::unique_ptr<ITEMIDLIST, PidlDeleter> chosen;
  {
    ModalScope modal;
    chosen.reset(SHBrowseForFolderW(&info));
  }
  if (!chosen) return {};
  wchar_t path[MAX_PATH] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) return {};
  return path;
}

void ShellListFileHost::ShowMessage(const MessageText& text, std::string_view caption, unsigned style) {
  const std::wstring wideText = GbkToWide(text.before) + text.path + GbkToWide(text.after);
  // Without an owner nothing hands the activation back when the box closes
  // (Wine without a window manager leaves no window active, so keys go
  // nowhere); give it back to the window that had it.
  const HWND active = GetActiveWindow();
  MessageBoxW(nullptr, wideText.c_str(), GbkToWide(caption).c_str(), style | MB_TASKMODAL);
  if (active != nullptr && IsWindow(active) && GetActiveWindow() == nullptr) {
    SetForegroundWindow(active);
    SetActiveWindow(active);
  }
}

bool ShellListFileHost::ExportList(const ListControl& list, const std::wstring& path) {
  return ::ExportList(list, path);
}

bool ShellListFileHost::ImportList(ListControl& list, const std::wstring& path) {
  return ::ImportList(list, path);
}
