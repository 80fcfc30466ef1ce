"""End-to-end: a whole run of the program writes nothing to the registry but
the two values of the system proxy.

Takes the prefix's registry files (user.reg, system.reg) with Wine's server
stopped, so they are complete on disk, runs the program from start to exit
against the local internet (start-up probe, a source load, 设置代理 through
tinyproxy, 取消代理, export of ip.txt through the folder browser, Alt+F4),
takes them again and compares keys and values (modification times aside).

Under the current user's Internet Settings key only ProxyEnable and
ProxyServer may differ. Anything else that differs must be one of Wine's own
writes listed in WINE_WRITES, each with the reason it happens; the program
itself writes nothing else.
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import traceback

import harness
from desktop_steps import ALT_F4, close_main_window, export_list, wait_clean_exit
from localnet import LocalNet
from steps import set_registry_proxy

INTERNET_SETTINGS = r"Software\Microsoft\Windows\CurrentVersion\Internet Settings"
PROXY_VALUES = {"ProxyEnable", "ProxyServer"}
DIRECT_LINE = "你当前外网ip为:127.0.0.1 来自:本机直连"
PROXIED_LINE = "你当前外网ip为:127.0.0.2 来自:本地代理"
LOADED = "加载完毕"

# Differences that Wine itself makes during any run of a program, as
# (hive, key pattern, value pattern): regular expressions matched in full;
# the value pattern None stands for a whole key that appears or goes.
WINE_WRITES = [
    # The display driver stamps the date of the graphics driver it presents
    # each time a process opens the display.
    ("system", r"System\\CurrentControlSet\\Control\\Class\\\{4D36E968-E325-11CE-BFC1-08002BE10318\}\\\d{4}",
     r"DriverDateData"),
]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL:", message, file=sys.stderr)


def unescape_key(name):
    return name.replace("\\\\", "\\")


def read_hive(path):
    """{key: {value name: data text}} of a Wine registry file."""
    keys = {}
    current = None
    pending = ""
    for raw in path.read_text(encoding="utf-8", errors="replace").splitlines():
        line = pending + raw.strip() if pending else raw
        if current is not None and not line.startswith("[") and line.endswith("\\") and not line.endswith("\\\\"):
            pending = line[:-1]  # hex data goes on in the next line
            continue
        pending = ""
        if line.startswith("["):
            current = keys.setdefault(unescape_key(line[1:line.rindex("]")]), {})
        elif current is None or not line.strip() or line[0] in "#;":
            continue
        elif line.startswith("@="):
            current["@"] = line[2:]
        elif line.startswith('"'):
            match = re.match(r'"((?:[^"\\]|\\.)*)"=(.*)$', line)
            if match:
                current[match.group(1).replace("\\\\", "\\")] = match.group(2)
    return keys


def differences(before, after):
    """(key, value name or None for the whole key, before, after) for every difference."""
    found = []
    for key in sorted(set(before) | set(after)):
        if key not in before or key not in after:
            found.append((key, None, before.get(key), after.get(key)))
            continue
        old, new = before[key], after[key]
        for name in sorted(set(old) | set(new)):
            if old.get(name) != new.get(name):
                found.append((key, name, old.get(name), new.get(name)))
    return found


def wine_write(hive, key, name):
    for pattern_hive, key_pattern, name_pattern in WINE_WRITES:
        if pattern_hive != hive or not re.fullmatch(key_pattern, key, re.IGNORECASE):
            continue
        if name_pattern is None or (name is not None and re.fullmatch(name_pattern, name, re.IGNORECASE)):
            return True
    return False


class Hives:
    """The prefix's registry files, read with Wine's server stopped."""

    def __init__(self, env):
        self.env = env

    def read(self):
        # The server writes the files when the last program of the prefix ends.
        subprocess.run([self.env.get("WINESERVER", "wineserver"), "-w"], env=self.env, check=True)
        prefix = pathlib.Path(self.env["WINEPREFIX"])
        return {"user": read_hive(prefix / "user.reg"), "system": read_hive(prefix / "system.reg")}


def whole_run(app, net, folder):
    app.wait_for_main_window(90)
    harness.wait_until(lambda: app.text("标签4") == DIRECT_LINE, 20)

    rows = app.list_rows("超级列表框2")
    pubcc = next(i for i, row in enumerate(rows) if row[3] == "pubcc")
    app.double_click_row("超级列表框2", pubcc)
    harness.wait_until(lambda: app.text("ts") == LOADED, 30)
    check(app.list_count("超级列表框1") > 0, "the pubcc source gave no rows")

    app.set_edit("编辑框1", "127.0.0.1")
    app.set_edit("编辑框2", str(net.proxy_port))
    app.click("按钮2")
    harness.wait_until(lambda: app.text("标签4") == PROXIED_LINE, 20)
    app.click("按钮3")
    harness.wait_until(lambda: app.text("标签4") == DIRECT_LINE, 20)

    texts = export_list(app, folder)
    check(len(texts) == 1 and texts[0].endswith("保存成功"), f"export answered {texts!r}")
    check((folder / "ip.txt").exists(), "ip.txt not written")

    close_main_window(app, ALT_F4)
    problems = wait_clean_exit(app, 10)
    check(not problems, f"ending the run: {problems}")


def main():
    port = os.environ.get("PROXYSWITCHER_LOCALNET_PORT")
    if not port:
        print("PROXYSWITCHER_LOCALNET_PORT is not set", file=sys.stderr)
        return 1
    folder = pathlib.Path(tempfile.mkdtemp(prefix="zzpsr", dir="/tmp"))
    # The harness's own set-up of the prefix (creating it, linking a CJK font)
    # comes before the first reading.
    environment = harness._Environment()
    try:
        hives = Hives(environment.env)
        with LocalNet(int(port), harness.build_dir() / "e2e-registry-localnet") as net:
            # A proxy set before the run, so both values change.
            set_registry_proxy(environment, "127.0.0.1:1")
            before = hives.read()
            app = harness.start()
            try:
                whole_run(app, net, folder)
            except Exception:
                failures.append(traceback.format_exc())
                print(failures[-1], file=sys.stderr)
            finally:
                if app.process.poll() is None:
                    app.kill()
        after = hives.read()
        if not failures:
            compare(before, after)
    finally:
        environment.close()
        shutil.rmtree(folder, ignore_errors=True)
    print(f"{len(failures)} failure(s)" if failures else "all registry checks passed")
    return 1 if failures else 0


def compare(before, after):
    proxy_changes = set()
    for hive in ("user", "system"):
        for key, name, old, new in differences(before[hive], after[hive]):
            if hive == "user" and key.lower() == INTERNET_SETTINGS.lower() and name in PROXY_VALUES:
                proxy_changes.add(name)
            elif wine_write(hive, key, name):
                print(f"  Wine's own: {hive} [{key}] {name}")
            else:
                check(False, f"{hive} [{key}] {name if name is not None else '(key)'}: {old!r} -> {new!r}")
    check(proxy_changes == PROXY_VALUES, f"the run changed {sorted(proxy_changes)} of the proxy values")
    settings = after["user"].get(INTERNET_SETTINGS, {})
    check(settings.get("ProxyEnable") == "dword:00000000" and "ProxyServer" not in settings,
          f"after 取消代理 the system proxy reads {settings.get('ProxyEnable')!r}, {settings.get('ProxyServer')!r}")


if __name__ == "__main__":
    sys.exit(main())
