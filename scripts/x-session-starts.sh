#!/usr/bin/env bash
# Starts the tests' X servers over and over on a busy machine, as ctest does, and counts the starts that
# fail: tests/mainwindow/openbox-session.sh two at a time, beside three xvfb-run starts at a time with the
# tests' server arguments, with busy loops on the cores. Exits 1 if any start failed.
# Usage: scripts/x-session-starts.sh [starts (300)] [busy loops (16)] [session script]
set -u
starts=${1:-300}
loops=${2:-16}
here=$(cd "$(dirname "$0")/.." && pwd)
session=${3:-$here/tests/mainwindow/openbox-session.sh}
work=$(mktemp -d "${TMPDIR:-/tmp}/rs-xstarts-XXXXXX")
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

for _ in $(seq "$loops"); do
  (while :; do :; done) &
  pids+=($!)
done
# The GL tests' servers come and go beside the sessions (the arguments of rs_xvfb_command).
for _ in 1 2 3; do
  (while :; do xvfb-run -a -s "-noreset -screen 0 640x480x24" true >/dev/null 2>&1; done) &
  pids+=($!)
done

failed=0
for i in $(seq 1 2 "$starts"); do
  "$session" --screen 640x480x24 true >"$work/a.log" 2>&1 &
  a=$!
  "$session" --screen 640x480x24 true >"$work/b.log" 2>&1 &
  b=$!
  for p in "$a:a" "$b:b"; do
    if ! wait "${p%%:*}"; then
      failed=$((failed + 1))
      echo "start $i failed:" >&2
      cat "$work/${p##*:}.log" >&2
    fi
  done
done
echo "$failed of $(( (starts + 1) / 2 * 2 )) session starts failed"
[ "$failed" -eq 0 ]
