#!/bin/sh
# Runs a program of the Windows cross build under Wine; the cross build names it as its
# CMAKE_CROSSCOMPILING_EMULATOR, so the icon painter and every test run through it, and
# scripts/windows runs its own Wine commands (wineboot, reg, the installer) through it too.
#   LOADCALC_WINE_PATH   colon-separated Linux folders holding the DLLs the program loads
# Wine hands a Windows program none of the host's QT_* variables (they describe the host's Qt);
# it hands on WINEQT_* as QT_*. The tests' QT_* settings are meant for the program, so pass them
# that way.
# Programs started one after another each start a wineserver when none runs, and it exits a few
# seconds after its last program; a program that connects while it exits fails. scripts/windows
# keeps one persistent server running for the whole run (wineserver -p); run by hand, start one
# the same way for the same WINEPREFIX.
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
exec wine "$@"
