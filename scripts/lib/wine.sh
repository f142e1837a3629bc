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
# Wine's services (services.exe, winedevice.exe, ...) start with the first program and then live
# as long as the server, holding whatever output that program had: started by the first program
# of a build step, they would keep its pipe open and the build waiting for ever. Booted here, they
# hold nothing.
wine_server_start() {
  wineserver -p
  wine_run wineboot </dev/null >/dev/null 2>&1
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

# The installed program's settings (Qt's key for the organisation and application, both
# "loadcalc") and, under the Linux path of %APPDATA% (data_folder), the folder of its recovery
# copies.
settings_key='HKCU\Software\loadcalc'
settings_value='HKCU\Software\loadcalc\loadcalc'

data_folder() {
  echo "$(wine_folder APPDATA)/loadcalc"
}

# uninstalled DIR LINKS KEY DATA: nothing is left of the installation: the folder, the Start-menu
# entry, the uninstall entry, the .lcbook association, the program's settings or its recovery
# copies' folder DATA.
uninstalled() {
  [ ! -e "$1" ] && ! ls "$2"/*.lnk >/dev/null 2>&1 && ! wine_run reg query "$3" >/dev/null 2>&1 &&
    ! book_associated && ! wine_run reg query "$settings_key" >/dev/null 2>&1 && [ ! -e "$4" ]
}

# forget_program DATA: no settings and no recovery copies, as on a machine the program never ran
# on; the suite under Wine leaves the recent books of its own saves.
forget_program() {
  wine_run reg delete "$settings_key" /f >/dev/null 2>&1 || true
  rm -rf "$1"
}

# recent_in_registry: the recent books are in the registry.
recent_in_registry() {
  wine_run reg query "$settings_value" /v recentBooks >/dev/null 2>&1
}

# run_on_book EXE BOOK DONE...: starts EXE on BOOK as a double click in Explorer does, without a
# display (Qt's offscreen platform, from the cross-built Qt: the shipped folder carries only the
# Windows one), waits until the command DONE succeeds and stops the program; fails when DONE never
# does.
run_on_book() {
  local exe=$1 book=$2 job pid status=0
  shift 2
  QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH="Z:$LOADCALC_WINE_PLUGINS" \
    QT_QPA_FONTDIR="Z:$LOADCALC_WINE_FONTDIR" wine_run "$exe" "$(winepath -w "$book")" \
    >/dev/null 2>&1 &
  job=$!
  wait_until 60 "$@" || status=1
  pid=$(wine_pid "$exe")
  [ -z "$pid" ] || kill "$pid"
  wait_until 20 eval "! kill -0 $job 2>/dev/null" || kill "$job" 2>/dev/null || true
  wait "$job" 2>/dev/null || true
  return "$status"
}

# Whether .lcbook files open with loadcalc for this user: the extension names the class, whose
# open command starts the program on the file.
book_associated() {
  local classes='HKCU\Software\Classes'
  wine_run reg query "$classes\.lcbook" /ve 2>/dev/null | grep -q 'loadcalc\.book' &&
    wine_run reg query "$classes\loadcalc.book\shell\open\command" /ve 2>/dev/null |
    grep -q 'loadcalc\.exe" "%1"'
}

# installer_round_trip SETUP PACKED-EXE BOOK: the installer, silently into the prefix: the files,
# the Start-menu entry, the uninstall entry and the .lcbook association must arrive; the installed
# program, run on a copy of BOOK in the user's folder, must keep its recent books in the registry
# and its recovery copies in the user's profile; and the uninstaller must take all of them away
# again, and leave the book. The uninstaller copies itself away and returns at once: wait for its
# work, which ends with the registry entry.
installer_round_trip() {
  local setup=$1 packed=$2 dir link key book data
  key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\loadcalc'
  dir=$(wine_folder LOCALAPPDATA)/Programs/loadcalc
  link=$(wine_folder APPDATA)/Microsoft/Windows/Start\ Menu/Programs
  book=$(wine_folder USERPROFILE)/tower.lcbook
  data=$(data_folder)
  forget_program "$data"
  wine_run "$setup" /S >/dev/null 2>&1
  [ -f "$dir/loadcalc.exe" ] && [ -f "$dir/platforms/qwindows.dll" ] ||
    { echo "windows: the installer did not install loadcalc.exe into $dir" >&2; return 1; }
  cmp -s "$dir/loadcalc.exe" "$packed" ||
    { echo "windows: the installed loadcalc.exe is not the packed one" >&2; return 1; }
  ls "$link"/*.lnk >/dev/null 2>&1 || { echo "windows: the installer made no Start-menu entry" >&2; return 1; }
  wine_run reg query "$key" >/dev/null 2>&1 ||
    { echo "windows: the installer wrote no uninstall entry" >&2; return 1; }
  book_associated || { echo "windows: the installer did not associate .lcbook" >&2; return 1; }
  cp "$3" "$book"
  # The program is stopped by a kill, which leaves the book's lock file: an earlier run's would
  # name a process id that Wine may have given to another program since, and ask 只读打开.
  rm -f "$(dirname "$book")/.~lock.$(basename "$book")#"
  run_on_book "$dir/loadcalc.exe" "$book" recent_in_registry ||
    { echo "windows: the installed program kept no recent books in $settings_value" >&2; return 1; }
  [ -d "$data/loadcalc" ] ||
    { echo "windows: the installed program made no folder for its recovery copies in $data" >&2; return 1; }
  wine_run "$dir/uninstall.exe" /S >/dev/null 2>&1
  wait_until 60 uninstalled "$dir" "$link" "$key" "$data" || {
    echo "windows: the uninstaller left $(ls -d "$dir" "$link"/*.lnk "$data" 2>/dev/null | paste -sd ' ')" \
      "$(wine_run reg query "$key" >/dev/null 2>&1 && echo "and its registry entry")" \
      "$(wine_run reg query "$settings_key" >/dev/null 2>&1 && echo "and the program's settings")" \
      "$(book_associated && echo "and the .lcbook association")" >&2
    return 1
  }
  cmp -s "$3" "$book" || { echo "windows: the uninstaller did not leave the user's book alone" >&2; return 1; }
  rm -f "$book"
  echo "windows: the installer installs for the user; the uninstaller takes everything away," \
    "the program's settings and recovery copies included, and leaves the user's book" >&2
}

# portable_round_trip ZIP UNPACKED BOOK: the zip unpacked into UNPACKED and its program run on a
# copy of BOOK beside it, as someone carrying it on a USB stick would: the recent books must go to
# the INI file beside the program, the recovery copies' folder too, and nothing into the registry
# or the user's profile.
portable_round_trip() {
  local zip=$1 unpacked=$2 folder ini data
  rm -rf "$unpacked"
  mkdir -p "$unpacked"
  (cd "$unpacked" && unzip -q "$zip")
  folder=$(dirname "$(ls "$unpacked"/*/loadcalc.exe)")
  [ -f "$folder/portable" ] || { echo "windows: the zip carries no portable marker" >&2; return 1; }
  ini=$folder/loadcalc/loadcalc.ini
  cp "$3" "$folder/tower.lcbook"
  data=$(data_folder)
  forget_program "$data"
  run_on_book "$folder/loadcalc.exe" "$folder/tower.lcbook" grep -qs recentBooks "$ini" ||
    { echo "windows: the unpacked program kept no recent books in $ini" >&2; return 1; }
  ! wine_run reg query "$settings_key" >/dev/null 2>&1 ||
    { echo "windows: the unpacked program wrote $settings_key" >&2; return 1; }
  [ ! -e "$data" ] || { echo "windows: the unpacked program wrote $data" >&2; return 1; }
  [ -d "$folder/loadcalc" ] ||
    { echo "windows: the unpacked program made no folder for its recovery copies beside it" >&2; return 1; }
  echo "windows: the unpacked zip keeps its settings in $(basename "$folder")/loadcalc/loadcalc.ini" \
    "and writes nothing into the registry or the user's profile" >&2
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
