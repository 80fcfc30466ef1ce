#!/usr/bin/env bash
# Builds the optimised native benchmarks and prints, for each benchmark, the
# median throughput at each size and the time ratio between its largest and
# smallest size (10x the input should take at most 12x the time).
#
# The allocator is told to keep freed memory in the heap (as a long-running
# program's does): otherwise every call to an operation that builds a large
# result maps fresh pages, and on a virtual machine the page faults, not the
# code, set the figures.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install.sh"
cmake --preset native-release >/dev/null
cmake --build --preset native-release -j"$(nproc)" --target proxy_bench
out=$(mktemp)
trap 'rm -f "$out"' EXIT
GLIBC_TUNABLES=glibc.malloc.mmap_threshold=1073741824:glibc.malloc.trim_threshold=1073741824 \
  build/native-release/bench/proxy_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$out" --benchmark_out_format=json "$@" >/dev/null
python3 "$root/bench/report.py" "$out"
