#!/bin/sh
# Runs a program of the Windows cross build under Wine; the cross build names it as its
# CMAKE_CROSSCOMPILING_EMULATOR, so the icon painter and every test run through it.
#   LOADCALC_WINE_PATH   colon-separated Linux folders holding the DLLs the program loads
# Wine hands a Windows program none of the host's QT_* variables (they describe the host's Qt);
# it hands on WINEQT_* as QT_*. The tests' QT_* settings are meant for the program, so pass them
# that way.
set -eu
# Quiet, and no prompts to fetch Mono or Gecko, which nothing here needs; no menu entries on the
# host for what a program (the installer) puts in the Start menu.
export WINEDEBUG="${WINEDEBUG--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES-mscoree,mshtml=;winemenubuilder.exe=d}"
for name in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
  export "WINE$name=$(printenv "$name")"
done
if [ -n "${LOADCALC_WINE_PATH:-}" ]; then
  WINEPATH=$(printf '%s' "$LOADCALC_WINE_PATH" | tr ':' '\n' | sed 's|^|Z:|' | paste -sd ';')
  export WINEPATH
fi
# Now and then on this machine a starting program loses its connection to the wineserver
# ("wine client error:0: recvmsg: Connection reset by peer") before it prints anything, while the
# programs beside it run on. That failure is Wine's, not the program's: run it once more then, and
# only then.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
for attempt in 1 2; do
  status=0
  wine "$@" 2>"$err" || status=$?
  cat "$err" >&2
  if [ "$status" -ne 0 ] && [ "$attempt" -eq 1 ] && grep -q '^wine client error' "$err"; then
    echo "wine-emulator: Wine lost its server connection; running $1 again" >&2
    continue
  fi
  break
done
exit "$status"
