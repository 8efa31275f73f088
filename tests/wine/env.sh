# Sourced by the Wine test scripts: where the prefix and the display live.
# $1 of the caller is the state folder (inside the build tree).
WINE_STATE_DIR=$(realpath -m "$1")
export WINEPREFIX="$WINE_STATE_DIR/prefix"
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko install prompt: the tests need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
