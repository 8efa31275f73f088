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
# A test that nears its runner's timeout is ended here first, saying so and
# showing where every thread of every program in the prefix waits (Wine's
# debugger): a hang then tells where it is. Whatever a test that failed
# drove is ended with it: a stand-in stuck calling a client that is gone,
# and the COM service still handing out its class, would hold up the rerun
# and every test after it.
deadline=$((SECONDS + ${RAPPORTA_TEST_TIMEOUT:-100000} * 2 / 3))
while kill -0 $program 2>/dev/null && [ $SECONDS -lt $deadline ]; do sleep 0.1; done
if kill -0 $program 2>/dev/null; then
  echo "$(basename "$1") still runs after ${SECONDS}s: where each program waits, then it ends" >&2
  # The debugger of the program's own architecture (PE machine 8664: x86_64).
  pe=$(od -An -tu4 -j60 -N4 "$1")
  debugger=wine
  [ "$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')" = 8664 ] && debugger=/usr/lib/wine/wine64
  printf 'bt all\nquit\n' | timeout 60 $debugger winedbg >&2 2>&1
  kill -9 $program 2>/dev/null
fi
wait $program
rc=$?
if [ $rc -ne 0 ]; then
  for leftover in echolink_standin.exe rapporta.exe rpcss.exe; do
    wine taskkill /f /im $leftover >/dev/null 2>&1
  done
fi
wait $follower
rm -f "$log"
exit $rc
