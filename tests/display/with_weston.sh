#!/usr/bin/env bash
# Runs a command on a Wayland display of its own: a headless weston, which
# has no seat and so never activates a window by itself. The command's exit
# status is the script's.
#
#   with_weston.sh COMMAND [ARGS...]
#
# WAYLAND_DISPLAY and XDG_RUNTIME_DIR are set for the command, DISPLAY is
# unset, QT_QPA_PLATFORM is wayland and QT_IM_MODULE is none. Needs weston and
# Qt's Wayland plugin (qt6-wayland): without them it exits with 77, the status
# CTest takes for a skipped test.
set -euo pipefail

command -v weston >/dev/null || { echo "skipped: weston is not installed"; exit 77; }
plugins=(/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so /usr/lib*/qt6/plugins/platforms/libqwayland-generic.so)
found=""
for p in "${plugins[@]}"; do [ -f "$p" ] && found="$p"; done
[ -n "$found" ] || { echo "skipped: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }

export XDG_RUNTIME_DIR="$(mktemp -d)"
chmod 700 "$XDG_RUNTIME_DIR"
socket="wayland-tavrix"
weston_pid=""
cleanup() {
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$XDG_RUNTIME_DIR/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
  [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
  sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || { echo "weston did not start:" >&2; cat "$XDG_RUNTIME_DIR/weston.log" >&2; exit 1; }

export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
# Qt's Wayland text input dereferences the seat's input device on every key
# event; a compositor without a seat has none, so the keys that a test sends
# itself would crash it. No input method, no text input.
export QT_IM_MODULE=none
unset DISPLAY
status=0
"$@" || status=$?
exit "$status"
