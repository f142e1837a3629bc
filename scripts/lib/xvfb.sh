# shellcheck shell=bash
# Sourced by the scripts that picture a window: a program on a virtual X server of its own.

# on_xvfb SIZE COMMAND...: runs COMMAND (a function too) with DISPLAY naming a new virtual X
# server with a screen of SIZE (WxH) at 96 dpi, and stops the server after it; COMMAND's status.
on_xvfb() {
  local size=$1 number server status=0
  shift
  number=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -dpi 96 -nolisten tcp 3>"$number" 2>/dev/null &
  server=$!
  for _ in $(seq 100); do
    [ -s "$number" ] && break
    sleep 0.1
  done
  set +e
  (
    set -e
    export DISPLAY=:$(head -1 "$number")
    "$@"
  )
  status=$?
  set -e
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$number"
  return "$status"
}

# picture_window [--screen] SIZE PICTURE FIND ACT COMMAND...: starts COMMAND on a virtual X
# server of SIZE, waits until FIND (a command) prints the id of its window, runs ACT ID (":" for
# nothing), pictures the window (with --screen, the whole screen: tooltips are windows of their
# own) into PICTURE and stops COMMAND.
picture_window() {
  local whole=
  if [ "$1" = --screen ]; then
    whole=1
    shift
  fi
  on_xvfb "$1" _picture_window "$whole" "${@:2}"
}

_picture_window() {
  local whole=$1 picture=$2 find=$3 act=$4 pid id="" target
  shift 4
  "$@" &
  pid=$!
  for _ in $(seq 300); do
    id=$($find 2>/dev/null || true)
    [ -n "$id" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  if [ -z "$id" ]; then
    echo "the window of $1 did not appear" >&2
    kill "$pid" 2>/dev/null || true
    return 1
  fi
  sleep 1  # let the first paint settle
  $act "$id"
  target=$id
  [ -z "$whole" ] || target=root
  import -window "$target" "$picture"
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

# window_sized SIZE: the id of a shown window of loadcalc's of SIZE (WxH), for picture_window.
window_sized() {
  xwininfo -root -tree | awk -v size=" $1+" '/loadcalc/ && index($0, size) {print $1; exit}'
}
