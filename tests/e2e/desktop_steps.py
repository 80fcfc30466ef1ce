"""Steps the closing and registry tests share: reading the prefix's registry,
the three ways a user closes the main window, the shell's folder browser, and
telling a clean exit from a crash.

The folder browser is walked by steps.browse(): give it paths in a uniquely
named folder below /tmp (Wine's "/" item).
"""
import pathlib
import subprocess
import time

from steps import active_dialog, browse, click_at, xdotool

CLOSE_BOX, ALT_F4, ESCAPE = "close box", "Alt+F4", "Esc"
CLOSERS = (CLOSE_BOX, ALT_F4, ESCAPE)


def wine(app, *args, check=False):
    """Runs a Wine program of the prefix (reg, taskkill, ...); returns its stdout."""
    return subprocess.run([app.env["WINE"], *args], env=app.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          text=True, errors="replace", check=check).stdout


def click_xy(app, x, y):
    xdotool(app, "mousemove", "--sync", x, y)
    xdotool(app, "click", 1)
    time.sleep(0.3)


def close_box_point(window_rect):
    """The middle of the close box of a fixed-frame window with a caption, as
    Wine draws it: right end of the caption bar, below the 3-pixel frame."""
    left, top, right, bottom = window_rect
    return right - 3 - 9, top + 3 + 9


def close_main_window(app, how):
    """Closes the main window the way a user does."""
    if how == CLOSE_BOX:
        click_xy(app, *close_box_point(app.main_window()["rect"]))
    elif how == ALT_F4:
        app.key(None, "alt+F4")
    elif how == ESCAPE:
        app.key(None, "Escape")
    else:
        raise ValueError(how)


def press_ok(app):
    """Presses the only button of the message box in front; returns its text."""
    hwnd, _, children = active_dialog(app)
    texts = [c["text"] for c in children if c["class"] == "Static" and c["text"]]
    buttons = [c for c in children if c["class"] == "Button"]
    click_at(app, buttons[0]["screen"])
    app.wait_until(lambda: app.probe("focus", app.main_window()["hwnd"])["active"] != hwnd, 10)
    return texts


def import_list(app, unix_path):
    """按钮9 "导入" with the given file; returns the texts of the box that follows."""
    app.click("按钮9")
    browse(app, None, unix_path)
    return press_ok(app)


def export_list(app, unix_folder):
    """按钮10 "导出" into the given folder; returns the texts of the box that follows."""
    app.click("按钮10")
    browse(app, None, unix_folder)
    return press_ok(app)


def crash_windows(app):
    """Captions of windows that Wine's crash handler shows (none when all is well)."""
    return [w["text"] for w in app.probe("windows")
            if "Program Error" in w["text"] or "winedbg" in w["text"].lower()]


def debuggers_in_prefix(app):
    """Pids of winedbg processes running in this test's prefix."""
    prefix = app.env["WINEPREFIX"].encode()
    found = []
    for entry in pathlib.Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            command = (entry / "cmdline").read_bytes()
            if b"winedbg" not in command:
                continue
            environment = (entry / "environ").read_bytes().split(b"\0")
        except OSError:
            continue
        if b"WINEPREFIX=" + prefix in environment:
            found.append(int(entry.name))
    return found


def wait_clean_exit(app, timeout):
    """Waits for the program to end after a close. Returns a list of problems:
    no exit in time, a crash handler, an exit code other than 0."""
    problems = []
    started = time.monotonic()
    try:
        code = app.process.wait(timeout)
    except subprocess.TimeoutExpired:
        return [f"still running {timeout} s after the close"] + \
            [f"crash window {t!r}" for t in crash_windows(app)]
    took = time.monotonic() - started
    problems += [f"crash window {t!r}" for t in crash_windows(app)]
    if debuggers_in_prefix(app):
        problems.append("winedbg runs in the prefix")
    if code != 0:
        problems.append(f"exit code {code:#x}" if code > 0 else f"exit code {code}")
    app.wait_exit(5)
    print(f"  ended {took:.1f} s after the close, exit code {code}")
    return problems
