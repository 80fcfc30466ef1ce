// The control wrappers over real windows (run under Wine): edge rows and
// columns, clamping, selection, the owner-data list at 100,000 rows, GBK text
// through the window, and wrappers that outlive their windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "app/Gbk_win32.h"
#include "app/Win32Controls_win32.h"

namespace {

constexpr char k正常[] = "\xD5\xFD\xB3\xA3";          // 正常
constexpr char k代理中国[] = "\xB4\xFA\xC0\xED\xD6\xD0\xB9\xFA";  // 代理中国

OwnerDataListControl* dispInfoTarget = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY && dispInfoTarget != nullptr) {
    auto& header = *reinterpret_cast<NMHDR*>(lParam);
    if (header.hwndFrom == dispInfoTarget->Handle() && header.code == LVN_GETDISPINFOW) {
      dispInfoTarget->HandleGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"ControlsTestParent";
    RegisterClassExW(&windowClass);
    parent_ = CreateWindowExW(0, L"ControlsTestParent", L"", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent_, nullptr);
  }
  void TearDown() override {
    dispInfoTarget = nullptr;
    if (IsWindow(parent_)) DestroyWindow(parent_);
  }

  HWND Child(const wchar_t* className, DWORD style = 0) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 400, 300, parent_, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  HWND ReportList(int columns, DWORD style = 0) {
    HWND list = Child(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | style);
    for (int i = 0; i < columns; ++i) AddListColumn(list, "c", 50);
    return list;
  }

  HWND parent_ = nullptr;
};

// What the window itself shows in a cell, read with the list's own message.
std::wstring ShownCell(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 512;
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return buffer;
}

void Select(HWND list, int row) {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

TEST(Gbk, RoundTripsChineseAndMarksWhatGbkCannotSpell) {
  EXPECT_EQ(GbkToWide(k正常), L"\x6B63\x5E38");
  EXPECT_EQ(WideToGbk(L"\x6B63\x5E38"), k正常);
  EXPECT_EQ(GbkToWide(""), L"");
  EXPECT_EQ(WideToGbk(L"a\x0E01"), "a?");  // Thai ko kai has no GBK spelling
}

TEST_F(ControlsTest, ListCellsOutsideTheRowsAndColumnsAreEmptyAndIgnored) {
  ListViewControl list;
  list.Attach(ReportList(4));
  EXPECT_EQ(list.ColumnCount(), 4);
  EXPECT_EQ(list.AppendRow("a"), 0);
  EXPECT_EQ(list.AppendRow(), 1);
  EXPECT_EQ(list.RowCount(), 2);
  const struct {
    int row, column;
  } outside[] = {{-1, 0}, {2, 0}, {0, 4}, {0, 8}, {0, -1}, {-1, -1}};
  for (const auto& cell : outside) {
    SCOPED_TRACE(testing::Message() << cell.row << "," << cell.column);
    list.SetCell(cell.row, cell.column, "x");
    EXPECT_EQ(list.GetCell(cell.row, cell.column), "");
  }
  EXPECT_EQ(list.RowCount(), 2);
  EXPECT_EQ(list.GetCell(0, 0), "a");
  EXPECT_EQ(list.GetCell(1, 0), "");
  EXPECT_EQ(list.GetCell(1, 3), "");
}

TEST_F(ControlsTest, ListShowsGbkTextAsChineseAndReadsItBack) {
  ListViewControl list;
  list.Attach(ReportList(4));
  list.AppendRow(k代理中国);
  list.SetCell(0, 3, k正常);
  EXPECT_EQ(ShownCell(list.Handle(), 0, 0), L"\x4EE3\x7406\x4E2D\x56FD");
  EXPECT_EQ(ShownCell(list.Handle(), 0, 3), L"\x6B63\x5E38");
  EXPECT_EQ(list.GetCell(0, 0), k代理中国);
  EXPECT_EQ(list.GetCell(0, 3), k正常);
}

TEST_F(ControlsTest, ListReadsCellsLongerThanItsFirstBuffer) {
  ListViewControl list;
  list.Attach(ReportList(2));
  std::string longText(5000, 'x');
  for (std::size_t i = 0; i < longText.size(); i += 7) longText[i] = 'y';
  list.AppendRow();
  list.SetCell(0, 1, longText);
  EXPECT_EQ(list.GetCell(0, 1), longText);
}

TEST_F(ControlsTest, SelectionIsMinusOneUntilARowIsSelectedAndAfterDeletingAll) {
  for (const bool ownerData : {false, true}) {
    SCOPED_TRACE(ownerData ? "owner-data" : "ordinary");
    ListViewControl ordinary;
    OwnerDataListControl virtualList(8);
    ListControl& list = ownerData ? static_cast<ListControl&>(virtualList) : ordinary;
    HWND window = ReportList(8, ownerData ? LVS_OWNERDATA : 0);
    ownerData ? virtualList.Attach(window) : ordinary.Attach(window);
    dispInfoTarget = ownerData ? &virtualList : nullptr;
    EXPECT_EQ(list.Selection(), -1);
    for (int i = 0; i < 3; ++i) list.AppendRow(std::to_string(i));
    EXPECT_EQ(list.Selection(), -1);
    MSG msg;  // a user selects only once the new rows have been shown
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Select(window, 2);
    EXPECT_EQ(list.Selection(), 2);
    list.DeleteAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.Selection(), -1);
    DestroyWindow(window);
  }
}

TEST_F(ControlsTest, OwnerDataListHoldsAHundredThousandRows) {
  OwnerDataListControl list(8);
  list.Attach(ReportList(8, LVS_OWNERDATA));
  dispInfoTarget = &list;
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(list.AppendRow(std::to_string(i + 1)), i);
  list.SetCell(99999, 4, k正常);
  list.SetCell(100000, 4, "past the end");
  list.SetCell(-1, 4, "before the start");
  list.SetCell(5, 8, "column 8");
  EXPECT_EQ(list.RowCount(), 100000);
  // The window learns the new count once messages are pumped, not per row.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_EQ(SendMessageW(list.Handle(), LVM_GETITEMCOUNT, 0, 0), 100000);
  EXPECT_EQ(list.ColumnCount(), 8);
  EXPECT_EQ(ShownCell(list.Handle(), 99999, 0), L"100000");
  EXPECT_EQ(ShownCell(list.Handle(), 99999, 4), L"\x6B63\x5E38");
  EXPECT_EQ(list.GetCell(99999, 4), k正常);
  EXPECT_EQ(list.GetCell(100000, 0), "");
  EXPECT_EQ(list.GetCell(-1, 0), "");
  EXPECT_EQ(list.GetCell(5, 8), "");
  std::string appended = "x";
  list.AppendCell(99999, 4, appended);
  const int outside[][2] = {{100000, 0}, {-1, 0}, {5, 8}};
  for (const auto& cell : outside) list.AppendCell(cell[0], cell[1], appended);
  EXPECT_EQ(appended, std::string("x") + k正常) << "the cell once, nothing for cells outside the list";
}

TEST_F(ControlsTest, ProgressValuesAreClampedToZeroAnd32767) {
  ProgressBarControl bar;
  bar.Attach(Child(PROGRESS_CLASSW));
  const struct {
    int maximum, position, shownMaximum, shownPosition;
  } cases[] = {
      {100, 50, 100, 50},
      {100, -5, 100, 0},
      {100, 500, 100, 100},  // the bar keeps the position inside its range
      {-10, 3, 0, 0},
      {40000, 40000, 32767, 32767},
      {32767, 32767, 32767, 32767},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.maximum << "," << c.position);
    bar.SetMaximum(c.maximum);
    bar.SetPosition(c.position);
    EXPECT_EQ(bar.Maximum(), c.shownMaximum);
    EXPECT_EQ(bar.Position(), c.shownPosition);
  }
}

TEST_F(ControlsTest, CaptionsEditsAndButtonsCarryGbkTextAndState) {
  LabelControl label(true);
  EditBoxControl edit;
  ButtonControl button;
  label.Attach(Child(WC_STATICW));
  edit.Attach(Child(WC_EDITW, ES_AUTOHSCROLL));
  button.Attach(Child(WC_BUTTONW));
  label.SetCaption(k正常);
  edit.SetText(k代理中国);
  wchar_t shown[64] = {};
  GetWindowTextW(label.Handle(), shown, 64);
  EXPECT_STREQ(shown, L"\x6B63\x5E38");
  EXPECT_EQ(label.Caption(), k正常);
  EXPECT_EQ(edit.GetText(), k代理中国);
  EXPECT_TRUE(button.IsEnabled());
  button.SetEnabled(false);
  EXPECT_FALSE(button.IsEnabled());
  EXPECT_FALSE(IsWindowEnabled(button.Handle()));
}

TEST_F(ControlsTest, WrappersTurnIntoNoOpsOnceTheirWindowsAreGone) {
  LabelControl label;
  EditBoxControl edit;
  ButtonControl button;
  ProgressBarControl bar;
  ListViewControl list;
  OwnerDataListControl virtualList(8);
  label.Attach(Child(WC_STATICW));
  edit.Attach(Child(WC_EDITW));
  button.Attach(Child(WC_BUTTONW));
  bar.Attach(Child(PROGRESS_CLASSW));
  list.Attach(ReportList(4));
  virtualList.Attach(ReportList(8, LVS_OWNERDATA));
  list.AppendRow("a");
  virtualList.AppendRow("b");

  DestroyWindow(parent_);

  for (const WindowWrapper* wrapper :
       std::initializer_list<const WindowWrapper*>{&label, &edit, &button, &bar, &list, &virtualList}) {
    EXPECT_EQ(wrapper->Handle(), nullptr);
  }
  label.SetCaption("x");
  edit.SetText("x");
  button.SetEnabled(true);
  bar.SetMaximum(5);
  bar.SetPosition(5);
  list.SetCell(0, 0, "x");
  virtualList.SetCell(0, 0, "x");
  list.DeleteAllRows();
  virtualList.DeleteAllRows();
  EXPECT_EQ(label.Caption(), "");
  EXPECT_EQ(edit.GetText(), "");
  EXPECT_FALSE(button.IsEnabled());
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(list.AppendRow("x"), -1);
  EXPECT_EQ(virtualList.AppendRow("x"), -1);
  EXPECT_EQ(list.GetCell(0, 0), "");
  EXPECT_EQ(virtualList.GetCell(0, 0), "");
  std::string appended;
  virtualList.AppendCell(0, 0, appended);
  EXPECT_EQ(appended, "");
  EXPECT_EQ(list.RowCount(), 0);
  EXPECT_EQ(virtualList.RowCount(), 0);
  EXPECT_EQ(list.Selection(), -1);
  EXPECT_EQ(virtualList.Selection(), -1);
}

}  // namespace
