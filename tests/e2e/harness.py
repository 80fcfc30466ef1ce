"""Drives the real proxyswitcher.exe under Wine from outside, as a user would.

Reading goes through uiprobe.exe (tests/e2e/uiprobe), a console program that
runs in the same Wine prefix and answers one JSON line per command; input is
real X input through xdotool; screenshots come from ImageMagick's `import`.

Environment (add_test in tests/e2e/window.cmake sets it; copy that block):
    PROXYSWITCHER_BUILD_DIR   the Windows build folder (prefix: <build>/wineprefix
                              unless WINEPREFIX is set; screenshots: <build>/screenshots)
    PROXYSWITCHER_EXE         the program;  PROXYSWITCHER_UIPROBE  the probe
    PROXYSWITCHER_SCRIPTS_DIR scripts/ (wine-env.sh)
    DISPLAY                   used when set; otherwise a private Xvfb is started
Give every end-to-end test `RESOURCE_LOCK proxyswitcher_desktop`: programs sharing
one display and prefix would steal each other's clicks and windows.

API (names of controls are the program's Chinese names, see CONTROL_IDS):

    import harness
    app = harness.start()                  # starts the exe; returns an App
    harness.start(before_start=f)          # f(app) runs first, with app.env and app.probe ready
    app.wait_for_main_window(timeout=60)   # main window visible; returns its info dict
    app.loading_window()                   # the loading window's info dict or None
    app.main_window()                      # the main window's info dict or None
    app.controls()                         # {name: info} for every known control
    app.control(name)                      # info dict of one control:
        # hwnd, id, class, text, x, y, width, height (relative to its parent),
        # screen [l, t, r, b], visible, enabled, style, exstyle
    app.text(name)                         # current text of a control
    app.list_columns(name)                 # [(header text, width), ...]
    app.list_rows(name, limit=None)        # [[cell, ...], ...] (all columns)
    app.list_count(name)                   # number of rows
    app.selection(name)                    # first selected row or -1
    app.list_extended_style(name)          # LVS_EX_* bits
    app.focused()                          # name of the control with the focus (or class)
    app.click(name, dx=None, dy=None)      # left click; default: centre of the control
    app.click_row(name, row)               # single click on a list row
    app.double_click_row(name, row)        # double click on a list row
    app.double_click(name, dx, dy)         # double click at a point of the control's window
    app.key(name_or_None, keysym)          # focus name first (if given), then press the key
                                           # ("Escape", "Return", "Tab", "shift+Tab", "space")
    app.set_edit(name, text)               # WM_SETTEXT
    app.screen_size()                      # (width, height) of the X screen
    app.screenshot(name, whole_screen=False)  # <build>/screenshots/<name>.png of the main window's
                                           # area (the whole screen when asked or without one)
    app.wait_until(predicate, timeout=10)  # polls predicate() until true; returns its value
    app.close()                            # WM_CLOSE through the close key (Alt+F4 path not used)
    app.wait_exit(timeout=30)              # the exit code, or raises on time-out
    app.kill()                             # last resort; ends the program and this prefix's wineserver

    with harness.start() as app: ...       # kill() on leaving if still running

Module helpers: harness.wait_until(predicate, timeout), harness.build_dir().
"""
from __future__ import annotations

import json
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

# Control IDs, as in app/ControlIds_win32.h.
CONTROL_IDS = {
    "高级选择夹1": 1000,
    "标签7": 1101,
    "按钮9": 1102,
    "按钮10": 1103,
    "按钮5": 1104,
    "ts": 1105,
    "时间": 1106,
    "超级列表框2": 1107,
    "超级列表框1": 1108,
    "标签4": 1109,
    "分组框1": 1110,
    "进度条1": 1111,
    "标签2": 1201,
    "编辑框1": 1202,
    "标签3": 1203,
    "编辑框2": 1204,
    "标签1": 1205,
    "编辑框3": 1206,
    "按钮2": 1207,
    "按钮3": 1208,
    "超文本浏览框2": 1301,
}
LOADING_LABEL_ID = 1401
MAIN_CLASS = "ProxySwitcherMain"
LOADING_CLASS = "ProxySwitcherLoading"

_HERE = Path(__file__).resolve().parent


def build_dir() -> Path:
    value = os.environ.get("PROXYSWITCHER_BUILD_DIR")
    if not value:
        raise RuntimeError("PROXYSWITCHER_BUILD_DIR is not set (run through ctest)")
    return Path(value)


def wait_until(predicate, timeout: float = 10.0, interval: float = 0.2):
    """Calls predicate() until it returns a true value; returns it. Raises TimeoutError."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"condition not met within {timeout} s")
        time.sleep(interval)


class _Environment:
    """Wine prefix, display and the environment every Windows program gets."""

    def __init__(self):
        self.build = build_dir()
        self.scripts = Path(os.environ.get("PROXYSWITCHER_SCRIPTS_DIR", _HERE.parent.parent / "scripts"))
        self.env = dict(os.environ)
        self.env.setdefault("WINEPREFIX", str(self.build / "wineprefix"))
        self.xvfb = None
        if not self.env.get("DISPLAY"):
            self._start_xvfb()
        # wine-env.sh decides the loader (64-bit where 32-bit Linux programs cannot run).
        out = subprocess.run(
            ["bash", "-c", f'source "{self.scripts}/wine-env.sh" && wine_prefix_ready && env -0'],
            env=self.env, check=True, stdout=subprocess.PIPE).stdout
        for item in out.split(b"\0"):
            if b"=" in item:
                key, value = item.decode(errors="replace").split("=", 1)
                if key.startswith("WINE"):
                    self.env[key] = value
        self.wine = self.env["WINE"]
        self._link_cjk_font()

    def _start_xvfb(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        self.env["DISPLAY"] = f":{number}"

    def _link_cjk_font(self):
        # The prefix's ANSI code page is 1252, so Wine links no CJK font to the
        # UI fonts (Tahoma, MS Shell Dlg) and Chinese shows as boxes. Link
        # WenQuanYi Micro Hei to them, as a Chinese system links its own.
        marker = Path(self.env["WINEPREFIX"]) / ".proxyswitcher-cjk-fontlink"
        if marker.exists():
            return
        key = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink"
        for face in ("Tahoma", "MS Shell Dlg", "MS Shell Dlg 2", "Microsoft Sans Serif", "MS Sans Serif"):
            subprocess.run([self.wine, "reg", "add", key, "/v", face, "/t", "REG_MULTI_SZ", "/d",
                            "wqy-microhei.ttc,WenQuanYi Micro Hei", "/f"],
                           env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([self.env.get("WINESERVER", "wineserver"), "-w"], env=self.env)
        marker.touch()

    def close(self):
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait(10)
            self.xvfb = None


class App:
    """One running proxyswitcher.exe. Create it with start()."""

    def __init__(self, exe: str | None = None, extra_env: dict | None = None, before_start=None):
        self._environment = _Environment()
        self.env = dict(self._environment.env)
        if extra_env:
            self.env.update(extra_env)
        self.exe = exe or os.environ["PROXYSWITCHER_EXE"]
        self._probe = subprocess.Popen([self._environment.wine, os.environ["PROXYSWITCHER_UIPROBE"]],
                                       env=self.env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                       stderr=subprocess.DEVNULL, text=True, encoding="ascii")
        # Windows left by an earlier run in this prefix are not ours.
        self._foreign = {w["hwnd"] for w in self.probe("windows")}
        if before_start is not None:
            before_start(self)  # e.g. a registry setting the program must find at start
        self.process = subprocess.Popen([self._environment.wine, self.exe], env=self.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.exit_code = None
        self._main = None

    # context manager
    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.kill()
        self._shutdown()
        return False

    # ---- the probe -------------------------------------------------------
    def probe(self, *words):
        """Sends one command to uiprobe; returns its decoded JSON answer."""
        line = "\t".join(str(w) for w in words)
        self._probe.stdin.write(line + "\n")
        self._probe.stdin.flush()
        answer = self._probe.stdout.readline()
        if not answer:
            raise RuntimeError("uiprobe ended")
        return json.loads(answer)

    def _windows(self, cls):
        return [w for w in self.probe("windows") if w["class"] == cls and w["hwnd"] not in self._foreign]

    def main_window(self):
        """The main window's info (hwnd, class, text, rect, visible, enabled) or None."""
        found = self._windows(MAIN_CLASS)
        return found[0] if found else None

    def loading_window(self):
        found = self._windows(LOADING_CLASS)
        return found[0] if found else None

    def wait_for_main_window(self, timeout: float = 60.0):
        """Waits until the main window is visible; returns its info."""
        def visible_main():
            if self.process.poll() is not None:
                raise RuntimeError(f"program ended with {self.process.returncode}")
            w = self.main_window()
            return w if w and w["visible"] else None
        self._main = wait_until(visible_main, timeout)
        return self._main

    def _main_hwnd(self):
        if self._main is None:
            self._main = self.main_window()
        if self._main is None:
            raise RuntimeError("no main window")
        return self._main["hwnd"]

    def controls(self):
        """{name: info} for every control of CONTROL_IDS that exists."""
        by_id = {c["id"]: c for c in self.probe("tree", self._main_hwnd())}
        return {name: by_id[cid] for name, cid in CONTROL_IDS.items() if cid in by_id}

    def control(self, name: str):
        cid = CONTROL_IDS[name]
        for c in self.probe("tree", self._main_hwnd()):
            if c["id"] == cid:
                return c
        raise KeyError(name)

    def text(self, name: str) -> str:
        return self.probe("text", self.control(name)["hwnd"])

    def list_columns(self, name: str):
        return [(c["text"], c["width"]) for c in self.probe("columns", self.control(name)["hwnd"])]

    def list_rows(self, name: str, limit: int | None = None):
        answer = self.probe("rows", self.control(name)["hwnd"], -1 if limit is None else limit)
        return answer["rows"]

    def list_count(self, name: str) -> int:
        return self.probe("rows", self.control(name)["hwnd"], 0)["count"]

    def selection(self, name: str) -> int:
        return self.probe("selection", self.control(name)["hwnd"])

    def list_extended_style(self, name: str) -> int:
        """LVS_EX_* bits of a list view."""
        return self.probe("lvexstyle", self.control(name)["hwnd"])

    def focused(self):
        """Name of the control with the keyboard focus; its class when unnamed; None."""
        info = self.probe("focus", self._main_hwnd())
        if not info or not info["focus"]:
            return None
        for name, cid in CONTROL_IDS.items():
            if cid == info["focusId"]:
                return name
        return info["focusClass"]

    def set_edit(self, name: str, text: str):
        return self.probe("settext", self.control(name)["hwnd"], text.encode("utf-8").hex())

    # ---- input -----------------------------------------------------------
    def _xdotool(self, *args):
        subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True)

    def _point(self, name, dx=None, dy=None):
        left, top, right, bottom = self.control(name)["screen"]
        x = left + (dx if dx is not None else (right - left) // 2)
        y = top + (dy if dy is not None else (bottom - top) // 2)
        return x, y

    def click(self, name: str, dx: int | None = None, dy: int | None = None):
        """Left click inside a control (window coordinates; default: its centre)."""
        x, y = self._point(name, dx, dy)
        self._xdotool("mousemove", "--sync", x, y)
        self._xdotool("click", 1)
        time.sleep(0.3)

    def double_click(self, name: str, dx: int, dy: int):
        x, y = self._point(name, dx, dy)
        self._xdotool("mousemove", "--sync", x, y)
        self._xdotool("click", "--repeat", 2, "--delay", 80, 1)
        time.sleep(0.3)

    def _row_point(self, name, row):
        rect = self.probe("itemrect", self.control(name)["hwnd"], row)
        if rect is None:
            raise IndexError(f"{name} has no row {row}")
        left, top, right, bottom = rect
        return left + min(20, (right - left) // 2), (top + bottom) // 2

    def click_row(self, name: str, row: int):
        x, y = self._row_point(name, row)
        self._xdotool("mousemove", "--sync", x, y)
        self._xdotool("click", 1)
        time.sleep(0.3)

    def double_click_row(self, name: str, row: int):
        x, y = self._row_point(name, row)
        self._xdotool("mousemove", "--sync", x, y)
        self._xdotool("click", "--repeat", 2, "--delay", 80, 1)
        time.sleep(0.3)

    def key(self, name: str | None, keysym: str):
        """Presses a key (xdotool keysym, e.g. Escape, Return, Tab, shift+Tab, space),
        after giving the named control the focus (None: wherever the focus is)."""
        if name is not None:
            self.probe("setfocus", self.control(name)["hwnd"])
            wait_until(lambda: self.focused() == name, 5)
        # X sends keys to the window under the pointer when no window manager
        # runs: keep the pointer over the main window.
        left, top, right, bottom = self.main_window()["rect"]
        self._xdotool("mousemove", "--sync", left + 3, top + 3)
        self._xdotool("key", keysym)
        time.sleep(0.3)

    def close(self):
        """Closes the main window as the user would with Alt+F4."""
        self.key(None, "alt+F4")

    def screen_size(self):
        """(width, height) of the X screen the program runs on."""
        out = subprocess.run(["xdotool", "getdisplaygeometry"], env=self.env, check=True,
                             stdout=subprocess.PIPE, text=True).stdout.split()
        return int(out[0]), int(out[1])

    # ---- output ----------------------------------------------------------
    def screenshot(self, name: str, whole_screen: bool = False) -> Path:
        folder = self._environment.build / "screenshots"
        folder.mkdir(parents=True, exist_ok=True)
        path = folder / f"{name}.png"
        command = ["import", "-window", "root"]
        w = None if whole_screen else self.main_window()
        if w is not None:
            left, top, right, bottom = w["rect"]
            command += ["-crop", f"{right - left}x{bottom - top}+{left}+{top}"]
        subprocess.run(command + [str(path)], env=self.env, check=True)
        # A cropped capture keeps its place on the screen as a page offset;
        # drop it so viewers and later crops see a plain image.
        subprocess.run(["mogrify", "+repage", str(path)], check=True)
        return path

    def wait_until(self, predicate, timeout: float = 10.0):
        return wait_until(predicate, timeout)

    def wait_exit(self, timeout: float = 30.0) -> int:
        """Waits for the program to end; returns its exit code."""
        self.exit_code = self.process.wait(timeout)
        self._shutdown()
        return self.exit_code

    def kill(self):
        self.process.kill()
        self.process.wait(10)
        subprocess.run([self.env.get("WINESERVER", "wineserver"), "-k"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self._shutdown()

    def _shutdown(self):
        if self._probe is not None:
            try:
                self._probe.stdin.write("quit\n")
                self._probe.stdin.flush()
                self._probe.wait(10)
            except (OSError, subprocess.TimeoutExpired, ValueError):
                self._probe.kill()
            self._probe = None
        self._environment.close()


def start(exe: str | None = None, extra_env: dict | None = None, before_start=None) -> App:
    """Starts the program under Wine; returns the App that drives it."""
    if shutil.which("xdotool") is None:
        print("xdotool missing", file=sys.stderr)
    return App(exe, extra_env, before_start)
