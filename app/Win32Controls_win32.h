// The control operations over real windows: one thin class per control kind,
// most methods one message. A wrapper does not own its window; it watches it
// (subclass) and forgets it on WM_NCDESTROY, after which every call is a
// no-op returning empty text, 0 or -1. Handlers that finish after the main
// window closed therefore never touch a destroyed window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/Controls.h"
#include "app/RowStore.h"

class WindowWrapper {
 public:
  WindowWrapper() = default;
  WindowWrapper(const WindowWrapper&) = delete;
  WindowWrapper& operator=(const WindowWrapper&) = delete;
  virtual ~WindowWrapper();

  // Starts watching window (null: none). Replaces a window watched before.
  void Attach(HWND window);
  void Detach();
  HWND Handle() const { return window_; }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Messages the watched window receives pass here first; true: handled.
  virtual bool OnWatchedMessage(UINT /*message*/) { return false; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR refData);
  HWND window_ = nullptr;
};

// A label. A transparent one has the page drawn behind it, so a new text
// makes the parent repaint that spot first.
class LabelControl final : public WindowWrapper, public CaptionControl {
 public:
  explicit LabelControl(bool transparent = false) : transparent_(transparent) {}
  void SetCaption(std::string_view text) override;
  std::string Caption() const override;

 private:
  bool transparent_;
};

class EditBoxControl final : public WindowWrapper, public EditControl {
 public:
  std::string GetText() const override;
  void SetText(std::string_view text) override;
};

class ButtonControl final : public WindowWrapper, public EnableControl {
 public:
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;
};

class ProgressBarControl final : public WindowWrapper, public ProgressControl {
 public:
  void SetMaximum(int value) override;
  void SetPosition(int value) override;
  int Maximum() const override;
  int Position() const override;
};

// A report-view list view holding its texts itself (the source list).
class ListViewControl final : public WindowWrapper, public ListControl {
 public:
  int AppendRow(std::string_view cell0 = {}) override;
  void SetCell(int row, int column, std::string_view text) override;
  std::string GetCell(int row, int column) const override;
  void DeleteAllRows() override;
  int RowCount() const override;
  int ColumnCount() const override;
  int Selection() const override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;

 private:
  bool Contains(int row, int column) const;
};

// An owner-data (LVS_OWNERDATA) list view drawn from a RowStore: rows cost
// memory only. The list's parent must pass LVN_GETDISPINFOW here
// (HandleGetDispInfo). New rows reach the window at the next message pump.
class OwnerDataListControl final : public WindowWrapper, public ListControl {
 public:
  explicit OwnerDataListControl(int columnCount) : rows_(columnCount) {}

  int AppendRow(std::string_view cell0 = {}) override;
  void SetCell(int row, int column, std::string_view text) override;
  std::string GetCell(int row, int column) const override;
  void AppendCell(int row, int column, std::string& out) const override;
  void DeleteAllRows() override;
  int RowCount() const override { return Handle() != nullptr ? rows_.RowCount() : 0; }
  int ColumnCount() const override { return rows_.ColumnCount(); }
  int Selection() const override;
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override;

  // Answers the list's request for a cell's text. The text stays valid until
  // the next request, as the list view expects.
  void HandleGetDispInfo(NMLVDISPINFOW& info);

 private:
  bool OnWatchedMessage(UINT message) override;
  // Tells the window the row count; appends only note that it changed, so
  // 100,000 appends cost one count update, not 100,000 scroll-bar updates.
  void SyncRowCount();

  RowStore rows_;
  int shownRows_ = 0;  // the row count the window was last told
  bool countPending_ = false;
  std::wstring shownText_;
};

// Adds a left-aligned report column at the end; its index or -1.
int AddListColumn(HWND list, std::string_view headerGbk, int width);
