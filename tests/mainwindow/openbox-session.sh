#!/bin/sh
# Runs a command on an X server of its own with the openbox window manager, as on a user's desktop:
# Xvfb on a display it picks itself (free even with other tests running), openbox managing windows
# before the command starts, both ended afterwards. Answers the command's exit status. The server never
# resets: one that resets when its last client leaves would close under openbox if the wait's own client
# left just as openbox connected.
# Usage: openbox-session.sh [--screen WxHxDEPTH] command [arguments]
set -u
screen=1920x1080x24
if [ "${1:-}" = "--screen" ]; then
  screen=$2
  shift 2
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/rs-openbox-XXXXXX")
xvfb_pid=""
wm_pid=""
cleanup() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM
# Each start-up is waited for by its state, for up to this many seconds however busy the machine is.
bound=60

Xvfb -displayfd 3 -noreset -screen 0 "$screen" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
deadline=$(($(date +%s) + bound))
until [ -s "$work/display" ]; do
  if [ "$(date +%s)" -gt $deadline ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1
  fi
  sleep 0.1
done
DISPLAY=":$(head -n1 "$work/display")"
export DISPLAY

openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
# openbox manages windows once it announces itself on the root window.
deadline=$(($(date +%s) + bound))
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; do
  if [ "$(date +%s)" -gt $deadline ] || ! kill -0 "$wm_pid" 2>/dev/null; then
    echo "openbox did not start:" >&2; cat "$work/openbox.log" >&2; exit 1
  fi
  sleep 0.1
done

"$@"
status=$?
exit $status
