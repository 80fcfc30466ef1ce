#!/usr/bin/env bash
# Runs every fuzz target for a long time: scripts/fuzz.sh [seconds per target]
# (default 3600). Findings land in build/fuzz/tests/fuzz/work/<target>/artifacts/.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-3600}
"$root/scripts/install.sh"
cmake --preset fuzz -DPROXYSWITCHER_FUZZ_SECONDS="$seconds" >/dev/null
cmake --build --preset fuzz -j"$(nproc)"
ctest --preset fuzz -j"$(nproc)" --timeout $((seconds + 300))
