"""End-to-end: loading proxy lists from the sources into the proxy list.

Runs the real program under Wine against the local internet (localnet.py):
one source of each of the six sites, activated by double-click or by Enter,
must fill the proxy list with the rows of its sample page and show the right
status and update time; the source list is disabled while a 5u page is waited
for and enabled after; the system proxy is off after a load even when it
pointed at a proxy that never answers. Then every source of the list is
loaded in turn.
Writes <build>/screenshots/sources-loaded.png.
"""
import sys
import traceback

import harness
from localnet import LocalNet
from steps import (LOADING, activate, check, expected_rows, load_next, localnet_port, registry_value, report,
                   set_registry_proxy, wait_loaded)

# Catalogue row, how it is activated, and the update time its page shows.
SAMPLES = [
    (0, "double-click", "最后更新:2026-12-11 00:30"),      # 5u
    (4, "enter", "最后更新时间：2026-12-11 08:00:00"),      # pubcc
    (5, "double-click", ""),                                # 会寻
    (6, "enter", "最后更新:2026-12-11 00:15"),             # 纯真
    (19, "double-click", ""),                               # 代理中国
    (31, "enter", ""),                                      # 代理服务器网
]


def check_samples(app, sources, net):
    for row, how, time_caption in SAMPLES:
        url, key = sources[row][2], sources[row][3]
        rows = expected_rows(url)
        # A system proxy that never answers: the load must switch it off
        # before it downloads, or the download would hang.
        set_registry_proxy(app, f"127.0.0.1:{net.dead_port}")
        activate(app, row, how)
        if key == "5u":
            # The 5u page comes slowly; the window answers meanwhile, with the
            # source list disabled so that no second load can start.
            try:
                app.wait_until(lambda: not app.control("超级列表框2")["enabled"] and app.text("ts") == LOADING, 10)
            except TimeoutError:
                check(False, "source list not disabled during a 5u load")
        loaded = wait_loaded(app, rows)
        check(loaded, f"row {row} ({key}, {how}): proxy list {app.list_count('超级列表框1')} rows, "
                      f"expected {len(rows)}; ts {app.text('ts')!r}")
        check(app.text("时间") == time_caption, f"row {row} ({key}): 时间 {app.text('时间')!r}, expected {time_caption!r}")
        check(registry_value(app, "ProxyEnable") == "0x0",
              f"row {row}: ProxyEnable {registry_value(app, 'ProxyEnable')!r} after a load")
        check(registry_value(app, "ProxyServer") is None, f"row {row}: ProxyServer still set after a load")
        if key == "5u":
            app.screenshot("sources-loaded")


def check_all_sources(app, sources):
    for row, source in enumerate(sources):
        loaded, rows, seconds = load_next(app, row, source)
        print(f"source {row + 1}: {len(rows)} rows, {seconds:.1f} s", flush=True)
        check(loaded and len(rows) > 0, f"source {row + 1} {source[1]!r} ({source[2]}) did not load its "
                                       f"{len(rows)} rows (list has {app.list_count('超级列表框1')})")


def main():
    workdir = harness.build_dir() / "e2e-sources-localnet"
    with LocalNet(localnet_port(), workdir) as net, harness.start() as app:
        try:
            app.wait_for_main_window(60)
            app.wait_until(lambda: app.list_count("超级列表框2") == 41, 20)
            sources = app.list_rows("超级列表框2")
            check_samples(app, sources, net)
            check_all_sources(app, sources)
            app.close()
            app.wait_exit(30)
        except Exception:
            traceback.print_exc()
            check(False, "exception")
    return report("source")


if __name__ == "__main__":
    sys.exit(main())
