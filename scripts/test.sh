#!/usr/bin/env bash
# Installs what is missing, builds both presets and runs every test suite:
# the native unit tests (sanitizers on), then the Windows tests and the
# end-to-end tests under Wine inside a private Xvfb.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
jobs=$(nproc)

"$root/scripts/install.sh"

echo "== native: build and unit tests"
cmake --preset native >/dev/null
cmake --build --preset native -j"$jobs"
ctest --preset native -j"$jobs"

echo "== fuzz: a short run of every fuzz target"
cmake --preset fuzz -DPROXYSWITCHER_FUZZ_SECONDS=20 >/dev/null
cmake --build --preset fuzz -j"$jobs"
ctest --preset fuzz -j"$jobs"

echo "== win32: the product"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j"$jobs"
exe="$root/build/win32/proxyswitcher.exe"
echo "proxyswitcher.exe: $(stat -c %s "$exe") bytes; package: $(ls "$root"/build/win32/proxyswitcher-*-win32.zip)"
"$root/scripts/check-imports.sh" "$exe"

# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
if [ "$WINE" = /usr/lib/wine/wine ]; then
  wine_preset=win32
else
  wine_preset=win64
  echo "note: this kernel cannot start 32-bit Linux programs (Wine's 32-bit loader);"
  echo "      the Windows tests run the same code built for x86-64 (preset win64)."
fi

# The Windows test build talks to the local internet of the end-to-end tests:
# each site on its own loopback address, all on one port free right now.
port=$(python3 "$root/tests/e2e/free_port.py")
export PROXYSWITCHER_LOCALNET_PORT=$port
echo "== $wine_preset: Windows tests under Wine (local sites on port $port)"
cmake --preset "$wine_preset" >/dev/null $(local_site_settings "$port")
cmake --build --preset "$wine_preset" -j"$jobs"

export WINEPREFIX="$root/build/$wine_preset/wineprefix"
xvfb_pid=
cleanup() {
  "${WINESERVER:-wineserver}" -k >/dev/null 2>&1 || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_private_xvfb
wine_prefix_ready
ctest --preset "$wine_preset"
