"""End-to-end: the probe line, setting and cancelling a proxy, verifying a
whole list, and exporting and importing ip.txt through the shell's folder
browser.

Runs the real program under Wine against the local internet (localnet.py):
the IP-echo page tells a direct request (127.0.0.1, 本机直连) from one that
came through the live tinyproxy (127.0.0.2, 本地代理). The list to verify is
imported from a prepared ip.txt holding the live proxy, a port that never
answers (with the limit in 编辑框3 set to 2 s) and a closed port.

Wine's folder browser returns the item selected in its tree and ignores typed
text, so the test walks the tree with the keyboard: Right expands an item and
typed letters select the next item that starts with them. The files live in a
uniquely named folder below /tmp (Wine's "/" item), so the letters match one
item only. Writes <build>/screenshots/proxy-probe-line.png and
<build>/screenshots/proxy-verified.png.
"""
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

import harness
from localnet import LocalNet

INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
DIRECT_LINE = "你当前外网ip为:127.0.0.1 来自:本机直连"
PROXIED_LINE = "你当前外网ip为:127.0.0.2 来自:本地代理"
TIMED_OUT_LINE = "该代理ip测试超时，不可用！"
WORKING, TIMED_OUT = "正常", "超时"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, file=sys.stderr)


def registry_value(app, name):
    """The value's data as `reg query` prints it, or None when absent."""
    out = subprocess.run([app.env["WINE"], "reg", "query", INTERNET_SETTINGS, "/v", name], env=app.env,
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, errors="replace").stdout
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[0] == name:
            return parts[2].strip() if len(parts) == 3 else ""
    return None


def set_registry_proxy(app, server):
    for args in (["/v", "ProxyEnable", "/t", "REG_DWORD", "/d", "1"],
                 ["/v", "ProxyServer", "/t", "REG_SZ", "/d", server]):
        subprocess.run([app.env["WINE"], "reg", "add", INTERNET_SETTINGS, *args, "/f"], env=app.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)


def xdotool(app, *args):
    subprocess.run(["xdotool", *map(str, args)], env=app.env, check=True)


def click_at(app, rect):
    left, top, right, bottom = rect
    xdotool(app, "mousemove", "--sync", (left + right) // 2, (top + bottom) // 2)
    xdotool(app, "click", 1)
    time.sleep(0.3)


def active_dialog(app, timeout=15):
    """(hwnd, caption, children) of the window in front of the main window."""
    main = app.main_window()["hwnd"]

    def other():
        info = app.probe("focus", main)
        return info["active"] if info and info["active"] and info["active"] != main else None

    hwnd = app.wait_until(other, timeout)
    time.sleep(0.3)
    return hwnd, app.probe("text", hwnd), app.probe("tree", hwnd)


def answer_message_box(app, expected_caption, expected_text):
    """Reads the message box in front, checks it and presses its OK button."""
    try:
        hwnd, caption, children = active_dialog(app)
    except TimeoutError:
        check(False, f"no message box {expected_text!r}")
        return
    texts = [c["text"] for c in children if c["class"] == "Static" and c["text"]]
    check(caption == expected_caption, f"message box caption {caption!r}, expected {expected_caption!r}")
    check(texts == [expected_text], f"message box text {texts!r}, expected {expected_text!r}")
    buttons = [c for c in children if c["class"] == "Button"]
    check(len(buttons) == 1, f"message box buttons {[b['text'] for b in buttons]!r}, expected OK only")
    if buttons:
        click_at(app, buttons[0]["screen"])
    app.wait_until(lambda: app.probe("focus", app.main_window()["hwnd"])["active"] != hwnd, 10)


def browse(app, title, unix_path):
    """Chooses unix_path (below "/") in the folder browser the last click opened.
    None: cancel the dialog."""
    hwnd, _, children = active_dialog(app)
    statics = [c["text"] for c in children if c["class"] == "Static"]
    check(title in statics, f"browse dialog shows {statics!r}, expected the title {title!r}")
    buttons = {c["text"]: c for c in children if c["class"] == "Button"}
    if unix_path is None:
        click_at(app, buttons["Cancel"]["screen"])
        return
    tree = next(c for c in children if c["class"] == "SysTreeView32")
    left, top, _, _ = tree["screen"]
    # The first row is the desktop, already expanded; Right moves to its first
    # child, the "/" of the Unix file system.
    xdotool(app, "mousemove", "--sync", left + 40, top + 8)
    xdotool(app, "click", 1)
    time.sleep(0.3)
    xdotool(app, "key", "Right")
    for part in pathlib.PurePosixPath(unix_path).parts[1:]:
        time.sleep(0.5)
        xdotool(app, "key", "Right")  # expand the current folder
        time.sleep(0.7)
        xdotool(app, "type", "--delay", 40, part)
    time.sleep(0.5)
    click_at(app, buttons["OK"]["screen"])


def wine_path(unix_path):
    return "Z:" + str(unix_path).replace("/", "\\")


def wait_text(app, name, expected, timeout):
    try:
        app.wait_until(lambda: app.text(name) == expected, timeout)
        return True
    except TimeoutError:
        return False


def main():
    port = os.environ.get("PROXYSWITCHER_LOCALNET_PORT")
    if not port:
        print("PROXYSWITCHER_LOCALNET_PORT is not set", file=sys.stderr)
        return 1
    workdir = harness.build_dir() / "e2e-proxy-localnet"
    # Below /tmp with a name no other item of /tmp starts with.
    files = pathlib.Path(tempfile.mkdtemp(prefix="zzpsx", dir="/tmp"))
    try:
        with LocalNet(int(port), workdir) as net, harness.start() as app:
            try:
                run(app, net, files)
            except Exception:
                traceback.print_exc()
                failures.append("exception")
    finally:
        shutil.rmtree(files, ignore_errors=True)
    print(f"{len(failures)} failure(s)" if failures else "all proxy checks passed")
    return 1 if failures else 0


def run(app, net, files):
    live, dead, closed = net.proxy_port, net.dead_port, net.closed_port
    prepared = files / "list.txt"
    prepared.write_bytes(
        f"1,本地,127.0.0.1,{live},,,HTTP,,\r\n2,本地,127.0.0.1,{dead},,,HTTP,,\r\n"
        f"3,本地,127.0.0.1,{closed},,,HTTP,,\r\n".encode("gbk"))
    (files / "out").mkdir()

    # Start-up: whatever proxy was set before, the probe goes direct.
    set_registry_proxy(app, f"127.0.0.1:{dead}")
    app.wait_for_main_window(90)
    check(wait_text(app, "标签4", DIRECT_LINE, 20), f"start-up 标签4 {app.text('标签4')!r}")
    check(registry_value(app, "ProxyEnable") == "0x0", "start-up did not switch the system proxy off")
    app.screenshot("proxy-probe-line")

    # The folder dialog cancelled.
    app.click("按钮9")
    browse(app, "请选择导入文件", None)
    answer_message_box(app, "信息：", "导入文件选择错误，请重新选择!")
    app.click("按钮10")
    browse(app, "请选择存放路径", None)
    answer_message_box(app, "信息：", "路径选择错误，请重新选择!")
    check(app.list_count("超级列表框1") == 0, "a cancelled import added rows")

    # Import the prepared list.
    app.click("按钮9")
    browse(app, "请选择导入文件", prepared)
    answer_message_box(app, "信息：", "读取成功")
    rows = app.list_rows("超级列表框1")
    check([r[2:4] for r in rows] == [["127.0.0.1", str(p)] for p in (live, dead, closed)],
          f"imported rows {rows!r}")

    # Pick the live proxy and apply it.
    app.double_click_row("超级列表框1", 0)
    check(app.text("编辑框1") == "127.0.0.1" and app.text("编辑框2") == str(live),
          f"double-click gave {app.text('编辑框1')!r} {app.text('编辑框2')!r}")
    app.click("按钮2")
    check(wait_text(app, "标签4", PROXIED_LINE, 20), f"设置代理: 标签4 {app.text('标签4')!r}")
    check(registry_value(app, "ProxyEnable") == "0x1", "设置代理 left ProxyEnable off")
    check(registry_value(app, "ProxyServer") == f"127.0.0.1:{live}",
          f"设置代理: ProxyServer {registry_value(app, 'ProxyServer')!r}")

    # Cancel it.
    app.click("按钮3")
    check(wait_text(app, "标签4", DIRECT_LINE, 20), f"取消代理: 标签4 {app.text('标签4')!r}")
    check(registry_value(app, "ProxyEnable") == "0x0", "取消代理 left ProxyEnable on")
    check(registry_value(app, "ProxyServer") is None, "取消代理 left ProxyServer")

    # Verify the whole list with a 2 s limit.
    app.set_edit("编辑框3", "2")
    started = time.monotonic()
    app.click("按钮5")
    # While a request waits, the program takes messages sent from other
    # processes (how the harness reads it) only when the wait ends, so a look
    # at the window returns after the dead proxy's wait: check the outcome.
    try:
        harness.wait_until(lambda: app.control("按钮5")["enabled"], 60, interval=1)
    except TimeoutError:
        check(False, "verification did not finish")
    took = time.monotonic() - started
    check(took >= 2, f"verification took {took:.1f} s: the dead proxy was not waited for")
    verdicts = [r[4] for r in app.list_rows("超级列表框1")]
    check(verdicts == [WORKING, TIMED_OUT, TIMED_OUT], f"verdicts {verdicts!r}")
    check(app.text("标签4") == TIMED_OUT_LINE, f"after the run 标签4 {app.text('标签4')!r}")
    check(registry_value(app, "ProxyEnable") == "0x1", "the last row's proxy is not left applied")
    check(registry_value(app, "ProxyServer") == f"127.0.0.1:{closed}",
          f"after the run ProxyServer {registry_value(app, 'ProxyServer')!r}")
    check(app.text("编辑框1") == "127.0.0.1" and app.text("编辑框2") == str(closed), "edit boxes not the last row")
    app.screenshot("proxy-verified")

    # Export through the real dialog: the exact bytes.
    app.click("按钮10")
    browse(app, "请选择存放路径", files / "out")
    exported = files / "out" / "ip.txt"
    answer_message_box(app, "操作成功", wine_path(exported) + " 保存成功")
    expected = "".join(f"{i},本地,127.0.0.1,{p},{v},,HTTP,,\r\n"
                       for i, p, v in ((1, live, WORKING), (2, dead, TIMED_OUT), (3, closed, TIMED_OUT)))
    check(exported.exists() and exported.read_bytes() == expected.encode("gbk"),
          f"exported bytes {exported.read_bytes() if exported.exists() else None!r}")

    # Import the export: its rows are appended again.
    app.click("按钮9")
    browse(app, "请选择导入文件", exported)
    answer_message_box(app, "信息：", "读取成功")
    rows = app.list_rows("超级列表框1")
    check(len(rows) == 6 and rows[3:] == rows[:3], f"after importing the export: {rows!r}")

    # After the boxes the keyboard still reaches the main window.
    check(app.probe("focus", app.main_window()["hwnd"])["active"] == app.main_window()["hwnd"],
          "the main window is not active after the message box")
    app.close()
    app.wait_exit(30)


if __name__ == "__main__":
    sys.exit(main())
