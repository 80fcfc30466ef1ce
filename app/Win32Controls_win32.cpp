#include "app/Win32Controls_win32.h"

#include <algorithm>

#include "app/Gbk_win32.h"

namespace {

// One wrapper watches a window; a second Attach to the same window takes over.
constexpr UINT_PTR kWrapperSubclassId = 0x5053;

int ClampProgress(int value) { return std::clamp(value, 0, 32767); }

std::wstring WindowText(HWND window) {
  if (window == nullptr) return {};
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

}  // namespace

WindowWrapper::~WindowWrapper() { Detach(); }

void WindowWrapper::Attach(HWND window) {
  Detach();
  if (window == nullptr) return;
  // The subclass only watches for the window's end; the wrapper is the ref data.
  if (SetWindowSubclass(window, SubclassProc, kWrapperSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    window_ = window;
  }
}

void WindowWrapper::Detach() {
  if (window_ == nullptr) return;
  RemoveWindowSubclass(window_, SubclassProc, kWrapperSubclassId);
  window_ = nullptr;
}

LRESULT WindowWrapper::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return window_ != nullptr ? SendMessageW(window_, message, wParam, lParam) : 0;
}

LRESULT CALLBACK WindowWrapper::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR refData) {
  auto* self = reinterpret_cast<WindowWrapper*>(refData);
  if (self->OnWatchedMessage(message)) return 0;
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProc, kWrapperSubclassId);
    self->window_ = nullptr;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void LabelControl::SetCaption(std::string_view text) {
  HWND window = Handle();
  if (window == nullptr) return;
  SetWindowTextW(window, GbkToWide(text).c_str());
  if (transparent_) {
    // The label paints no background: without the parent repainting that
    // spot, the new text is drawn over the old one.
    HWND parent = GetParent(window);
    RECT area{};
    GetWindowRect(window, &area);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(parent, &area, TRUE);
  }
}

std::string LabelControl::Caption() const { return WideToGbk(WindowText(Handle())); }

std::string EditBoxControl::GetText() const { return WideToGbk(WindowText(Handle())); }

void EditBoxControl::SetText(std::string_view text) {
  if (Handle() != nullptr) SetWindowTextW(Handle(), GbkToWide(text).c_str());
}

void ButtonControl::SetEnabled(bool enabled) {
  if (Handle() != nullptr) EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool ButtonControl::IsEnabled() const { return Handle() != nullptr && IsWindowEnabled(Handle()) != FALSE; }

void ProgressBarControl::SetMaximum(int value) {
  Send(PBM_SETRANGE32, 0, static_cast<LPARAM>(ClampProgress(value)));
}

void ProgressBarControl::SetPosition(int value) {
  Send(PBM_SETPOS, static_cast<WPARAM>(ClampProgress(value)), 0);
}

int ProgressBarControl::Maximum() const { return static_cast<int>(Send(PBM_GETRANGE, FALSE, 0)); }

int ProgressBarControl::Position() const { return static_cast<int>(Send(PBM_GETPOS, 0, 0)); }

int ListViewControl::AppendRow(std::string_view cell0) {
  if (Handle() == nullptr) return -1;
  std::wstring text = GbkToWide(cell0);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount();
  item.pszText = text.data();
  return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListViewControl::Contains(int row, int column) const {
  return row >= 0 && column >= 0 && row < RowCount() && column < ColumnCount();
}

void ListViewControl::SetCell(int row, int column, std::string_view text) {
  if (!Contains(row, column)) return;
  std::wstring wide = GbkToWide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  Send(LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

std::string ListViewControl::GetCell(int row, int column) const {
  if (!Contains(row, column)) return {};
  // LVM_GETITEMTEXTW says how much it copied, not how long the text is: grow
  // the buffer until the copy leaves room to spare.
  std::wstring buffer(256, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto copied = static_cast<std::size_t>(
        Send(LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (copied + 1 < buffer.size() || buffer.size() >= (std::size_t{1} << 26)) {
      buffer.resize(std::min(copied, buffer.size()));
      return WideToGbk(buffer);
    }
    buffer.resize(buffer.size() * 4);
  }
}

void ListViewControl::DeleteAllRows() { Send(LVM_DELETEALLITEMS); }

int ListViewControl::RowCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }

int ListViewControl::ColumnCount() const {
  HWND header = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int ListViewControl::Selection() const {
  return Handle() != nullptr ? static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
                             : -1;
}

void ListViewControl::SetEnabled(bool enabled) {
  if (Handle() != nullptr) EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool ListViewControl::IsEnabled() const { return Handle() != nullptr && IsWindowEnabled(Handle()) != FALSE; }

namespace {

// Private to the wrapper; registered so it cannot collide with the list
// view's own messages.
UINT SyncRowCountMessage() {
  static const UINT message = RegisterWindowMessageW(L"ProxySwitcher.SyncRowCount");
  return message;
}

}  // namespace

int OwnerDataListControl::AppendRow(std::string_view cell0) {
  if (Handle() == nullptr) return -1;
  const int row = rows_.AppendRow(cell0);
  if (!countPending_ && PostMessageW(Handle(), SyncRowCountMessage(), 0, 0)) countPending_ = true;
  if (!countPending_) SyncRowCount();
  return row;
}

bool OwnerDataListControl::OnWatchedMessage(UINT message) {
  if (message != SyncRowCountMessage()) return false;
  SyncRowCount();
  return true;
}

void OwnerDataListControl::SyncRowCount() {
  countPending_ = false;
  shownRows_ = rows_.RowCount();
  // Only the new rows need drawing; keep the scroll position as it is.
  Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(rows_.RowCount()), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
}

void OwnerDataListControl::SetCell(int row, int column, std::string_view text) {
  if (Handle() == nullptr || row < 0 || row >= rows_.RowCount()) return;
  rows_.SetCell(row, column, text);
  // A row the window does not know yet is drawn once its count reaches it.
  // Asking anyway is not free: Wine's list view invalidates even rows past
  // its count, one round trip to the window server each, which made filling
  // 100,000 imported rows take minutes.
  if (row < shownRows_) Send(LVM_REDRAWITEMS, static_cast<WPARAM>(row), static_cast<LPARAM>(row));
}

std::string OwnerDataListControl::GetCell(int row, int column) const {
  return Handle() != nullptr ? rows_.GetCell(row, column) : std::string{};
}

void OwnerDataListControl::AppendCell(int row, int column, std::string& out) const {
  if (Handle() != nullptr) out += rows_.CellView(row, column);
}

void OwnerDataListControl::DeleteAllRows() {
  if (Handle() == nullptr) return;
  rows_.Clear();
  shownRows_ = 0;
  countPending_ = false;
  Send(LVM_SETITEMCOUNT, 0, 0);
}

int OwnerDataListControl::Selection() const {
  return Handle() != nullptr ? static_cast<int>(Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED))
                             : -1;
}

void OwnerDataListControl::SetEnabled(bool enabled) {
  if (Handle() != nullptr) EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool OwnerDataListControl::IsEnabled() const {
  return Handle() != nullptr && IsWindowEnabled(Handle()) != FALSE;
}

void OwnerDataListControl::HandleGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if ((item.mask & LVIF_TEXT) == 0 || item.pszText == nullptr || item.cchTextMax <= 0) return;
  shownText_ = GbkToWide(rows_.CellView(item.iItem, item.iSubItem));
  // Copy into the list's buffer (cut to its size) rather than handing out our
  // pointer: callers such as LVM_GETITEMTEXTW from another process read the
  // buffer they passed.
  const std::size_t room = static_cast<std::size_t>(item.cchTextMax) - 1;
  const std::size_t count = std::min(room, shownText_.size());
  std::copy_n(shownText_.data(), count, item.pszText);
  item.pszText[count] = L'\0';
}

int AddListColumn(HWND list, std::string_view headerGbk, int width) {
  if (list == nullptr) return -1;
  std::wstring header = GbkToWide(headerGbk);
  HWND headerWindow = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int index = headerWindow != nullptr ? static_cast<int>(SendMessageW(headerWindow, HDM_GETITEMCOUNT, 0, 0)) : 0;
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = header.data();
  column.iSubItem = index;
  return static_cast<int>(SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}
