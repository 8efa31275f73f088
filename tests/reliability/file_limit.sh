#!/bin/bash
# Runs a test program under Wine with the size of the files it writes
# limited, as on a disk that fills up: a write past the limit is cut short
# and the next one fails.
#   file_limit.sh <kilobytes> <state dir> <program.exe> [args...]
set -uo pipefail
here=$(dirname "$(realpath "$0")")
kilobytes=$1; shift
# Wine's own processes are started outside the limit: they write the prefix.
"$here/../wine/setup.sh" "$1" || exit 1
source "$here/../wine/env.sh" "$1"
wineserver -p600 >/dev/null 2>&1 </dev/null || true
ulimit -f "$kilobytes"
# Past the limit the write fails instead of ending the process.
trap '' XFSZ
exec "$here/../wine/run.sh" "$@"
