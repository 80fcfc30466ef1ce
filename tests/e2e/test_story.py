"""End-to-end: an afternoon with the program, from start to Esc.

The real program under Wine against the local internet, with the working
proxy that every sample page lists (localnet.LISTED_PROXY) answering:

    start         the loading window, then the main window with the direct
                  address in 标签4
    load          one source of each of the six sites
    pick          double-click on the listed working proxy
    apply         设置代理: the probe goes through it
    cancel        取消代理: direct again
    verify        验证全部 with a 2 s limit: the working proxy "正常", the rest
                  "超时"; the last row is left applied
    export        ip.txt through the folder browser, byte for byte
    import        the file read back, its rows appended
    close         Esc; the registry then holds what the last action wrote

Every step is checked from outside (uiprobe, `wine reg`, the file on disk)
and leaves a screenshot <build>/screenshots/story-NN-<step>.png.
"""
import shutil
import sys
import traceback

import harness
from localnet import LISTED_PROXY, LocalNet
from steps import (DIRECT_LINE, DONE, PROXIED_LINE, TIMED_OUT, TIMED_OUT_LINE, WORKING, activate, answer_message_box,
                   browsable_folder, browse, check, expected_rows, internet_settings, localnet_port, report,
                   set_registry_proxy, wait_loaded, wait_text, wine_path)

LISTED = list(map(str, LISTED_PROXY))
# One source of each site: catalogue row, how the user opens it, the site.
LOADS = [(0, "double-click", "5u"), (4, "enter", "pubcc"), (5, "double-click", "huixun"), (6, "enter", "chunzhen"),
         (19, "double-click", "dailizhongguo"), (31, "double-click", "dailifuwuqiwang")]


class Story:
    def __init__(self, app, files):
        self.app = app
        self.files = files
        self.step = 0

    def shot(self, name, whole_screen=False):
        self.step += 1
        self.app.screenshot(f"story-{self.step:02d}-{name}", whole_screen)

    def proxy_setting(self):
        values = internet_settings(self.app)
        return values.get("ProxyEnable"), values.get("ProxyServer")

    def start(self):
        app = self.app
        # The loading window is up while the start-up probe waits; the local
        # echo page answers at once, so look for it at once.
        try:
            app.wait_until(lambda: (app.loading_window() or {}).get("visible"), 30)
            self.shot("loading", whole_screen=True)
        except TimeoutError:
            print("note: the loading window went before it could be seen")
        app.wait_for_main_window(90)
        check(app.loading_window() is None or not app.loading_window()["visible"], "loading window still up")
        check(wait_text(app, "标签4", DIRECT_LINE, 20), f"start: 标签4 {app.text('标签4')!r}")
        check(self.proxy_setting() == ("0x0", None), f"start: system proxy {self.proxy_setting()}")
        self.shot("started")

    def load_each_site(self, sources):
        app = self.app
        for row, how, site in LOADS:
            rows = expected_rows(sources[row][2])
            activate(app, row, how)
            check(wait_loaded(app, rows), f"load {site} (row {row}): {app.list_count('超级列表框1')} rows, "
                                          f"expected {len(rows)}; ts {app.text('ts')!r}")
            check(app.text("ts") == DONE, f"load {site}: ts {app.text('ts')!r}")
            self.shot(f"loaded-{site}")
        return app.list_rows("超级列表框1")

    def pick(self, rows):
        app = self.app
        listed = [i for i, r in enumerate(rows) if r[2:4] == LISTED]
        if not check(len(listed) == 1, f"the working proxy is not listed once: {rows!r}"):
            return
        app.double_click_row("超级列表框1", listed[0])
        check(app.text("编辑框1") == LISTED[0] and app.text("编辑框2") == LISTED[1],
              f"pick: boxes {app.text('编辑框1')!r} {app.text('编辑框2')!r}")
        self.shot("picked")

    def apply(self):
        app = self.app
        app.click("按钮2")
        check(wait_text(app, "标签4", PROXIED_LINE, 20), f"apply: 标签4 {app.text('标签4')!r}")
        check(self.proxy_setting() == ("0x1", ":".join(LISTED)), f"apply: system proxy {self.proxy_setting()}")
        self.shot("applied")

    def cancel(self):
        app = self.app
        app.click("按钮3")
        check(wait_text(app, "标签4", DIRECT_LINE, 20), f"cancel: 标签4 {app.text('标签4')!r}")
        check(self.proxy_setting() == ("0x0", None), f"cancel: system proxy {self.proxy_setting()}")
        self.shot("cancelled")

    def verify(self):
        app = self.app
        app.set_edit("编辑框3", "2")
        app.click("按钮5")
        try:
            harness.wait_until(lambda: app.control("按钮5")["enabled"], 120, interval=1)
        except TimeoutError:
            check(False, "verify: the run did not end")
        rows = app.list_rows("超级列表框1")
        verdicts = [WORKING if r[2:4] == LISTED else TIMED_OUT for r in rows]
        check([r[4] for r in rows] == verdicts, f"verify: verdicts {[r[4] for r in rows]!r}")
        last = rows[-1]
        check(app.text("标签4") == (PROXIED_LINE if last[2:4] == LISTED else TIMED_OUT_LINE),
              f"verify: 标签4 {app.text('标签4')!r}")
        check(self.proxy_setting() == ("0x1", f"{last[2]}:{last[3]}"),
              f"verify: the last row is not left applied: {self.proxy_setting()}")
        self.shot("verified")
        return rows

    def export(self, rows):
        app = self.app
        folder = self.files / "out"
        folder.mkdir()
        app.click("按钮10")
        browse(app, "请选择存放路径", folder)
        exported = folder / "ip.txt"
        answer_message_box(app, "操作成功", wine_path(exported) + " 保存成功")
        expected = "".join("".join(cell + "," for cell in row) + "\r\n" for row in rows).encode("gbk")
        check(exported.exists() and exported.read_bytes() == expected,
              f"export: bytes {exported.read_bytes()[:200] if exported.exists() else None!r}...")
        self.shot("exported")
        return exported

    def import_back(self, exported, rows):
        app = self.app
        app.click("按钮9")
        browse(app, "请选择导入文件", exported)
        answer_message_box(app, "信息：", "读取成功")
        check(app.list_rows("超级列表框1") == rows + rows, "import: the file's rows are not appended as exported")
        self.shot("imported")

    def close(self, setting):
        app = self.app
        app.key("超级列表框1", "Escape")
        code = app.wait_exit(30)
        check(code == 0, f"close: exit code {code}")
        check(self.proxy_setting() == setting,
              f"after exit the system proxy is {self.proxy_setting()}, the last action left {setting}")


def run(app, files):
    story = Story(app, files)
    story.start()
    app.wait_until(lambda: app.list_count("超级列表框2") == 41, 20)
    rows = story.load_each_site(app.list_rows("超级列表框2"))
    story.pick(rows)
    story.apply()
    story.cancel()
    rows = story.verify()
    setting = story.proxy_setting()
    exported = story.export(rows)
    story.import_back(exported, rows)
    story.close(setting)


def main():
    workdir = harness.build_dir() / "e2e-story-localnet"
    files = browsable_folder("zzpsy")
    try:
        with LocalNet(localnet_port(), workdir, listed_proxy=True) as net, \
                harness.start(before_start=lambda app: set_registry_proxy(app, f"127.0.0.1:{net.dead_port}")) as app:
            # Whatever the user had set before (here a proxy that never
            # answers), the program starts direct.
            try:
                run(app, files)
            except Exception:
                traceback.print_exc()
                check(False, "exception")
    finally:
        shutil.rmtree(files, ignore_errors=True)
    return report("story")


if __name__ == "__main__":
    sys.exit(main())
