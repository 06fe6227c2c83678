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
source "$(dirname "${BASH_SOURCE[0]}")/runner.sh"

needs weston
plugins=(/usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so /usr/lib*/qt6/plugins/platforms/libqwayland-generic.so)
found=""
for p in "${plugins[@]}"; do [ -f "$p" ] && found="$p"; done
[ -n "$found" ] || { echo "skipped: Qt's Wayland plugin (qt6-wayland) is not installed"; exit 77; }
start_work

export XDG_RUNTIME_DIR="$work"
chmod 700 "$XDG_RUNTIME_DIR"
socket="wayland-tavrix"
weston --backend=headless-backend.so --socket="$socket" --idle-time=0 >"$work/weston.log" 2>&1 &
started+=($!)
wait_until 100 test -S "$work/$socket" ||
  { echo "weston did not start:" >&2; cat "$work/weston.log" >&2; exit 1; }

export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
# Qt's Wayland text input dereferences the seat's input device on every key
# event; a compositor without a seat has none, so the keys that a test sends
# itself would crash it. No input method, no text input.
export QT_IM_MODULE=none
unset DISPLAY
run_command "$@"
