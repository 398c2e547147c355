#!/bin/sh
# Runs a Windows program under Wine in the prefix PREFIX, headless and quiet.
#   run-wine.sh --init PREFIX          creates the prefix (first use: seconds)
#   run-wine.sh PREFIX PROGRAM [ARGS]  runs PROGRAM; exit status is PROGRAM's
# Standard input is the file WINE_STDIN when that is set, else empty.
# The prefix lives in the build directory, so a fresh build starts from a
# fresh prefix and nothing outside the build tree is touched.
set -u
init=0
if [ "${1:-}" = "--init" ]; then init=1; shift; fi
[ $# -ge 1 ] || { echo "usage: $0 [--init] PREFIX [PROGRAM ARGS...]" >&2; exit 2; }
case $1 in
  /*) WINEPREFIX=$1 ;;
  *) WINEPREFIX=$PWD/$1 ;;  # Wine wants an absolute path
esac
shift
export WINEPREFIX
export WINEDEBUG=-all
# No Mono or Gecko: their install prompts would wait for a user.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Always headless, also on a desktop: no window may wait for a user.
unset DISPLAY WAYLAND_DISPLAY
command -v wine >/dev/null 2>&1 || { echo "wine is not installed (tools/install-deps all)" >&2; exit 2; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i </dev/null >/dev/null 2>&1
  rc=$?
  wineserver -w
  if [ $rc -ne 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "could not create the Wine prefix $WINEPREFIX (wineboot status $rc)" >&2
    exit 1
  fi
fi
[ $init -eq 1 ] && { echo "Wine prefix ready: $WINEPREFIX"; exit 0; }

[ $# -ge 1 ] || { echo "no program given" >&2; exit 2; }
wine "$@" <"${WINE_STDIN:-/dev/null}"
rc=$?
# Let the Wine server finish, so that the next run starts cleanly.
wineserver -w
exit $rc
