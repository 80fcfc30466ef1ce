"""Steps a user takes, shared by the end-to-end tests: reading the registry
the program writes, pressing keys, answering message boxes, walking Wine's
folder browser, loading a source and waiting for its rows.

Every check goes through check(), which records a failure and lets the test go
on, so one run reports everything that is wrong; failures holds them.
"""
import json
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import time

from localnet import ADDRESSES

HERE = pathlib.Path(__file__).resolve().parent
EXPECTED = json.loads((HERE / "sites" / "expected.json").read_text(encoding="utf-8"))
SITE_BY_ADDRESS = {address: site for site, address in ADDRESSES.items()}

INTERNET_SETTINGS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings"
DIRECT_LINE = "你当前外网ip为:127.0.0.1 来自:本机直连"
PROXIED_LINE = "你当前外网ip为:127.0.0.2 来自:本地代理"
TIMED_OUT_LINE = "该代理ip测试超时，不可用！"
WORKING, TIMED_OUT = "正常", "超时"
LOADING, DONE = "正在加载请稍候...", "加载完毕"

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, file=sys.stderr)
    return bool(condition)


def report(what):
    print(f"{len(failures)} failure(s)" if failures else f"all {what} checks passed")
    return 1 if failures else 0


def localnet_port():
    """The port of the local internet the build's site hosts point at."""
    port = os.environ.get("PROXYSWITCHER_LOCALNET_PORT")
    if not port:
        sys.exit("PROXYSWITCHER_LOCALNET_PORT is not set")
    return int(port)


def browsable_folder(prefix):
    """A new folder for list files, below /tmp with a name no other item of /tmp
    starts with (prefix must make it so), for browse()'s type-ahead."""
    return pathlib.Path(tempfile.mkdtemp(prefix=prefix, dir="/tmp"))


# The registry, as `wine reg` sees it.

def wine_reg(app, *args, attempts=5, listed=None):
    """Runs `wine reg ARGS` in the program's prefix; returns its output.

    Now and then a `wine reg` fails (exit code 1, or no output); it has been
    seen just after a program of the prefix ended and while one started. A
    failed call is tried again, with a note of what Wine said, and only a
    command that keeps failing fails the test. listed, when given, is a text
    the output must hold to count as read."""
    env = app.env
    for attempt in range(attempts):
        run = subprocess.run([app.env["WINE"], "reg", *args], env=env, stdout=subprocess.PIPE,
                             stderr=subprocess.PIPE, text=True, errors="replace")
        if run.returncode == 0 and (listed is None or listed.lower() in run.stdout.lower()):
            return run.stdout
        print(f"wine reg {args[0]} failed (exit code {run.returncode}, output {run.stdout.strip()[-200:]!r}, "
              f"errors {run.stderr.strip()[-600:]!r}); trying again", file=sys.stderr)
        env = {**app.env, "WINEDEBUG": "err+all,fixme-all"}  # the next attempt says what went wrong
        time.sleep(1 + attempt)
    raise RuntimeError(f"wine reg {' '.join(args)} failed {attempts} times")


def internet_settings(app):
    """{value name: data as `reg query` prints it} of the Internet Settings key."""
    values = {}
    for line in wine_reg(app, "query", INTERNET_SETTINGS, listed="\\Internet Settings").splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2].strip() if len(parts) == 3 else ""
    return values


def registry_value(app, name):
    """The value's data as `reg query` prints it, or None when absent."""
    return internet_settings(app).get(name)


def set_registry_proxy(app, server):
    wine_reg(app, "add", INTERNET_SETTINGS, "/v", "ProxyEnable", "/t", "REG_DWORD", "/d", "1", "/f")
    wine_reg(app, "add", INTERNET_SETTINGS, "/v", "ProxyServer", "/t", "REG_SZ", "/d", server, "/f")


# Input.

def xdotool(app, *args):
    subprocess.run(["xdotool", *map(str, args)], env=app.env, check=True)


def click_at(app, rect):
    left, top, right, bottom = rect
    xdotool(app, "mousemove", "--sync", (left + right) // 2, (top + bottom) // 2)
    xdotool(app, "click", 1)
    time.sleep(0.3)


def press(app, name, keysym):
    """app.key, with the pointer first moved off the main window's corner:
    the harness moves it there with --sync, which waits long when the pointer
    is already in place."""
    x, y = app._point("标签7")
    subprocess.run(["xdotool", "mousemove", str(x), str(y)], env=app.env)
    app.key(name, keysym)


def wait_text(app, name, expected, timeout):
    try:
        app.wait_until(lambda: app.text(name) == expected, timeout)
        return True
    except TimeoutError:
        return False


# Dialogs.

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
    """Chooses unix_path (below "/") in the folder browser the last click opened,
    after checking its title (unless title is None). unix_path None: cancel.

    Wine's folder browser returns the item selected in its tree and ignores
    typed text, so this walks the tree with the keyboard: Right expands an item
    and typed letters select the next item that starts with them. Give it a
    path whose every part is the only item of its folder starting that way."""
    hwnd, _, children = active_dialog(app)
    statics = [c["text"] for c in children if c["class"] == "Static"]
    if title is not None:
        check(title in statics, f"browse dialog shows {statics!r}, expected the title {title!r}")
    buttons = {c["text"]: c for c in children if c["class"] == "Button"}
    if unix_path is None:
        click_at(app, buttons["Cancel"]["screen"])
        return
    walk_folder_tree(app, children, unix_path)
    time.sleep(0.5)
    click_at(app, buttons["OK"]["screen"])


def walk_folder_tree(app, children, unix_path):
    """Selects unix_path in the tree among a folder browser's children."""
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


def wine_path(unix_path):
    return "Z:" + str(unix_path).replace("/", "\\")


# Sources.

def expected_rows(url):
    """The rows the sample page behind a source URL should give."""
    m = re.match(r"http://([0-9.]+):\d+(/.*)$", url)
    site = SITE_BY_ADDRESS[m.group(1)]
    path = "/index.html" if m.group(2) == "/" else m.group(2)
    return EXPECTED[site][path]


def bring_into_view(app, row):
    """Scrolls the source list until row is visible: the rows below the first
    screenful come into view when the selection moves to the last row."""
    left, top, right, bottom = app.control("超级列表框2")["screen"]
    rect = app.probe("itemrect", app.control("超级列表框2")["hwnd"], row)
    if rect and top < (rect[1] + rect[3]) // 2 < bottom - 20:
        return
    app.click_row("超级列表框2", 0)
    press(app, "超级列表框2", "End")


def activate(app, row, how):
    """Loads source row by "double-click" or by "enter"."""
    bring_into_view(app, row)
    if how == "double-click":
        app.double_click_row("超级列表框2", row)
    else:
        app.click_row("超级列表框2", row)
        press(app, "超级列表框2", "Return")


def load_next(app, row, source):
    """Loads source row of the list the way a keyboard user walks it: Home
    selects the first row and Down the next one, scrolling as needed, and
    Enter loads it. Returns (loaded as expected, expected rows, seconds)."""
    press(app, "超级列表框2", "Home" if row == 0 else "Down")
    press(app, "超级列表框2", "Return")
    rows = expected_rows(source[2])
    started = time.monotonic()
    loaded = wait_loaded(app, rows)
    return loaded, rows, time.monotonic() - started


def wait_loaded(app, rows, timeout=40):
    """Waits until the load is done and the proxy list holds exactly rows."""
    def done():
        return (app.text("ts") == DONE and app.control("超级列表框2")["enabled"]
                and app.list_count("超级列表框1") == len(rows) and app.list_rows("超级列表框1") == rows)
    try:
        app.wait_until(done, timeout)
        return True
    except TimeoutError:
        return False
