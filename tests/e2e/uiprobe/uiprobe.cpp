// Reads and nudges the windows of another process for the end-to-end tests.
// It reads one command per line from stdin (fields separated by tabs) and
// answers each with one line of JSON (ASCII only: other characters as \uXXXX):
//
//   windows                  the program's top-level windows: hwnd, class, text, rect, client size,
//                            visible, enabled, pid, style, exstyle
//   tree HWND                every descendant: hwnd, parent, id, class, text, x, y, width, height
//                            (relative to the parent's client area), screen rect, visible, enabled, style
//   columns HWND             list-view columns: text and width
//   rows HWND [MAX]          list-view rows: count and the cells of the first MAX rows (all by default)
//   selection HWND           first selected row or -1
//   lvexstyle HWND           a list view's extended style bits
//   itemrect HWND ROW        screen rectangle of a list-view row (LVIR_BOUNDS)
//   text HWND                the window's text
//   settext HWND HEXUTF8     WM_SETTEXT with the UTF-8 text given in hex
//   focus HWND               focus and active window of the thread that owns HWND
//   setfocus HWND            gives HWND the keyboard focus (through AttachThreadInput)
//   quit
//
// Handles are printed and read as decimal numbers. List-view texts come from
// the other process through memory allocated there (VirtualAllocEx), which
// works for owner-data lists as well.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (const wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    }
  }
  return out + "\"";
}

std::string Number(HWND window) { return std::to_string(reinterpret_cast<std::uintptr_t>(window)); }

HWND ParseHandle(const std::string& text) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::stoull(text.empty() ? "0" : text)));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// The text the window manager holds for a window, read without a message:
// it answers even while the program's thread is busy or waits without
// taking sent messages. Right for top-level windows, labels and buttons.
std::wstring StoredText(HWND window) {
  wchar_t text[1024] = {};
  const int length = InternalGetWindowText(window, text, 1024);
  return std::wstring(text, length > 0 ? static_cast<std::size_t>(length) : 0);
}

// WM_GETTEXT works across processes (the system copies the text back) and is
// the only way to an edit box's current text. A program that does not take
// sent messages for a while gets two seconds, then the stored text is used.
std::wstring TextOf(HWND window) {
  constexpr UINT kWaitMs = 2000;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kWaitMs, &length)) {
    return StoredText(window);
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kWaitMs, &copied)) {
    return StoredText(window);
  }
  text.resize(static_cast<std::size_t>(copied));
  return text;
}

std::string RectJson(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof(text), "[%ld,%ld,%ld,%ld]", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
  return text;
}

// A block of memory inside the process that owns a window.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, std::size_t size) : size_(size) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_ != nullptr) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  bool Ok() const { return address_ != nullptr; }
  char* At(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(std::size_t offset, const void* data, std::size_t size) const {
    return WriteProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }
  bool Read(std::size_t offset, void* data, std::size_t size) const {
    return ReadProcessMemory(process_, At(offset), data, size, nullptr) != FALSE;
  }
  std::size_t Size() const { return size_; }

 private:
  std::size_t size_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

constexpr std::size_t kTextChars = 4096;
constexpr std::size_t kTextOffset = 1024;  // the struct lives before the text

std::wstring RemoteCell(HWND list, const RemoteBlock& block, int row, int column) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
  item.cchTextMax = static_cast<int>(kTextChars);
  block.Write(0, &item, sizeof(item));
  const auto copied = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                   reinterpret_cast<LPARAM>(block.At(0)));
  std::wstring text(kTextChars, L'\0');
  block.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t));
  text.resize(std::min<std::size_t>(static_cast<std::size_t>(copied), wcsnlen(text.c_str(), kTextChars)));
  return text;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM out) {
  reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
  return TRUE;
}

std::string ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  char text[32];
  std::snprintf(text, sizeof(text), "[%ld,%ld]", static_cast<long>(client.right), static_cast<long>(client.bottom));
  return text;
}

std::string Windows() {
  std::vector<HWND> found;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
  std::string out = "[";
  for (HWND window : found) {
    const std::wstring name = ClassOf(window);
    if (name.rfind(L"ProxySwitcher", 0) != 0) continue;
    RECT rect{};
    GetWindowRect(window, &rect);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (out.size() > 1) out += ",";
    out += "{\"hwnd\":" + Number(window) + ",\"class\":" + Json(name) + ",\"text\":" + Json(StoredText(window)) +
           ",\"rect\":" + RectJson(rect) + ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false") +
           ",\"enabled\":" + (IsWindowEnabled(window) ? "true" : "false") + ",\"pid\":" + std::to_string(pid) +
           ",\"style\":" + std::to_string(static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE))) +
           ",\"exstyle\":" + std::to_string(static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE))) +
           ",\"client\":" + ClientSize(window) + "}";
  }
  return out + "]";
}

std::string Tree(HWND root) {
  std::vector<HWND> found;
  EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&found));
  std::string out = "[";
  for (HWND window : found) {
    HWND parent = GetParent(window);
    RECT screen{};
    GetWindowRect(window, &screen);
    RECT place = screen;
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&place), 2);
    if (out.size() > 1) out += ",";
    out += "{\"hwnd\":" + Number(window) + ",\"parent\":" + Number(parent) +
           ",\"id\":" + std::to_string(GetDlgCtrlID(window)) + ",\"parentId\":" + std::to_string(GetDlgCtrlID(parent)) +
           ",\"class\":" + Json(ClassOf(window)) + ",\"text\":" + Json(TextOf(window)) +
           ",\"x\":" + std::to_string(place.left) + ",\"y\":" + std::to_string(place.top) +
           ",\"width\":" + std::to_string(screen.right - screen.left) +
           ",\"height\":" + std::to_string(screen.bottom - screen.top) + ",\"screen\":" + RectJson(screen) +
           ",\"visible\":" + (IsWindowVisible(window) ? "true" : "false") +
           ",\"enabled\":" + (IsWindowEnabled(window) ? "true" : "false") +
           ",\"style\":" + std::to_string(static_cast<unsigned long>(GetWindowLongW(window, GWL_STYLE))) +
           ",\"exstyle\":" + std::to_string(static_cast<unsigned long>(GetWindowLongW(window, GWL_EXSTYLE))) + "}";
  }
  return out + "]";
}

std::string Columns(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int count = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  RemoteBlock block(list, kTextOffset + kTextChars * sizeof(wchar_t));
  if (!block.Ok()) return "{\"error\":\"no remote memory\"}";
  std::string out = "[";
  for (int index = 0; index < count; ++index) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = reinterpret_cast<wchar_t*>(block.At(kTextOffset));
    column.cchTextMax = static_cast<int>(kTextChars);
    block.Write(0, &column, sizeof(column));
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(block.At(0)));
    block.Read(0, &column, sizeof(column));
    std::wstring text(kTextChars, L'\0');
    block.Read(kTextOffset, text.data(), kTextChars * sizeof(wchar_t));
    text.resize(wcsnlen(text.c_str(), kTextChars));
    if (index > 0) out += ",";
    out += "{\"text\":" + Json(text) + ",\"width\":" + std::to_string(column.cx) + "}";
  }
  return out + "]";
}

std::string Rows(HWND list, long long maximum) {
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = header != nullptr ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  RemoteBlock block(list, kTextOffset + kTextChars * sizeof(wchar_t));
  if (!block.Ok()) return "{\"error\":\"no remote memory\"}";
  std::string out = "{\"count\":" + std::to_string(count) + ",\"rows\":[";
  const int shown = maximum < 0 ? count : static_cast<int>(std::min<long long>(count, maximum));
  for (int row = 0; row < shown; ++row) {
    if (row > 0) out += ",";
    out += "[";
    for (int column = 0; column < columns; ++column) {
      if (column > 0) out += ",";
      out += Json(RemoteCell(list, block, row, column));
    }
    out += "]";
  }
  return out + "]}";
}

std::string ItemRect(HWND list, int row) {
  RemoteBlock block(list, sizeof(RECT));
  if (!block.Ok()) return "{\"error\":\"no remote memory\"}";
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  block.Write(0, &rect, sizeof(rect));
  const auto ok = SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.At(0)));
  if (ok == 0) return "null";
  block.Read(0, &rect, sizeof(rect));
  MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
  return RectJson(rect);
}

std::wstring FromHexUtf8(const std::string& hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  }
  if (bytes.empty()) return {};
  const int needed = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), needed);
  return text;
}

std::string Focus(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  if (!GetGUIThreadInfo(thread, &info)) return "null";
  return "{\"focus\":" + Number(info.hwndFocus) + ",\"focusId\":" + std::to_string(GetDlgCtrlID(info.hwndFocus)) +
         ",\"focusClass\":" + Json(info.hwndFocus != nullptr ? ClassOf(info.hwndFocus) : L"") +
         ",\"active\":" + Number(info.hwndActive) + ",\"foreground\":" + Number(GetForegroundWindow()) + "}";
}

std::string SetFocusTo(HWND window) {
  const DWORD target = GetWindowThreadProcessId(window, nullptr);
  const DWORD self = GetCurrentThreadId();
  const BOOL attached = AttachThreadInput(self, target, TRUE);
  HWND previous = SetFocus(window);
  if (attached) AttachThreadInput(self, target, FALSE);
  return previous != nullptr || GetLastError() == 0 ? "true" : "false";
}

std::string Run(const std::vector<std::string>& words) {
  const std::string& command = words[0];
  auto handle = [&](std::size_t i) { return ParseHandle(i < words.size() ? words[i] : ""); };
  if (command == "windows") return Windows();
  if (command == "tree") return Tree(handle(1));
  if (command == "columns") return Columns(handle(1));
  if (command == "rows") return Rows(handle(1), words.size() > 2 ? std::stoll(words[2]) : -1);
  if (command == "selection") {
    return std::to_string(SendMessageW(handle(1), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  }
  if (command == "lvexstyle") return std::to_string(SendMessageW(handle(1), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  if (command == "itemrect") return ItemRect(handle(1), words.size() > 2 ? std::stoi(words[2]) : 0);
  if (command == "text") return Json(TextOf(handle(1)));
  if (command == "settext") {
    const std::wstring text = FromHexUtf8(words.size() > 2 ? words[2] : "");
    return SendMessageW(handle(1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? "true" : "false";
  }
  if (command == "focus") return Focus(handle(1));
  if (command == "setfocus") return SetFocusTo(handle(1));
  return "{\"error\":\"unknown command\"}";
}

}  // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> words;
    std::stringstream fields(line);
    for (std::string word; std::getline(fields, word, '\t');) words.push_back(word);
    if (words.empty()) continue;
    if (words[0] == "quit") break;
    std::string answer;
    try {
      answer = Run(words);
    } catch (const std::exception&) {
      answer = "{\"error\":\"bad arguments\"}";
    }
    std::fputs(answer.c_str(), stdout);
    std::fputs("\n", stdout);
    std::fflush(stdout);
  }
  return 0;
}
