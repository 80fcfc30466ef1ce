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
import shutil
import sys
import time
import traceback

import harness
from localnet import LocalNet
from steps import (DIRECT_LINE, PROXIED_LINE, TIMED_OUT, TIMED_OUT_LINE, WORKING, answer_message_box,
                   browsable_folder, browse, check, localnet_port, registry_value, report, set_registry_proxy,
                   wait_text, wine_path)


def main():
    workdir = harness.build_dir() / "e2e-proxy-localnet"
    files = browsable_folder("zzpsx")
    try:
        # Whatever proxy was set before the start, the start-up probe goes direct.
        with LocalNet(localnet_port(), workdir) as net, \
                harness.start(before_start=lambda app: set_registry_proxy(app, f"127.0.0.1:{net.dead_port}")) as app:
            try:
                run(app, net, files)
            except Exception:
                traceback.print_exc()
                check(False, "exception")
    finally:
        shutil.rmtree(files, ignore_errors=True)
    return report("proxy")


def run(app, net, files):
    live, dead, closed = net.proxy_port, net.dead_port, net.closed_port
    prepared = files / "list.txt"
    prepared.write_bytes(
        f"1,本地,127.0.0.1,{live},,,HTTP,,\r\n2,本地,127.0.0.1,{dead},,,HTTP,,\r\n"
        f"3,本地,127.0.0.1,{closed},,,HTTP,,\r\n".encode("gbk"))
    (files / "out").mkdir()

    # Start-up: the proxy set before the start is switched off, the probe goes direct.
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
