# shellcheck shell=bash
# Sourced by scripts/windows: the Windows build's programs under Wine, in the prefix named by
# WINEPREFIX. Wine's settings live in cmake/wine-emulator.sh, through which every Wine command
# here runs, as the build's own do.

wine_run() {
  cmake/wine-emulator.sh "$@"
}

# wine_prefix_ready: makes the prefix once, without the Mono and Gecko prompts. Windows links
# its interface font to a Chinese one for the characters it lacks, and so the title bar shows the
# window's Chinese title; Wine's Tahoma gets the same link to Noto. Run before wine_server_start.
wine_prefix_ready() {
  [ ! -f "$WINEPREFIX/.done" ] || return 0
  echo "windows: making a Wine prefix in $WINEPREFIX" >&2
  rm -rf "$WINEPREFIX"
  wine_run wineboot -i >/dev/null 2>&1
  wine_run reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
    /v Tahoma /t REG_MULTI_SZ /d 'NotoSansCJK-Regular.ttc,Noto Sans CJK SC' /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.done"
}

# A wineserver exits a few seconds after its last program; a program that connects while it is
# exiting fails with "a wine server seems to be running, but I cannot connect to it". One server
# that stays (-p) serves every program of the run; wine_server_stop ends it and waits for it.
wine_server_start() {
  wineserver -p
}

wine_server_stop() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# wait_until SECONDS COMMAND...: polls COMMAND until it succeeds; fails after SECONDS.
wait_until() {
  local tries=$(($1 * 5))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.2
  done
}

# wine_folder NAME: the Linux path of the Windows folder in %NAME%, from Wine itself.
wine_folder() {
  winepath -u "$(wine_run cmd /c "echo %$1%" 2>/dev/null | tr -d '\r')"
}

# uninstalled DIR LINKS KEY: nothing is left of the installation: the folder, the Start-menu
# entry or the uninstall entry.
uninstalled() {
  [ ! -e "$1" ] && ! ls "$2"/*.lnk >/dev/null 2>&1 && ! wine_run reg query "$3" >/dev/null 2>&1
}

# installer_round_trip SETUP PACKED-EXE: the installer, silently into the prefix: the files, the
# Start-menu entry and the uninstall entry must arrive, and the uninstaller must take all of them
# away again. The uninstaller copies itself away and returns at once: wait for its work, which
# ends with the registry entry.
installer_round_trip() {
  local setup=$1 packed=$2 dir link key
  key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\loadcalc'
  dir=$(wine_folder LOCALAPPDATA)/Programs/loadcalc
  link=$(wine_folder APPDATA)/Microsoft/Windows/Start\ Menu/Programs
  wine_run "$setup" /S >/dev/null 2>&1
  [ -f "$dir/loadcalc.exe" ] && [ -f "$dir/platforms/qwindows.dll" ] ||
    { echo "windows: the installer did not install loadcalc.exe into $dir" >&2; return 1; }
  cmp -s "$dir/loadcalc.exe" "$packed" ||
    { echo "windows: the installed loadcalc.exe is not the packed one" >&2; return 1; }
  ls "$link"/*.lnk >/dev/null 2>&1 || { echo "windows: the installer made no Start-menu entry" >&2; return 1; }
  wine_run reg query "$key" >/dev/null 2>&1 ||
    { echo "windows: the installer wrote no uninstall entry" >&2; return 1; }
  wine_run "$dir/uninstall.exe" /S >/dev/null 2>&1
  wait_until 60 uninstalled "$dir" "$link" "$key" || {
    echo "windows: the uninstaller left $(ls -d "$dir" "$link"/*.lnk 2>/dev/null | paste -sd ' ')" \
      "$(wine_run reg query "$key" >/dev/null 2>&1 && echo "and its registry entry")" >&2
    return 1
  }
  echo "windows: the installer installs for the user and the uninstaller leaves nothing behind" >&2
}

# wine_pid EXE: the process of EXE (an absolute path) under this prefix's Wine, which names it
# by its Windows path; the Wine desktop started with EXE as its argument is not it, and another
# checkout's loadcalc.exe is not ours to measure or stop.
wine_pid() {
  local path pid name
  path=$(winepath -w "$1" 2>/dev/null)
  for pid in $(pgrep -f 'loadcalc[.]exe' || true); do
    name=$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1)
    case "${name,,}" in *loadcalc.exe) ;; *) continue ;; esac
    if [ "${name,,}" = "${path,,}" ] ||
      tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
      echo "$pid"
      return
    fi
  done
}

# wine_window EXE: the id of EXE's window, once its process runs and the window shows.
wine_window() {
  [ -n "$(wine_pid "$1")" ] && xdotool search --name '框架梁' 2>/dev/null | head -1
}

# type_into_first_field: the first field has the focus at start-up: replace its text as a user
# would, after the window has settled.
type_into_first_field() {
  sleep 2
  xdotool key --delay 80 ctrl+a
  xdotool type --delay 120 '5.4'
  sleep 2
}

# wine_picture EXE PICTURE: starts EXE under Wine on a virtual X server, in a Wine desktop so
# that the window wears Windows' frame, types into a field and pictures the screen; prints the
# program's peak memory.
wine_picture() {
  local exe=$1 picture=$2 pid
  picture_window --screen 680x580 "$picture" "wine_window $exe" "wine_measured $exe" \
    cmake/wine-emulator.sh explorer /desktop=loadcalc,680x580 "$exe"
  pid=$(wine_pid "$exe")
  [ -z "$pid" ] || kill "$pid"
}

# wine_measured EXE: types into the window, then reports EXE's peak memory.
wine_measured() {
  type_into_first_field
  echo "windows: loadcalc.exe under Wine: $(grep VmHWM "/proc/$(wine_pid "$1")/status")" >&2
}
