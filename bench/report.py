"""Prints the benchmark table of scripts/bench.sh.

    report.py --ops OPS_JSON --rounds DIR

OPS_JSON is Google Benchmark's JSON of the text operations (with repetitions).
DIR holds, for every round r, cut-<r>.json (Google Benchmark, the page cutters,
one run each) and lxml-<r>.json (bench/lxml_reference.py on the same pages), run
one after the other so that both sides of a round see the same load.

Throughput is bytes per second of CPU time on both sides, in MB/s (10^6 bytes):
the machine is shared, and wall time would count other programs' work. Every
figure is the median over the rounds; a ratio is the median of the ratios taken
within each round.
"""
import argparse
import json
import pathlib
import statistics
import sys

GOAL_MBS = 200
GOAL_TIMES_LXML = 20
GOAL_GROWTH = 12


def seconds(run, key):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run["time_unit"]]
    return run[key] * scale


def cutter_round(path):
    """{(site, rows): (cpu seconds, wall seconds, bytes)} of one Google Benchmark run."""
    result = {}
    for run in json.loads(path.read_text())["benchmarks"]:
        if run.get("run_type") != "iteration" or not run["name"].startswith("Cut_"):
            continue
        site, _, rows = run["name"][len("Cut_"):].partition("/")
        cpu = seconds(run, "cpu_time")
        result[(site, int(rows))] = (cpu, seconds(run, "real_time"), run["bytes_per_second"] * cpu)
    return result


def lxml_round(path):
    return {(r["site"], r["rows"]): r["seconds"] for r in json.loads(path.read_text())["results"]}


def median(values):
    return statistics.median(values) if values else float("nan")


def mark(ok):
    return "ok" if ok else "MISSED"


def print_cutters(folder):
    rounds = []
    for cut_path in sorted(folder.glob("cut-*.json")):
        lxml_path = folder / cut_path.name.replace("cut-", "lxml-")
        rounds.append((cutter_round(cut_path), lxml_round(lxml_path)))
    if not rounds:
        return
    keys = list(rounds[0][0])
    sites = list(dict.fromkeys(site for site, _ in keys))
    versions = json.loads(next(folder.glob("lxml-*.json")).read_text())["versions"]
    print(f"Page cutters: C++ (native Release build) against lxml {versions['lxml']} (libxml2 {versions['libxml2']}, "
          f"Python {versions['python']}), medians of {len(rounds)} rounds")
    print(f"{'site':16} {'rows':>6} {'MB':>6} {'C++ MB/s':>9} {'wall MB/s':>9} {'lxml MB/s':>9} "
          f"{'C++/lxml':>8} {'50k/5k':>7}  goals (>= {GOAL_MBS} MB/s, >= {GOAL_TIMES_LXML}x, <= {GOAL_GROWTH}x)")
    for site in sites:
        sizes = sorted(rows for s, rows in keys if s == site)
        for rows in sizes:
            cpp_mbs, wall_mbs, lxml_mbs, ratios = [], [], [], []
            size = 0
            for cpp, lxml in rounds:
                cpu, wall, size = cpp[(site, rows)]
                cpp_mbs.append(size / cpu / 1e6)
                wall_mbs.append(size / wall / 1e6)
                if (site, rows) in lxml:
                    lxml_mbs.append(size / lxml[(site, rows)] / 1e6)
                    ratios.append(lxml[(site, rows)] / cpu)
            growth = ""
            goals = [f"{mark(median(cpp_mbs) >= GOAL_MBS)} speed", f"{mark(median(ratios) >= GOAL_TIMES_LXML)} lxml"]
            if rows == sizes[-1] and len(sizes) > 1:
                g = median([cpp[(site, rows)][0] / cpp[(site, sizes[0])][0] for cpp, _ in rounds])
                growth = f"{g:.1f}x"
                goals.append(f"{mark(g <= GOAL_GROWTH)} linear")
            print(f"{site:16} {rows:>6} {size / 1e6:>6.2f} {median(cpp_mbs):>9.0f} {median(wall_mbs):>9.0f} "
                  f"{median(lxml_mbs):>9.1f} {median(ratios):>7.1f}x {growth:>7}  {', '.join(goals)}")
    print()


def print_operations(path):
    data = json.loads(path.read_text())
    runs = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median" or b["run_name"].startswith("Cut_"):
            continue
        name, _, size = b["run_name"].partition("/")
        runs.setdefault(name, {})[int(size.split("/")[0]) if size else 0] = b
    if not runs:
        return
    print("Text operations on GBK text dense with matches, medians of repetitions")
    print(f"{'operation':24} {'bytes':>10} {'MB/s':>8} {'growth':>8}")
    for name in runs:
        sizes = sorted(runs[name])
        for size in sizes:
            b = runs[name][size]
            mbs = b.get("bytes_per_second", 0) / 1e6
            growth = ""
            if size == sizes[-1] and len(sizes) > 1:
                growth = f"{b['cpu_time'] / runs[name][sizes[0]]['cpu_time']:.1f}x"
            print(f"{name:24} {size:>10} {mbs:>8.0f} {growth:>8}")
    print()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--ops", type=pathlib.Path)
    parser.add_argument("--rounds", type=pathlib.Path)
    args = parser.parse_args()
    context = json.loads(next(args.rounds.glob("cut-*.json")).read_text())["context"] if args.rounds else {}
    if context:
        print(f"machine: {context.get('num_cpus')} cpus at {context.get('mhz_per_cpu')} MHz, "
              f"load average {', '.join(f'{x:.1f}' for x in context.get('load_avg', []))} at the start")
        print()
    if args.rounds:
        print_cutters(args.rounds)
    if args.ops:
        print_operations(args.ops)
    return 0


if __name__ == "__main__":
    sys.exit(main())
