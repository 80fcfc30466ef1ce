"""Prints a table of medians from Google Benchmark's JSON: throughput per size
and the time ratio between the largest and the smallest size of each benchmark."""
import json
import sys
from collections import defaultdict


def main(path: str) -> int:
    data = json.load(open(path))
    runs = defaultdict(dict)
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name, _, size = b["run_name"].partition("/")
        size = int(size.split("/")[0]) if size else 0
        runs[name][size] = b
    print(f"machine: {data['context'].get('num_cpus')} cpus, "
          f"{data['context'].get('mhz_per_cpu')} MHz; medians of {data['context'].get('executable')}")
    print(f"{'benchmark':32} {'size':>10} {'MB/s':>10} {'time ms':>10} {'ratio':>8}")
    for name in sorted(runs):
        sizes = sorted(runs[name])
        for size in sizes:
            b = runs[name][size]
            mbs = b.get("bytes_per_second", 0) / 1e6
            ms = b["real_time"] if b["time_unit"] == "ms" else b["real_time"] / 1e6
            ratio = ""
            if size == sizes[-1] and len(sizes) > 1:
                small = runs[name][sizes[0]]
                ratio = f"{b['real_time'] / small['real_time']:.1f}x"
            print(f"{name:32} {size:>10} {mbs:>10.0f} {ms:>10.2f} {ratio:>8}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
