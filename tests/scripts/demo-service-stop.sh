#!/usr/bin/env bash
# "scripts/demo-service stop" signals only the demo program that "start"
# launched: this build's binary leading a session of its own. A pid file that
# names a demo program of another build folder, or this build's binary
# started some other way, leaves that process running.
# Usage: demo-service-stop.sh <repository>
set -euo pipefail
repo="$1"
tmp="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Stand-ins named like the demo program: copies of sleep, in this build
# folder and in another one.
mkdir -p "$tmp/build/bin" "$tmp/other/bin"
cp "$(command -v sleep)" "$tmp/build/bin/waveorbit-demo"
cp "$(command -v sleep)" "$tmp/other/bin/waveorbit-demo"

# Starts a program in the background; its pid in $started.
launch() {
  "$@" &
  started=$!
  disown "$started"
  pids+=("$started")
}

running() {
  local state
  state="$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null || true)"
  [ -n "$state" ] && [ "$state" != Z ]
}

stop_with_pid() {
  echo "$1" >"$tmp/build/demo-service.pid"
  WAVEORBIT_BUILD_DIR="$tmp/build" "$repo/scripts/demo-service" stop >/dev/null
  [ ! -e "$tmp/build/demo-service.pid" ] || fail "the pid file stays after stop"
}

launch setsid "$tmp/other/bin/waveorbit-demo" 300
stop_with_pid "$started"
running "$started" || fail "stop signalled the demo program of another build folder"

launch "$tmp/build/bin/waveorbit-demo" 300
stop_with_pid "$started"
running "$started" || fail "stop signalled this build's demo program that it did not start"

launch setsid "$tmp/build/bin/waveorbit-demo" 300
stop_with_pid "$started"
for _ in $(seq 1 50); do running "$started" || break; sleep 0.1; done
running "$started" && fail "stop left the demo program it started running"
echo "demo-service stop: ok"
