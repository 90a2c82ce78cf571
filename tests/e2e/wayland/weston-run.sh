#!/usr/bin/env bash
# Runs a command on a Wayland desktop of its own, as xvfb-run does for X11:
# Weston's headless back end drawing with pixman (no GPU needed) in a private
# runtime folder, with the debug protocols on so that clients may take the
# compositor's screenshots (weston-screenshooter). Weston is stopped when the
# command ends; the command's exit code is returned.
#
#   weston-run.sh [--width W] [--height H] command [arguments...]
set -uo pipefail

WIDTH=1280
HEIGHT=800
while [ $# -gt 0 ]; do
  case "$1" in
    --width) WIDTH="$2"; shift 2 ;;
    --height) HEIGHT="$2"; shift 2 ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: weston-run.sh [--width W] [--height H] command..." >&2; exit 2; }
command -v weston >/dev/null || { echo "weston-run.sh: weston is not installed" >&2; exit 2; }

RUNTIME="$(mktemp -d /tmp/waveorbit-weston-XXXXXX)"
chmod 700 "$RUNTIME"
SOCKET="wayland-waveorbit"
# A plain grey desktop without panel, lock or idle blanking.
cat >"$RUNTIME/weston.ini" <<INI
[core]
idle-time=0
[shell]
panel-position=none
background-color=0xff202020
locking=false
animation=none
startup-animation=none
INI

XDG_RUNTIME_DIR="$RUNTIME" weston --backend=headless-backend.so --use-pixman \
  --width="$WIDTH" --height="$HEIGHT" --socket="$SOCKET" --idle-time=0 --debug \
  --config="$RUNTIME/weston.ini" --log="$RUNTIME/weston.log" &
WESTON=$!
cleanup() {
  kill "$WESTON" 2>/dev/null
  wait "$WESTON" 2>/dev/null
  rm -rf "$RUNTIME"
}
trap cleanup EXIT

for _ in $(seq 100); do
  [ -S "$RUNTIME/$SOCKET" ] && break
  kill -0 "$WESTON" 2>/dev/null || break
  sleep 0.1
done
if [ ! -S "$RUNTIME/$SOCKET" ]; then
  echo "weston-run.sh: weston did not start" >&2
  cat "$RUNTIME/weston.log" >&2 2>/dev/null
  exit 2
fi
# The desktop shell paints its background a moment after the socket appears.
sleep 0.5

env -u DISPLAY XDG_RUNTIME_DIR="$RUNTIME" WAYLAND_DISPLAY="$SOCKET" QT_QPA_PLATFORM=wayland "$@"
