#!/usr/bin/env bash
# Runs a Windows program under Wine with its build's own prefix:
#   scripts/wine-run.sh path/to/program.exe [args...]
# The prefix lives in the build folder that holds the program (the nearest
# parent with a CMakeCache.txt) unless WINEPREFIX is set. Without a DISPLAY the
# program gets a private Xvfb.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
exe=$1
shift

if [ -z "${WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$exe")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ "$dir" != / ] || dir=$(cd "$(dirname "$exe")" && pwd)
  export WINEPREFIX="$dir/wineprefix"
fi
# shellcheck source=wine-env.sh
source "$here/wine-env.sh"
wine_prefix_ready

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$WINE" "$exe" "$@"
fi
exec "$WINE" "$exe" "$@"
