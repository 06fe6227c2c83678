#!/usr/bin/env bash
# Starts the game on an X display of its own (Xvfb with openbox) and checks
# that its window's WM_CLASS names the desktop entry: the instance part is
# the entry's StartupWMClass and its desktop ID, so docks and shells match
# the running window to its launcher.
#
# usage: window_class.sh TAVRIX SOURCE_DIR DESKTOP_ENTRY
# Exits with 77 (skipped) when Xvfb, openbox or xprop is not installed.
set -euo pipefail

tavrix="$1"
source_dir="$2"
entry="$3"

fail() { echo "FAIL: $*" >&2; exit 1; }

if [ -z "${TAVRIX_ON_OWN_DISPLAY:-}" ]; then
  TAVRIX_ON_OWN_DISPLAY=1 exec bash "$source_dir/tests/display/with_openbox.sh" bash "$0" "$@"
fi

desktop_id="$(basename "$entry" .desktop)"
wm_class="$(sed -n 's/^StartupWMClass=//p' "$entry")"
[ "$wm_class" = "$desktop_id" ] || fail "the entry's StartupWMClass is '$wm_class', not its desktop ID $desktop_id"

work="$(mktemp -d)"
game_pid=
cleanup() {
  if [ -n "$game_pid" ]; then kill "$game_pid" 2>/dev/null || true; wait "$game_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -m 700 "$work/runtime"

# RESOURCE_NAME would rename the instance; the game is started as a launcher
# starts it.
env -u RESOURCE_NAME XDG_RUNTIME_DIR="$work/runtime" "$tavrix" >"$work/game.log" 2>&1 &
game_pid=$!

windows=
for _ in $(seq 300); do
  windows="$(xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -o '0x[0-9a-f]*' || true)"
  [ -n "$windows" ] && break
  kill -0 "$game_pid" 2>/dev/null || { cat "$work/game.log" >&2; fail "the game exited before showing a window"; }
  sleep 0.1
done
[ -n "$windows" ] || fail "no window appeared within 30 s"

for window in $windows; do
  class="$(xprop -id "$window" WM_CLASS)"
  echo "window $window: $class"
  [ "$class" = "WM_CLASS(STRING) = \"$desktop_id\", \"Tavrix\"" ] \
    || fail "window $window has $class; its instance should be $desktop_id and its class Tavrix"
done
echo "window class OK"
