// Control IDs of the main and loading windows. Tools that drive the program
// from outside (the end-to-end harness) find controls by these numbers, so
// keep them stable; tests/e2e/harness.py mirrors this table by name.
#pragma once

enum ControlId : int {
  kId高级选择夹1 = 1000,
  kId标签7 = 1101,
  kId按钮9 = 1102,
  kId按钮10 = 1103,
  kId按钮5 = 1104,
  kIdTs = 1105,
  kId时间 = 1106,
  kId超级列表框2 = 1107,
  kId超级列表框1 = 1108,
  kId标签4 = 1109,
  kId分组框1 = 1110,
  kId进度条1 = 1111,
  kId标签2 = 1201,
  kId编辑框1 = 1202,
  kId标签3 = 1203,
  kId编辑框2 = 1204,
  kId标签1 = 1205,
  kId编辑框3 = 1206,
  kId按钮2 = 1207,
  kId按钮3 = 1208,
  kId超文本浏览框2 = 1301,
  kIdLoading标签1 = 1401,
};

// Window classes of the two top-level windows.
inline constexpr wchar_t kMainWindowClass[] = L"ProxySwitcherMain";
inline constexpr wchar_t kLoadingWindowClass[] = L"ProxySwitcherLoading";
