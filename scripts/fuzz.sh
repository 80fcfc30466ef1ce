#!/usr/bin/env bash
# Runs every fuzz target for a long time: scripts/fuzz.sh [seconds per target]
# (default 3600), in its own build folder so that the test command's short
# runs are left alone. Findings land in
# build/fuzz-long/tests/fuzz/work/<target>/artifacts/, each target's log and
# final statistics in .../work/<target>/log.txt.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-3600}
dir="$root/build/fuzz-long"
"$root/scripts/install.sh"
cmake --preset fuzz -B "$dir" -DPROXYSWITCHER_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build "$dir" -j"$(nproc)"
ctest --test-dir "$dir" -j"$(nproc)" --timeout $((seconds + 300)) --output-on-failure
