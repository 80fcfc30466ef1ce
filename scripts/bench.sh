#!/usr/bin/env bash
# Builds the optimised native benchmarks and prints one table: for each of the
# six page cutters, on generated pages of 5,000 and 50,000 rows, its throughput,
# that of a Python reference cutting the same page with lxml, their ratio, and
# the time ratio between the two sizes; then the text operations. Cutters and
# reference run in rounds, one after the other in each round, so that both see
# the same load on a shared machine; the table gives medians over the rounds.
# Ends with the benchmarks under Wine (bench/wine/run.sh, given this script's
# arguments) when that script is there, unless WINE_BENCH=0.
#
#   [BUILD_DIR=build/native-release] [ROUNDS=5] [PYTHON=/usr/bin/python3] [WINE_BENCH=1] \
#     scripts/bench.sh [Wine benchmark options]
#
# The allocator is told to keep freed memory in the heap (as a long-running
# program's does): otherwise every call that builds a large result maps fresh
# pages, and on a virtual machine the page faults, not the code, set the figures.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${BUILD_DIR:-build/native-release}
rounds=${ROUNDS:-5}
# Debian's interpreter, the one python3-lxml is installed for.
python=${PYTHON:-/usr/bin/python3}
"$root/scripts/install.sh"
cmake --preset native-release -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target proxy_bench >/dev/null
bench="$build/bench/proxy_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export GLIBC_TUNABLES=glibc.malloc.mmap_threshold=1073741824:glibc.malloc.trim_threshold=1073741824

"$bench" --write-pages="$work/pages"
mkdir -p "$work/rounds"
for r in $(seq 1 "$rounds"); do
  echo "round $r of $rounds: cutters, then the lxml reference" >&2
  "$bench" --benchmark_filter='^Cut_' --benchmark_format=json --benchmark_out="$work/rounds/cut-$r.json" \
    --benchmark_out_format=json >/dev/null
  GLIBC_TUNABLES= "$python" "$root/bench/lxml_reference.py" "$work/pages" --repetitions 1 \
    --json "$work/rounds/lxml-$r.json" >/dev/null
done
echo "text operations" >&2
"$bench" --benchmark_filter='^BM_' --benchmark_repetitions="$rounds" --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$work/ops.json" --benchmark_out_format=json >/dev/null
python3 "$root/bench/report.py" --rounds "$work/rounds" --ops "$work/ops.json"

if [ "${WINE_BENCH:-1}" != 0 ] && [ -x "$root/bench/wine/run.sh" ]; then
  "$root/bench/wine/run.sh" "$@"
fi
