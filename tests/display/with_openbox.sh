#!/usr/bin/env bash
# Runs a command on a display of its own: a new Xvfb server with openbox as
# its window manager, so that windows are mapped, framed and activated as on
# a desktop. The command's exit status is the script's.
#
#   with_openbox.sh [--needs TOOL]... [--no-window-manager | --focus-new-off] COMMAND [ARGS...]
#
# DISPLAY is set for the command and QT_QPA_PLATFORM is xcb. Needs Xvfb,
# openbox and xprop (x11-utils), and each TOOL the command needs: without one
# of them it exits with 77, the status CTest takes for a skipped test. With
# --no-window-manager the display has no window manager at all: nobody frames
# the windows or hands the focus on. With --focus-new-off openbox runs with
# the configuration it would read by default, but with <focusNew>no</focusNew>:
# a window that appears is not given the focus (focus-stealing prevention).
source "$(dirname "${BASH_SOURCE[0]}")/runner.sh"

tools=(Xvfb xprop)
window_manager=openbox
focus_new=yes
while :; do
  case "${1:-}" in
    --needs) tools+=("$2"); shift 2 ;;
    --no-window-manager) window_manager=""; shift ;;
    --focus-new-off) focus_new=no; shift ;;
    *) break ;;
  esac
done
[ -n "$window_manager" ] && tools+=("$window_manager")
needs "${tools[@]}"
start_work

# Xvfb picks a free display number and writes it to the pipe.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
started+=($!)
read -r -t 20 number <"$work/displayfd" || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
export DISPLAY=":$number"

# The number can come before the server takes connections: wait for it.
wait_until 100 xprop -root >/dev/null 2>&1 || true

# The configuration openbox reads when told none: the user's, else the
# first of the system's.
default_config() {
  local dir
  local IFS=:
  for dir in "${XDG_CONFIG_HOME:-${HOME:-}/.config}" ${XDG_CONFIG_DIRS:-/etc/xdg}; do
    [ -r "$dir/openbox/rc.xml" ] && { echo "$dir/openbox/rc.xml"; return 0; }
  done
  return 1
}
openbox_args=()
if [ -n "$window_manager" ] && [ "$focus_new" = no ]; then
  rc="$(default_config)" || { echo "skipped: no openbox rc.xml to start from"; exit 77; }
  sed 's|<focusNew>[^<]*</focusNew>|<focusNew>no</focusNew>|' "$rc" >"$work/rc.xml"
  grep -q '<focusNew>no</focusNew>' "$work/rc.xml" || { echo "$rc has no <focusNew> setting" >&2; exit 1; }
  openbox_args=(--config-file "$work/rc.xml")
fi

wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
if [ -n "$window_manager" ]; then
  # openbox gives up at once when it cannot open the display; try it again.
  for _ in 1 2 3; do
    openbox "${openbox_args[@]}" >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    started+=("$wm_pid")
    wait_until 100 eval 'wm_ready || ! kill -0 "$wm_pid" 2>/dev/null' || true
    wm_ready && break
  done
  wm_ready || { echo "openbox did not start:" >&2; cat "$work/openbox.log" "$work/xvfb.log" >&2; exit 1; }
fi

export QT_QPA_PLATFORM=xcb
run_command "$@"
