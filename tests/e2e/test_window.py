"""End-to-end: start-up, the main window's layout, the lists, the keyboard.

Runs the real program twice under Wine (each run ends with Esc: once from an
edit box, once from a list). Writes <build>/screenshots/main-window.png.
"""
import os
import socket
import sys
import time
import traceback

import harness

WS_THICKFRAME = 0x00040000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000
WS_SYSMENU = 0x00080000
WS_CAPTION = 0x00C00000
WS_EX_APPWINDOW = 0x00040000
LVS_OWNERDATA = 0x1000
LVS_SHOWSELALWAYS = 0x0008
LVS_SINGLESEL = 0x0004
LVS_REPORT = 0x0001
LVS_EX_GRIDLINES = 0x1
LVS_EX_CHECKBOXES = 0x4
LVS_EX_TRACKSELECT = 0x8
LVS_EX_HEADERDRAGDROP = 0x10
LVS_EX_FULLROWSELECT = 0x20
LVS_EX_ONECLICKACTIVATE = 0x40
LVS_EX_TWOCLICKACTIVATE = 0x80
LVS_EDITLABELS = 0x0200

CAPTION = "ProxySwitcher 1.0[仅适合局域网上网用户] ProxySwitcher Team · support@proxyswitcher.example"

# name: (class, parent, x, y, width, height, text)
LAYOUT = {
    "高级选择夹1": ("SysTabControl32", None, 16, 24, 795, 544, ""),
    "标签7": ("Static", "高级选择夹1", 248, 8, 544, 16, "如一台服务器不好用请换另台"),
    "按钮9": ("Button", "高级选择夹1", 469, 36, 90, 24, "导入"),
    "按钮10": ("Button", "高级选择夹1", 564, 36, 92, 24, "导出"),
    "按钮5": ("Button", "高级选择夹1", 661, 36, 123, 24, "全自动效验可用性"),
    "ts": ("Static", "高级选择夹1", 223, 39, 169, 16, ""),
    "时间": ("Static", "高级选择夹1", 24, 40, 192, 16, ""),
    "超级列表框2": ("SysListView32", "高级选择夹1", 14, 64, 194, 400, ""),
    "超级列表框1": ("SysListView32", "高级选择夹1", 216, 64, 568, 400, ""),
    "标签4": ("Static", "高级选择夹1", 16, 471, 744, 24, None),  # the start-up probe writes it
    "分组框1": ("Button", "高级选择夹1", 8, 491, 776, 44, ""),
    "进度条1": ("msctls_progress32", "高级选择夹1", 9, 542, 600, 16, ""),
    "标签2": ("Static", "分组框1", 8, 18, 48, 16, "代理ip:"),
    "编辑框1": ("Edit", "分组框1", 64, 14, 160, 22, ""),
    "标签3": ("Static", "分组框1", 232, 16, 56, 16, "代理端口:"),
    "编辑框2": ("Edit", "分组框1", 296, 14, 104, 22, ""),
    "标签1": ("Static", "分组框1", 416, 16, 56, 16, "测试超时:"),
    "编辑框3": ("Edit", "分组框1", 473, 14, 39, 22, "10"),
    "按钮2": ("Button", "分组框1", 533, 13, 107, 22, "设置代理"),
    "按钮3": ("Button", "分组框1", 656, 13, 109, 22, "取消代理"),
    "超文本浏览框2": (None, "高级选择夹1", 5, 40, 787, 496, None),
}

COLUMNS = {
    "超级列表框2": [("ID", 30), ("更新服务器", 140), ("地址", 0), ("特性", 0)],
    "超级列表框1": [("ID", 40), ("国家/地区", 100), ("ip", 100), ("端口", 50), ("状态", 40), ("速度", 50),
                ("代理类型", 60), ("检测时间", 100)],
}

BROWSER_CLASSES = ("Shell Embedding", "Shell DocObject View", "Internet Explorer_Server")

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message)


class SilentEchoSite:
    """Accepts connections on the IP-echo address and never answers, so the
    start-up probe waits its whole time limit and the loading window stays up
    long enough to be seen."""

    def __init__(self):
        self.sock = None
        port = os.environ.get("PROXYSWITCHER_LOCALNET_PORT")
        if not port:
            return
        try:
            self.sock = socket.socket()
            self.sock.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            self.sock.bind(("127.0.0.17", int(port)))
            self.sock.listen(8)
        except OSError:
            self.sock = None

    def close(self):
        if self.sock is not None:
            self.sock.close()


def check_start_up(app, echo):
    if echo.sock is not None:
        loading = harness.wait_until(app.loading_window, 30)
        labels = app.probe("tree", loading["hwnd"])
        main = app.main_window()
        if app.loading_window() is None:
            # Only while the probe waits is the loading window sure to be up.
            print("note: the loading window went before it could be read")
        else:
            check(main is None or not main["visible"], "main window hidden while the loading window is up")
            app.screenshot("loading-window", whole_screen=True)
            check(len(labels) == 1, f"loading window holds one label: {labels}")
            for label in labels[:1]:
                check((label["x"], label["y"], label["width"], label["height"]) == (49, 1, 214, 24),
                      f"loading label place {label}")
                check(label["text"] == "数据加载中,与互联网同步请稍候...", f"loading label text {label['text']!r}")
        left, top, right, bottom = loading["rect"]
        check((right - left, bottom - top) == (311, 24), f"loading window size {right - left}x{bottom - top}")
        width, height = app.screen_size()
        check((left, top) == ((width - 311) // 2, (height - 24) // 2), f"loading window centred: {loading['rect']}")
        check(loading["style"] & WS_CAPTION == 0 and loading["style"] & WS_THICKFRAME == 0,
              "loading window has no caption and no frame")
    main = app.wait_for_main_window(90)
    harness.wait_until(lambda: app.loading_window() is None, 10)
    check(app.loading_window() is None, "loading window gone once the main window is active")
    return main


def check_main_window(app, main):
    check(main["text"] == CAPTION, f"caption {main['text']!r}")
    left, top, right, bottom = main["rect"]
    check((right - left, bottom - top) == (835, 622), f"outer size {right - left}x{bottom - top}")
    width, height = app.screen_size()
    check((left, top) == ((width - 835) // 2, (height - 622) // 2), f"centred: {main['rect']}")
    style = main["style"]
    check(style & WS_SYSMENU and style & WS_CAPTION, "caption and system menu")
    check(not style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), "fixed frame, no minimise/maximise box")
    check(main["exstyle"] & WS_EX_APPWINDOW, "task-bar button")


def check_layout(app):
    controls = app.controls()
    ids = {info["hwnd"]: name for name, info in controls.items()}
    for name, (cls, parent, x, y, width, height, text) in LAYOUT.items():
        info = controls.get(name)
        check(info is not None, f"{name} exists")
        if info is None:
            continue
        if cls is not None:
            check(info["class"] == cls, f"{name} class {info['class']}")
        check(ids.get(info["parent"]) == parent, f"{name} parent {ids.get(info['parent'])}")
        got = (info["x"], info["y"], info["width"], info["height"])
        check(got == (x, y, width, height), f"{name} place/size {got} != {(x, y, width, height)}")
        if text is not None:
            check(info["text"] == text, f"{name} text {info['text']!r} != {text!r}")
        visible_expected = name != "超文本浏览框2"  # page 1 is shown at start
        check(info["visible"] == visible_expected, f"{name} visible {info['visible']}")
    for name in ("超级列表框1", "超级列表框2"):
        style = controls[name]["style"]
        check(style & LVS_REPORT and style & LVS_SINGLESEL and not style & LVS_SHOWSELALWAYS,
              f"{name} report view, single selection, selection shown with focus only")
    check(controls["超级列表框1"]["style"] & LVS_OWNERDATA, "proxy list is owner-data")
    for name, drag in (("超级列表框1", LVS_EX_HEADERDRAGDROP), ("超级列表框2", 0)):
        extended = app.list_extended_style(name)
        unwanted = (LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE
                    | LVS_EX_TWOCLICKACTIVATE)
        check(extended & LVS_EX_FULLROWSELECT and not extended & unwanted, f"{name} extended style {extended:#x}")
        check(extended & LVS_EX_HEADERDRAGDROP == drag, f"{name} header drag-and-drop {extended:#x}")
        check(not controls[name]["style"] & LVS_EDITLABELS, f"{name} no label editing")
    for name, columns in COLUMNS.items():
        got = app.list_columns(name)
        check(got == columns, f"{name} columns {got}")
    check(app.list_count("超级列表框1") == 0, "proxy list starts empty")
    check(app.text("ts") == "" and app.text("时间") == "", "status labels start empty")


def check_source_list(app):
    rows = app.list_rows("超级列表框2")
    check(len(rows) == 41, f"41 sources, got {len(rows)}")
    check([r[0] for r in rows] == [str(n) for n in range(1, 42)], "IDs 1..41 in order")
    port = os.environ.get("PROXYSWITCHER_LOCALNET_PORT")
    expected = {
        0: ("最快HTTP代理服务器", "/http_fast.html", "5u", "127.0.0.11"),
        5: ("会寻今日代理", "/proxy/today.txt", "会寻", "127.0.0.13"),
        16: ("纯真最新代理socks1", "/proxy/socks4.shtml", "纯真", "127.0.0.14"),
        40: ("代理服务器网10-HTTP", "/proxy10.html", "代理服务器网", "127.0.0.16"),
    }
    for index, (name, path, key, host) in expected.items():
        if index >= len(rows):
            break
        row = rows[index]
        check(row[1] == name and row[3] == key and row[2].endswith(path), f"source row {index + 1}: {row}")
        if port:
            check(row[2] == f"http://{host}:{port}{path}", f"source URL {row[2]}")


def check_single_click_selects_only(app):
    check(app.selection("超级列表框2") == -1, "no source selected at start")
    app.click_row("超级列表框2", 3)
    check(app.selection("超级列表框2") == 3, "a click selects the row")
    time.sleep(1.0)
    check(app.text("ts") == "", f"a single click loads nothing (ts={app.text('ts')!r})")
    check(app.control("超级列表框2")["enabled"], "source list still enabled")


def check_focus_keys(app):
    app.key("编辑框1", "Tab")
    check(app.focused() == "编辑框2", f"Tab from 编辑框1 goes to 编辑框2, got {app.focused()}")
    app.key(None, "Return")
    check(app.focused() == "编辑框2", f"Enter does not move the focus, got {app.focused()}")
    app.key(None, "shift+Tab")
    check(app.focused() == "编辑框1", f"shift+Tab goes back to 编辑框1, got {app.focused()}")


def check_second_page(app):
    # The second tab sits right of the first one, on the tab strip.
    app.click("高级选择夹1", 120, 10)
    harness.wait_until(lambda: app.control("超文本浏览框2")["visible"], 5)
    check(not app.control("超级列表框1")["visible"], "page 1 hidden on page 2")
    app.screenshot("second-page")
    # The browser takes part in Tab (without its engine it keeps the focus
    # on its host window).
    app.key(None, "Tab")
    focus = app.focused()
    check(focus == "超文本浏览框2" or focus in BROWSER_CLASSES, f"Tab reaches the browser, focus: {focus}")
    app.click("高级选择夹1", 40, 10)
    harness.wait_until(lambda: app.control("超级列表框1")["visible"], 5)
    check(not app.control("超文本浏览框2")["visible"], "browser hidden on page 1")


def run_first():
    echo = SilentEchoSite()
    app = harness.start()
    try:
        main = check_start_up(app, echo)
        check_main_window(app, main)
        check_layout(app)
        check_source_list(app)
        print("screenshot:", app.screenshot("main-window"))
        check_single_click_selects_only(app)
        check_focus_keys(app)
        check_second_page(app)
        app.key("编辑框1", "Escape")
        code = app.wait_exit(30)
        check(code == 0, f"exit code {code} after Esc in an edit box")
    except Exception:
        failures.append(traceback.format_exc())
        print(failures[-1])
        app.kill()
    finally:
        echo.close()


def run_second():
    app = harness.start()
    try:
        app.wait_for_main_window(90)
        app.click_row("超级列表框2", 0)
        check(app.focused() == "超级列表框2", "the source list has the focus")
        check(app.text("ts") == "", "nothing loaded before Enter")
        # Enter on a selected source row activates it: the load starts (no site
        # answers here, so it ends at once).
        app.key(None, "Return")
        status = harness.wait_until(lambda: app.text("ts"), 30)
        check(status in ("正在加载请稍候...", "加载完毕"), f"Enter loads the source: ts={status!r}")
        harness.wait_until(lambda: app.control("超级列表框2")["enabled"], 60)
        # A double-click on the empty space of the proxy list reaches its
        # handler, with no row selected: the address box is emptied.
        app.set_edit("编辑框1", "192.0.2.1")
        app.double_click("超级列表框1", 300, 300)
        try:
            harness.wait_until(lambda: app.text("编辑框1") == "", 10)
        except TimeoutError:
            check(False, f"double-click below the rows reaches the handler: {app.text('编辑框1')!r}")
        app.key("超级列表框2", "Escape")
        code = app.wait_exit(30)
        check(code == 0, f"exit code {code} after Esc in a list")
    except Exception:
        failures.append(traceback.format_exc())
        print(failures[-1])
        app.kill()


def main():
    run_first()
    run_second()
    if failures:
        print(f"{len(failures)} check(s) failed")
        return 1
    print("all window checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
