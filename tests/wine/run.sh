#!/bin/bash
# The cross build's test emulator: runs a Windows program under Wine in the
# test run's prefix and display, setting them up first if nobody has yet.
#   run.sh <state dir> <program.exe> [args...]
# RAPPORTA_WINE_RUN=<name> runs it in the prefix and display of <state dir>-<name>
# instead: the same test executables against a differently set-up world.
# Wine's own processes (wineserver, services, servers started by COM) inherit
# the output of whatever started them and can outlive it; a test runner
# reading a pipe would then wait for them. So the program writes to a file,
# and the file is followed onto the output only as long as the program runs:
# a test the runner kills at its timeout still shows how far it got.
set -uo pipefail
here=$(dirname "$(realpath "$0")")
state=$1${RAPPORTA_WINE_RUN:+-$RAPPORTA_WINE_RUN}; shift
"$here/setup.sh" "$state" || exit 1
source "$here/env.sh" "$state"
DISPLAY=$(cat "$WINE_STATE_DIR/display")
export DISPLAY
log=$(mktemp "$WINE_STATE_DIR/run.XXXXXX.log")
wine "$@" >"$log" 2>&1 </dev/null &
program=$!
# tail reads the file once more after the program has ended, so nothing is cut.
tail -n +1 -s 0.1 --pid=$program -f "$log" &
follower=$!
wait $program
rc=$?
wait $follower
rm -f "$log"
exit $rc
