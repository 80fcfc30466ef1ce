"""End-to-end: the user ends the program while a handler waits for the network.

Each case brings the real program into one wait and closes the main window
with the close box, Alt+F4 or Esc; every case runs several times. The program
must end within a few seconds, with exit code 0 and no crash handler, and
leave the system proxy as the last action before the close set it.

The waits, each against a loopback listener that accepts and never answers
(localnet.DeadPort):
  - the start-up probe: the IP-echo address is silent. The main window is
    still hidden then, so the user can only press keys on the loading window;
    the task list's "End task" (taskkill, which posts WM_CLOSE to every window
    of the program) stands in for the close box;
  - a 5u load: the 5u address is silent, the load waits for its 10 s limit;
  - the probe after "设置代理" with a silent proxy and a 30 s limit;
  - VerifyAll over an imported list whose second row is the silent proxy.
Nothing listens on the other site addresses, so the start-up probe of the
later cases fails at once.
"""
import os
import pathlib
import shutil
import sys
import tempfile
import time
import traceback

import harness
from desktop_steps import ALT_F4, CLOSERS, ESCAPE, close_main_window, import_list, wait_clean_exit, wine
from localnet import ADDRESSES, DeadPort, free_port
from steps import internet_settings, set_registry_proxy, xdotool

REPEATS = 3  # about a minute a round
EXIT_SECONDS = 10
END_TASK = "End task"
LOADING_SOURCE = "正在加载请稍候..."
UPDATING_LINE = "正在更新你的当前ip,如显示乱码即此ip不可用....."

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, file=sys.stderr)


class Case:
    """One wait: start() brings a started program into it; proxy is the system
    proxy that must be left behind (ProxyEnable, ProxyServer or None); the
    sites named in silent_sites accept and never answer meanwhile."""

    def __init__(self, name, start, closers, proxy, silent_sites=()):
        self.name, self.start, self.closers, self.proxy = name, start, closers, proxy
        self.silent_sites = silent_sites


def start_up_wait(app, ports):
    harness.wait_until(app.loading_window, 30)
    # Nothing of the main window can be used yet.
    main = app.main_window()
    check(main is None or not main["visible"], "main window visible during the start-up probe")


def five_u_wait(app, ports):
    app.wait_for_main_window(60)
    app.double_click_row("超级列表框2", 0)  # 最快HTTP代理服务器, a 5u source
    harness.wait_until(lambda: app.text("ts") == LOADING_SOURCE and not app.control("超级列表框2")["enabled"], 10)


def set_proxy_wait(app, ports):
    app.wait_for_main_window(60)
    app.set_edit("编辑框1", "127.0.0.1")
    app.set_edit("编辑框2", str(ports["silent"]))
    app.set_edit("编辑框3", "30")
    app.click("按钮2")
    harness.wait_until(lambda: app.text("标签4") == UPDATING_LINE, 10)


def verify_all_wait(app, ports):
    app.wait_for_main_window(60)
    texts = import_list(app, ports["list"])
    check(texts == ["读取成功"], f"import answered {texts!r}")
    app.set_edit("编辑框3", "30")
    app.click("按钮5")
    # The first row (a closed port) fails at once; the second one waits.
    harness.wait_until(lambda: app.text("编辑框2") == str(ports["silent"]) and
                       app.text("标签4") == UPDATING_LINE, 15)
    check(not app.control("按钮5")["enabled"], "按钮5 enabled during VerifyAll")


def run_case(case, closer, ports):
    print(f"{case.name}, {closer}")
    listeners = [DeadPort(ADDRESSES[site], ports["site"]) for site in case.silent_sites]
    # Whatever was set before, the start-up probe switches the proxy off.
    app = harness.start(before_start=lambda app: set_registry_proxy(app, f"127.0.0.1:{ports['closed']}"))
    try:
        case.start(app, ports)
        if case.name == "start-up probe":
            close_during_start_up(app, closer)
        else:
            close_main_window(app, closer)
        problems = wait_clean_exit(app, EXIT_SECONDS)
        check(not problems, f"{case.name}, {closer}: {problems}")
        if not problems:
            values = internet_settings(app)
            got = (values.get("ProxyEnable"), values.get("ProxyServer"))
            check(got == case.proxy, f"{case.name}, {closer}: system proxy {got}, expected {case.proxy}")
    except Exception:
        failures.append(f"{case.name}, {closer}: {traceback.format_exc()}")
        print(failures[-1], file=sys.stderr)
    finally:
        if app.process.poll() is None:
            app.kill()
        for listener in listeners:
            listener.close()


def close_during_start_up(app, closer):
    """The main window is hidden: End task closes every window of the program;
    the keys reach only the loading window, after which the program goes on,
    shows its main window once the probe gives up and ends on Esc."""
    if closer == END_TASK:
        wine(app, "taskkill", "/im", pathlib.Path(app.exe).name)
        return
    loading = app.loading_window()
    if loading is not None:
        # Without a window manager X sends keys to the window under the pointer.
        left, top, right, bottom = loading["rect"]
        xdotool(app, "mousemove", "--sync", (left + right) // 2, (top + bottom) // 2)
    xdotool(app, "key", "alt+F4" if closer == ALT_F4 else "Escape")
    app.wait_for_main_window(40)
    close_main_window(app, ESCAPE)


def main():
    port = os.environ.get("PROXYSWITCHER_LOCALNET_PORT")
    if not port:
        print("PROXYSWITCHER_LOCALNET_PORT is not set", file=sys.stderr)
        return 1
    silent = DeadPort()
    closed = free_port()
    files = pathlib.Path(tempfile.mkdtemp(prefix="zzpsc", dir="/tmp"))
    try:
        rows = files / "list.txt"
        rows.write_bytes(f"1,本地,127.0.0.1,{closed},,,HTTP,,\r\n2,本地,127.0.0.1,{silent.port},,,HTTP,,\r\n"
                         f"3,本地,127.0.0.1,{closed},,,HTTP,,\r\n".encode("gbk"))
        ports = {"site": int(port), "silent": silent.port, "closed": closed, "list": rows}
        applied = ("0x1", f"127.0.0.1:{silent.port}")
        cases = [
            Case("start-up probe", start_up_wait, (END_TASK, ALT_F4, ESCAPE), ("0x0", None), ["ipecho"]),
            Case("5u load", five_u_wait, CLOSERS, ("0x0", None), ["5u"]),
            Case("probe after 设置代理", set_proxy_wait, CLOSERS, applied),
            Case("VerifyAll", verify_all_wait, CLOSERS, applied),
        ]
        # A word on the command line runs only the cases whose names hold it.
        chosen = [c for c in cases if len(sys.argv) < 2 or sys.argv[1] in c.name]
        repeats = int(sys.argv[2]) if len(sys.argv) > 2 else REPEATS
        started = time.monotonic()
        for case in chosen:
            for closer in case.closers:
                for _ in range(repeats):
                    run_case(case, closer, ports)
        print(f"closing cases took {time.monotonic() - started:.0f} s")
    finally:
        silent.close()
        shutil.rmtree(files, ignore_errors=True)
    print(f"{len(failures)} failure(s)" if failures else "all closing checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
