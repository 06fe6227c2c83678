#!/usr/bin/env bash
# Runs a command on a display of its own: a new Xvfb server with no window
# manager, so that nobody frames the windows or hands the focus on. The
# command's exit status is the script's.
#
#   with_xvfb.sh COMMAND [ARGS...]
#
# DISPLAY is set for the command and QT_QPA_PLATFORM is xcb. Needs Xvfb,
# xprop (x11-utils).
set -euo pipefail

work="$(mktemp -d)"
x_pid=""
cleanup() {
  [ -n "$x_pid" ] && kill "$x_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to the pipe.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
x_pid=$!
read -r -t 20 number <"$work/displayfd" || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$number"

# The number can come before the server takes connections: wait for it.
for _ in $(seq 100); do
  xprop -root >/dev/null 2>&1 && break
  sleep 0.1
done

export QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
