#!/bin/bash
# Ends every process the test run started under Wine, and its display.
here=$(dirname "$(realpath "$0")")
source "$here/env.sh" "$1"
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
if [ -s "$WINE_STATE_DIR/xvfb.pid" ]; then
  kill "$(cat "$WINE_STATE_DIR/xvfb.pid")" 2>/dev/null || true
fi
rm -f "$WINE_STATE_DIR/display" "$WINE_STATE_DIR/xvfb.pid" "$WINE_STATE_DIR/wineserver.started"
exit 0
