#include "app/MainWindow_win32.h"

#include <commctrl.h>

#include "app/ControlIds_win32.h"
#include "app/Gbk_win32.h"
#include "app/MessagePump_win32.h"
#include "listfile/ListFileButtons.h"
#include "proxy/ProxyControls.h"
#include "sources/LoadSource.h"

namespace {

constexpr int kOuterWidth = 835;
constexpr int kOuterHeight = 622;
constexpr UINT_PTR kForwardSubclassId = 0x4657;

// "ProxySwitcher 1.0" "[仅适合局域网上网用户]" " " "ProxySwitcher Team · support@proxyswitcher.example"
constexpr char kCaption[] =
    "ProxySwitcher 1.0"
    "[\xBD\xF6\xCA\xCA\xBA\xCF\xBE\xD6\xD3\xF2\xCD\xF8\xC9\xCF\xCD\xF8\xD3\xC3\xBB\xA7]"
    " ProxySwitcher Team \xA1\xA4 support@proxyswitcher.example";
constexpr char kPage1[] = "  \xC0\xCA\xCD\xD8ip\xB4\xFA\xC0\xED  ";  // "  朗拓ip代理  "
constexpr char kPage2[] = "  \xB9\xD9\xB7\xBD\xCD\xF8\xD5\xBE  ";    // "  官方网站  "

constexpr DWORD kLabel = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX;
constexpr DWORD kButton = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kEdit = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
// No LVS_SHOWSELALWAYS: the selection shows only while the list has the focus.
constexpr DWORD kList = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL;

struct ColumnLayout {
  const char* header;
  int width;
};

constexpr ColumnLayout kSourceColumns[] = {
    {"ID", 30},
    {"\xB8\xFC\xD0\xC2\xB7\xFE\xCE\xF1\xC6\xF7", 140},  // 更新服务器
    {"\xB5\xD8\xD6\xB7", 0},                            // 地址
    {"\xCC\xD8\xD0\xD4", 0},                            // 特性
};

constexpr ColumnLayout kProxyColumns[] = {
    {"ID", 40},
    {"\xB9\xFA\xBC\xD2/\xB5\xD8\xC7\xF8", 100},      // 国家/地区
    {"ip", 100},
    {"\xB6\xCB\xBF\xDA", 50},                        // 端口
    {"\xD7\xB4\xCC\xAC", 40},                        // 状态
    {"\xCB\xD9\xB6\xC8", 50},                        // 速度
    {"\xB4\xFA\xC0\xED\xC0\xE0\xD0\xCD", 60},        // 代理类型
    {"\xBC\xEC\xB2\xE2\xCA\xB1\xBC\xE4", 100},      // 检测时间
};

template <std::size_t N>
void AddColumns(HWND list, const ColumnLayout (&columns)[N]) {
  for (const ColumnLayout& column : columns) AddListColumn(list, column.header, column.width);
}

// The modifier keys held while the message being handled was sent: 1 Ctrl,
// 2 Shift, 4 Alt. Read from the key state rather than NMITEMACTIVATE's
// uKeyFlags, which not every list view fills in for NM_DBLCLK.
int KeyState() {
  int keys = 0;
  if ((GetKeyState(VK_CONTROL) & 0x8000) != 0) keys |= 1;
  if ((GetKeyState(VK_SHIFT) & 0x8000) != 0) keys |= 2;
  if ((GetKeyState(VK_MENU) & 0x8000) != 0) keys |= 4;
  return keys;
}

}  // namespace

void CentreOnScreen(HWND window) {
  RECT outer{};
  GetWindowRect(window, &outer);
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

MainWindow::MainWindow()
    : controls_{标签4_, ts_, 时间_, 编辑框1_, 编辑框2_, 编辑框3_, 超级列表框1_, 超级列表框2_, 按钮5_, 进度条1_} {}

MainWindow::~MainWindow() {
  if (window_ != nullptr) DestroyWindow(window_);
  browser_.reset();
  if (tabFont_ != nullptr) DeleteObject(tabFont_);
  if (whiteBrush_ != nullptr) DeleteObject(whiteBrush_);
}

bool MainWindow::Create(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.lpszClassName = kMainWindowClass;
  // The lowest icon ID of the resources: the program icon, big and small.
  windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
  windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  RegisterClassExW(&windowClass);

  whiteBrush_ = CreateSolidBrush(RGB(255, 255, 255));
  // Fixed frame with a caption, close box and system menu; no minimise or
  // maximise box. WS_EX_CONTROLPARENT lets Tab walk into the tab page.
  const std::wstring caption = GbkToWide(kCaption);
  window_ = CreateWindowExW(WS_EX_APPWINDOW | WS_EX_CONTROLPARENT, kMainWindowClass, caption.c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                            kOuterWidth, kOuterHeight, nullptr, nullptr, instance, this);
  if (window_ == nullptr) return false;
  CreateControls();
  CentreOnScreen(window_);
  return true;
}

HWND MainWindow::CreateControl(HWND parent, int id, const wchar_t* className, const char* textGbk, int x, int y,
                               int width, int height, DWORD style, DWORD exStyle) {
  const std::wstring text = GbkToWide(textGbk != nullptr ? textGbk : "");
  HWND control = CreateWindowExW(exStyle, className, text.c_str(), style, x, y, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (control != nullptr && parent != tab_) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  }
  return control;
}

void MainWindow::CreateControls() {
  tab_ = CreateControl(window_, kId高级选择夹1, WC_TABCONTROLW, "", 16, 24, 795, 544,
                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TABS, WS_EX_CONTROLPARENT);
  tabFont_ = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"\x5B8B\x4F53");  // 宋体
  SendMessageW(tab_, WM_SETFONT, reinterpret_cast<WPARAM>(tabFont_), FALSE);
  for (const char* pageCaption : {kPage1, kPage2}) {
    std::wstring text = GbkToWide(pageCaption);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    const auto index = SendMessageW(tab_, TCM_GETITEMCOUNT, 0, 0);
    SendMessageW(tab_, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
  SetWindowSubclass(tab_, ForwardToMain, kForwardSubclassId, reinterpret_cast<DWORD_PTR>(window_));

  // Page 1, in the order of the controls' places (also the Tab order).
  HWND t = tab_;
  标签7_.Attach(CreateControl(t, kId标签7, WC_STATICW,
                              "\xC8\xE7\xD2\xBB\xCC\xA8\xB7\xFE\xCE\xF1\xC6\xF7\xB2\xBB\xBA\xC3\xD3\xC3\xC7\xEB\xBB\xBB"
                              "\xC1\xED\xCC\xA8",  // 如一台服务器不好用请换另台
                              248, 8, 544, 16, kLabel));
  按钮9_.Attach(CreateControl(t, kId按钮9, WC_BUTTONW, "\xB5\xBC\xC8\xEB", 469, 36, 90, 24, kButton));   // 导入
  按钮10_.Attach(CreateControl(t, kId按钮10, WC_BUTTONW, "\xB5\xBC\xB3\xF6", 564, 36, 92, 24, kButton));  // 导出
  按钮5_.Attach(CreateControl(t, kId按钮5, WC_BUTTONW,
                              "\xC8\xAB\xD7\xD4\xB6\xAF\xD0\xA7\xD1\xE9\xBF\xC9\xD3\xC3\xD0\xD4",  // 全自动效验可用性
                              661, 36, 123, 24, kButton));
  ts_.Attach(CreateControl(t, kIdTs, WC_STATICW, "", 223, 39, 169, 16, kLabel));
  时间_.Attach(CreateControl(t, kId时间, WC_STATICW, "", 24, 40, 192, 16, kLabel));
  超级列表框2_.Attach(CreateControl(t, kId超级列表框2, WC_LISTVIEWW, "", 14, 64, 194, 400, kList, WS_EX_CLIENTEDGE));
  超级列表框1_.Attach(CreateControl(t, kId超级列表框1, WC_LISTVIEWW, "", 216, 64, 568, 400, kList | LVS_OWNERDATA,
                                     WS_EX_CLIENTEDGE));
  标签4_.Attach(CreateControl(t, kId标签4, WC_STATICW, "", 16, 471, 744, 24, kLabel));
  group_ = CreateControl(t, kId分组框1, WC_BUTTONW, "", 8, 491, 776, 44, WS_CHILD | WS_VISIBLE | BS_GROUPBOX,
                         WS_EX_CONTROLPARENT);
  进度条1_.Attach(CreateControl(t, kId进度条1, PROGRESS_CLASSW, "", 9, 542, 600, 16, WS_CHILD | WS_VISIBLE));
  SetWindowSubclass(group_, ForwardToMain, kForwardSubclassId, reinterpret_cast<DWORD_PTR>(window_));
  for (HWND child = GetWindow(tab_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    page1_.push_back(child);
  }

  HWND g = group_;
  标签2_.Attach(CreateControl(g, kId标签2, WC_STATICW, "\xB4\xFA\xC0\xEDip:", 8, 18, 48, 16, kLabel));  // 代理ip:
  编辑框1_.Attach(CreateControl(g, kId编辑框1, WC_EDITW, "", 64, 14, 160, 22, kEdit, WS_EX_CLIENTEDGE));
  标签3_.Attach(CreateControl(g, kId标签3, WC_STATICW, "\xB4\xFA\xC0\xED\xB6\xCB\xBF\xDA:", 232, 16, 56, 16,
                              kLabel));  // 代理端口:
  编辑框2_.Attach(CreateControl(g, kId编辑框2, WC_EDITW, "", 296, 14, 104, 22, kEdit, WS_EX_CLIENTEDGE));
  标签1_.Attach(CreateControl(g, kId标签1, WC_STATICW, "\xB2\xE2\xCA\xD4\xB3\xAC\xCA\xB1:", 416, 16, 56, 16,
                              kLabel));  // 测试超时:
  编辑框3_.Attach(CreateControl(g, kId编辑框3, WC_EDITW, "10", 473, 14, 39, 22, kEdit, WS_EX_CLIENTEDGE));
  按钮2_.Attach(CreateControl(g, kId按钮2, WC_BUTTONW, "\xC9\xE8\xD6\xC3\xB4\xFA\xC0\xED", 533, 13, 107, 22,
                              kButton));  // 设置代理
  按钮3_.Attach(CreateControl(g, kId按钮3, WC_BUTTONW, "\xC8\xA1\xCF\xFB\xB4\xFA\xC0\xED", 656, 13, 109, 22,
                              kButton));  // 取消代理
  // An edit box holds any length of text (the default stops at 32767).
  for (HWND edit : {编辑框1_.Handle(), 编辑框2_.Handle(), 编辑框3_.Handle()}) {
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  }

  // Full-row selection, no grid, check boxes, hot tracking or label editing;
  // headers clickable (nothing sorts).
  SendMessageW(超级列表框2_.Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  SendMessageW(超级列表框1_.Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
               LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
  AddColumns(超级列表框2_.Handle(), kSourceColumns);
  AddColumns(超级列表框1_.Handle(), kProxyColumns);
  进度条1_.SetMaximum(100);
  进度条1_.SetPosition(0);

  // Page 2: the browser, hidden until its page is chosen.
  const RECT browserPlace{5, 40, 5 + 787, 40 + 496};
  browser_ = std::make_unique<BrowserHost>(tab_, kId超文本浏览框2, browserPlace,
                                           GbkToWide(BuildSiteHosts().homepageUrl));
  ShowPage(0);
}

void MainWindow::ShowPage(int page) {
  for (HWND control : page1_) ShowWindow(control, page == 0 ? SW_SHOW : SW_HIDE);
  if (browser_ != nullptr && browser_->Handle() != nullptr) {
    ShowWindow(browser_->Handle(), page == 1 ? SW_SHOW : SW_HIDE);
  }
}

void MainWindow::ShowCentred() {
  if (window_ == nullptr) return;
  CentreOnScreen(window_);
  ShowWindow(window_, SW_SHOW);
  UpdateWindow(window_);
}

bool MainWindow::HandlersMayRun() const { return context_ != nullptr && !context_->state.ending; }

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

// Installed on the tab control and the group box: their children's
// notifications go on to the main window.
LRESULT CALLBACK MainWindow::ForwardToMain(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR refData) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      return SendMessageW(reinterpret_cast<HWND>(refData), message, wParam, lParam);
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, ForwardToMain, kForwardSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
      OnActivate(wParam);
      break;
    case WM_DESTROY:
      OnDestroy();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

void MainWindow::OnCommand(int id, int code) {
  if (code != BN_CLICKED || !HandlersMayRun()) return;
  AppContext& app = *context_;
  switch (id) {
    case kId按钮2: On按钮2Click(app); break;
    case kId按钮3: On按钮3Click(app); break;
    case kId按钮5: VerifyAll(app); break;
    case kId按钮9: On按钮9Click(app); break;
    case kId按钮10: On按钮10Click(app); break;
    default: break;
  }
}

LRESULT MainWindow::OnNotify(NMHDR& header) {
  if (header.hwndFrom == tab_ && header.code == TCN_SELCHANGE) {
    ShowPage(static_cast<int>(SendMessageW(tab_, TCM_GETCURSEL, 0, 0)));
    return 0;
  }
  if (header.hwndFrom == 超级列表框1_.Handle() && header.hwndFrom != nullptr) {
    if (header.code == LVN_GETDISPINFOW) {
      超级列表框1_.HandleGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
    } else if (header.code == NM_DBLCLK && HandlersMayRun()) {
      // Comes on a row and below the last row alike; the point is in the
      // list's client coordinates.
      const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
      On超级列表框1DoubleClick(*context_, activate.ptAction.x, activate.ptAction.y, KeyState());
    }
    return 0;
  }
  if (header.hwndFrom == 超级列表框2_.Handle() && header.hwndFrom != nullptr) {
    // The list decides what activates a row: a double-click on a row, or
    // Enter with a row selected.
    if (header.code == LVN_ITEMACTIVATE && HandlersMayRun()) LoadSource(*context_);
    return 0;
  }
  return 0;
}

LRESULT MainWindow::OnCtlColorStatic(HDC dc, HWND label) {
  switch (GetDlgCtrlID(label)) {
    case kIdTs:
    case kId时间:
      // Transparent: the page shows through; red text.
      SetTextColor(dc, RGB(255, 0, 0));
      SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case kId标签4:
    case kId标签1:
    case kId标签2:
    case kId标签3:
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(whiteBrush_);
    case kId标签7:
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    default:
      return DefWindowProcW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                            reinterpret_cast<LPARAM>(label));
  }
}

void MainWindow::OnActivate(WPARAM wParam) {
  if (LOWORD(wParam) == WA_INACTIVE || activatedOnce_) return;
  activatedOnce_ = true;
  if (onFirstActivated_) onFirstActivated_();
}

void MainWindow::OnDestroy() {
  // Handlers still waiting inside a request see this at their next step and
  // stop; the wrappers let go of their windows as those are destroyed.
  if (context_ != nullptr) context_->state.ending = true;
  MarkProgramEnding();
  PostQuitMessage(0);
}
