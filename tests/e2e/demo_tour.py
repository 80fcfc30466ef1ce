"""The demo's tour on a machine without a screen: drives the program as a user
would against the local internet that scripts/run.sh --demo started, loads
every source of the list in turn, verifies the last list with a short limit
and leaves screenshots of each stage in <build>/screenshots/tour-*.png.

Run by scripts/run.sh --demo (it sets the environment harness.py reads and
PROXYSWITCHER_LOCALNET_PORT); prints one line per source and the verdicts.
"""
import sys

import harness
from steps import DONE, WORKING, check, load_next, report


def tour(app):
    app.wait_for_main_window(90)
    print("probe line:", app.text("标签4"), flush=True)
    app.screenshot("tour-1-started")
    app.wait_until(lambda: app.list_count("超级列表框2") == 41, 20)
    sources = app.list_rows("超级列表框2")
    for row, source in enumerate(sources):
        loaded, rows, seconds = load_next(app, row, source)
        print(f"source {row + 1:2} {source[1]}: {app.list_count('超级列表框1')} proxies, "
              f"{seconds:.1f} s, {app.text('ts') or '-'} {app.text('时间')}", flush=True)
        check(loaded and app.text("ts") == DONE, f"source {row + 1} did not load its {len(rows)} rows")
        if row == 0:
            app.screenshot("tour-2-first-source")
    app.screenshot("tour-3-last-source")

    app.set_edit("编辑框3", "2")
    app.click("按钮5")
    app.wait_until(lambda: app.control("按钮5")["enabled"], 120)
    verdicts = [r[4] for r in app.list_rows("超级列表框1")]
    print(f"verified: {verdicts.count(WORKING)} of {len(verdicts)} working; probe line: {app.text('标签4')}")
    check(WORKING in verdicts, "no proxy of the list verified as working")
    app.screenshot("tour-4-verified")
    app.key("超级列表框1", "Escape")
    app.wait_exit(30)


def main():
    with harness.start() as app:
        try:
            tour(app)
        finally:
            print("screenshots:", harness.build_dir() / "screenshots" / "tour-*.png")
    return report("demo")


if __name__ == "__main__":
    sys.exit(main())
