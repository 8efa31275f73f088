#!/bin/bash
# Creates the test run's Wine prefix and starts its Xvfb display, once.
# Safe to call from many tests at once: the first one does the work.
set -euo pipefail
here=$(dirname "$(realpath "$0")")
source "$here/env.sh" "$1"
mkdir -p "$WINE_STATE_DIR"
exec 9>"$WINE_STATE_DIR/setup.lock"
flock 9

display_alive() {
  [ -s "$WINE_STATE_DIR/display" ] && [ -s "$WINE_STATE_DIR/xvfb.pid" ] &&
    kill -0 "$(cat "$WINE_STATE_DIR/xvfb.pid")" 2>/dev/null
}

if ! display_alive; then
  rm -f "$WINE_STATE_DIR/display" "$WINE_STATE_DIR/xvfb.pid"
  # -displayfd picks a free display number and tells it to us.
  exec 8>"$WINE_STATE_DIR/display.tmp"
  setsid Xvfb -displayfd 8 -screen 0 1280x1024x24 -nolisten tcp \
    >"$WINE_STATE_DIR/xvfb.log" 2>&1 </dev/null 9>&- &
  echo $! >"$WINE_STATE_DIR/xvfb.pid"
  exec 8>&-
  for _ in $(seq 100); do
    [ -s "$WINE_STATE_DIR/display.tmp" ] && break
    sleep 0.1
  done
  num=$(tr -dc '0-9' <"$WINE_STATE_DIR/display.tmp")
  [ -n "$num" ] || { echo "Xvfb did not start" >&2; cat "$WINE_STATE_DIR/xvfb.log" >&2; exit 1; }
  echo ":$num" >"$WINE_STATE_DIR/display"
fi
export DISPLAY=$(cat "$WINE_STATE_DIR/display")

make_prefix() {
  rm -rf "$WINEPREFIX"
  wineboot -i >"$WINE_STATE_DIR/wineboot.log" 2>&1 </dev/null 9>&- &&
    # Without a window manager, Wine waits 2 s for one each time a top-level
    # window is shown or hidden; unmanaged windows skip the wait.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      >>"$WINE_STATE_DIR/wineboot.log" 2>&1 </dev/null 9>&- &&
    # A fresh prefix must go idle once, or local-server activation stalls.
    wineserver -w 9>&-
}
if [ ! -f "$WINE_STATE_DIR/prefix.ready" ]; then
  # A fresh prefix made while another is being made beside it has failed
  # at once now and then: once more, after saying why.
  if ! make_prefix; then
    echo "making the Wine prefix failed; once more. Its log:" >&2
    cat "$WINE_STATE_DIR/wineboot.log" >&2
    wineserver -k 9>&- 2>/dev/null || true
    make_prefix
  fi
  touch "$WINE_STATE_DIR/prefix.ready"
fi
# Keep one wineserver for the whole run instead of one per test.
if [ ! -f "$WINE_STATE_DIR/wineserver.started" ]; then
  # Its output must not hold the test runner's pipe, nor our lock, open.
  wineserver -p600 >/dev/null 2>&1 </dev/null 9>&- || true
  touch "$WINE_STATE_DIR/wineserver.started"
fi
