#!/usr/bin/env bash
# Builds the program and starts it under Wine.
#   scripts/run.sh          the program with its configured site hosts
#   scripts/run.sh --demo   the program against a local internet on loopback
#                           (sample pages of all six sites, the IP-echo page,
#                           working proxies and a dead one), for machines offline
#   scripts/run.sh --demo --tour
#                           the same, driven through a tour: every source is
#                           loaded and the last list verified, with screenshots
# On $DISPLAY when there is one; otherwise on a private Xvfb: there the demo
# always takes the tour, and the plain run writes a screenshot of the main
# window. Every path is printed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
demo=0 tour=0
for arg in "$@"; do
  case $arg in
    --demo) demo=1 ;;
    --tour) demo=1 tour=1 ;;
    *) echo "usage: scripts/run.sh [--demo [--tour]]" >&2; exit 2 ;;
  esac
done
[ -n "${DISPLAY:-}" ] || [ "$demo" = 0 ] || tour=1

"$root/scripts/install.sh"
# shellcheck source=wine-env.sh
source "$root/scripts/wine-env.sh"
if [ "$WINE" = /usr/lib/wine/wine ]; then preset=win32; toolchain=mingw-i686; else preset=win64; toolchain=mingw-x86_64; fi

started=()
xvfb_pid=
cleanup() {
  [ -z "${WINEPREFIX:-}" ] || "${WINESERVER:-wineserver}" -k >/dev/null 2>&1 || true
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  # The local internet stops its servers as it ends: return only once it has
  # (at most 10 s), so a second run finds its ports free.
  for pid in "${started[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.2; done
  done
}
trap cleanup EXIT

if [ "$demo" = 1 ]; then
  build="$root/build/demo-$preset"
  port=$(python3 "$root/tests/e2e/free_port.py")
  # The tour reads the program's windows through the test suite's uiprobe.
  cmake -S "$root" -B "$build" --toolchain "$root/cmake/$toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_TESTING=ON $(local_site_settings "$port") >/dev/null
  cmake --build "$build" -j"$(nproc)" --target proxyswitcher uiprobe
  mkdir -p "$build/localnet"
  rm -f "$build/localnet/info.txt"
  python3 "$root/tests/e2e/localnet.py" --port "$port" --dir "$build/localnet" --listed-proxy \
    >"$build/localnet/info.txt" &
  started+=($!)
  for _ in $(seq 50); do [ -s "$build/localnet/info.txt" ] && break; sleep 0.2; done
  if [ ! -s "$build/localnet/info.txt" ]; then
    echo "the local internet did not start; see $build/localnet/*.log" >&2
    exit 1
  fi
  echo "local internet on port $port: $(cat "$build/localnet/info.txt")"
  echo "  sites 127.0.0.11-16, echo page 127.0.0.17, working proxy 127.0.0.3:8080 (listed on every page)"
else
  build="$root/build/$preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)" --target proxyswitcher
fi

export WINEPREFIX="$build/wineprefix"
wine_prefix_ready

if [ "$tour" = 1 ]; then
  PROXYSWITCHER_BUILD_DIR="$build" PROXYSWITCHER_EXE="$build/proxyswitcher.exe" \
    PROXYSWITCHER_UIPROBE="$build/tests/uiprobe.exe" PROXYSWITCHER_SCRIPTS_DIR="$root/scripts" \
    PYTHONPATH="$root/tests/e2e" PYTHONDONTWRITEBYTECODE=1 python3 "$root/tests/e2e/demo_tour.py"
  exit
fi

if [ -n "${DISPLAY:-}" ]; then
  "$WINE" "$build/proxyswitcher.exe"
  exit 0
fi

start_private_xvfb
"$WINE" "$build/proxyswitcher.exe" &
program=$!
started+=("$program")
shot="$build/screenshots/run.png"
mkdir -p "$(dirname "$shot")"
# The main window appears once the start-up probe is done (up to its time limit).
for _ in $(seq 150); do
  if xdotool search --onlyvisible --name 'ProxySwitcher' >/dev/null 2>&1; then break; fi
  sleep 0.2
done
sleep 2
import -window root "$shot"
echo "no display: the program ran on a private Xvfb; screenshot: $shot"
window=$(xdotool search --onlyvisible --name 'ProxySwitcher' 2>/dev/null | head -n 1 || true)
[ -z "$window" ] || xdotool key --window "$window" Escape || true
wait "$program" || true
