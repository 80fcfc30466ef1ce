# Sourced by the scripts that start Windows programs. Sets the Wine environment
# and provides wine_prefix_ready, which creates $WINEPREFIX once.
#
# Wine's 32-bit loader is itself a 32-bit Linux program. Kernels that boot with
# 32-bit emulation switched off cannot start it; there the Windows tests run a
# 64-bit build of the same code under the 64-bit loader (see wine_can_run_32bit).

export WINEDEBUG=-all
# Never offer to download Mono or the browser engine: that dialog would block.
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_can_run_32bit() {
  [ -x /usr/lib/wine/wine ] && timeout 20 /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -z "${WINE:-}" ]; then
  if [ "${PROXYSWITCHER_WINE_BITS:-}" = 64 ] || ! wine_can_run_32bit; then
    export WINELOADER=/usr/lib/wine/wine64
    WINE=/usr/lib/wine/wine64
  else
    WINE=/usr/lib/wine/wine
  fi
fi
export WINE
WINESERVER=${WINESERVER:-wineserver}

wine_prefix_ready() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.proxyswitcher-ready" ]; then
      rm -rf "$WINEPREFIX"
      DISPLAY= "$WINE" wineboot -i >/dev/null 2>&1 || true
      # Without a window manager Wine takes seconds to close a window unless it
      # draws the frames itself.
      "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
      # The prefix's ANSI code page is 1252, so Wine links no CJK font to the
      # interface fonts and Chinese would show as boxes.
      for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "MS Sans Serif"; do
        "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
          /v "$face" /t REG_MULTI_SZ /d "wqy-microhei.ttc,WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
      done
      "$WINESERVER" -w || true
      touch "$WINEPREFIX/.proxyswitcher-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}

# The CMake settings that point every site at the local internet of the tests
# and the demo: each site on its own loopback address, all on port $1.
local_site_settings() {
  local port=$1
  echo -DPROXYSWITCHER_HOST_5U=127.0.0.11:$port -DPROXYSWITCHER_HOST_PUBCC=127.0.0.12:$port \
    -DPROXYSWITCHER_HOST_HUIXUN=127.0.0.13:$port -DPROXYSWITCHER_HOST_CHUNZHEN=127.0.0.14:$port \
    -DPROXYSWITCHER_HOST_DAILIZHONGGUO=127.0.0.15:$port -DPROXYSWITCHER_HOST_DAILIFUWUQIWANG=127.0.0.16:$port \
    -DPROXYSWITCHER_HOST_IPECHO=127.0.0.17:$port -DPROXYSWITCHER_HOMEPAGE_URL=http://127.0.0.18:$port/
}

# Starts an Xvfb on a free display number; sets DISPLAY and xvfb_pid (the
# caller stops it).
start_private_xvfb() {
  local display
  exec 3< <(Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp 2>/dev/null & echo "pid $!"; wait)
  read -r _ xvfb_pid <&3
  read -r display <&3
  export DISPLAY=":$display"
}
