#!/usr/bin/env bash
# Benchmarks of the real program under Wine: big ip.txt import and export,
# peak memory, scrolling, VerifyAll against curl, responsiveness while a
# request waits, and start-up. Prints one table of medians and ratios.
#
#   bench/wine/run.sh [--runs N] [--rows N] [--only list,verify,wait,startup] [--json FILE]
#
# Builds the program in build/bench-win64 with every site on a loopback
# address at a port free now, and its helper programs beside it; starts its
# own Xvfb, Wine prefix and local internet, and stops exactly those.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"
build="$root/build/bench-win64"
helpers="$build/benchwine"
jobs=$(nproc)
# scripts/bench.sh tunes glibc's allocator for its native benchmarks; Wine's
# processes run as they would anywhere else.
unset GLIBC_TUNABLES

# shellcheck source=../../scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
bits=64
[ "$WINE" = /usr/lib/wine/wine ] && bits=32
echo "note: this kernel cannot start 32-bit Linux programs (Wine's 32-bit loader), so these"
echo "      figures are of the same code built for x86-64 (preset win64) under wine64."
[ "$bits" = 64 ] || echo "      (this machine could run 32-bit Wine; the figures are still of the win64 build)"

port=$(python3 "$root/tests/e2e/free_port.py")
echo "== building the program in $build (local sites on port $port)"
mkdir -p "$build"
# shellcheck disable=SC2046  # one word per setting
cmake --preset win64 -B "$build" $(local_site_settings "$port") >"$build/configure.log"
cmake --build "$build" -j"$jobs" --target proxyswitcher uiprobe >"$build/build.log"

# The helpers: the floor for the file figures uses the program's own file and
# split code (libproxycore.a of this build).
mkdir -p "$helpers"
cxx=x86_64-w64-mingw32-g++
flags=(-std=c++20 -O2 -Wall -Wextra -Werror -municode -static -DUNICODE -D_UNICODE -DWIN32_LEAN_AND_MEAN -DNOMINMAX
       -D_WIN32_WINNT=0x0601)
cmake --build "$build" -j"$jobs" --target proxycore >>"$build/build.log"
"$cxx" "${flags[@]}" -I"$root" -I"$build/generated" bench/wine/listfile_read.cpp "$build/libproxycore.a" \
  -o "$helpers/listfile_read.exe"
"$cxx" "${flags[@]}" bench/wine/pinger.cpp -o "$helpers/pinger.exe"
"$cxx" "${flags[@]}" -mwindows bench/wine/trivial.cpp -o "$helpers/trivial.exe"

# Sizes of the product: the 32-bit build (shared build/win32, or built here)
# and the 64-bit build measured below.
exe32="$root/build/win32/proxyswitcher.exe"
if [ ! -f "$exe32" ]; then
  exe32="$root/build/bench-win32/proxyswitcher.exe"
  cmake --preset win32 -B "$root/build/bench-win32" >/dev/null
  cmake --build "$root/build/bench-win32" -j"$jobs" --target proxyswitcher >/dev/null
fi
size32=$(stat -c %s "$exe32")
size64=$(stat -c %s "$build/proxyswitcher.exe")

export WINEPREFIX="$build/wineprefix"
xvfb_pid=
cleanup() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_private_xvfb
wine_prefix_ready

export PROXYSWITCHER_BUILD_DIR="$build" PROXYSWITCHER_EXE="$build/proxyswitcher.exe"
export PROXYSWITCHER_UIPROBE="$build/tests/uiprobe.exe" PROXYSWITCHER_SCRIPTS_DIR="$root/scripts"
export PYTHONPATH="$root/tests/e2e${PYTHONPATH:+:$PYTHONPATH}" PYTHONDONTWRITEBYTECODE=1
echo "== measuring (medians; progress on stderr)"
python3 "$root/bench/wine/winebench.py" --port "$port" --helpers "$helpers" "$@"
echo "proxyswitcher.exe: win32 $size32 bytes ($(realpath --relative-to="$root" "$exe32")), win64 $size64 bytes"
