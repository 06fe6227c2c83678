#!/usr/bin/env bash
# Runs a command with the Orca screen reader watching it: its own display
# (with_openbox.sh), a D-Bus session bus with the accessibility bus, and Orca
# with a speech server whose voice goes nowhere. What Orca speaks is in its
# debug log, named to the command by ORCA_DEBUG_LOG ("SPEECH OUTPUT" lines).
# Exits 77 (skipped) where Orca is not installed.
#
#   with_orca.sh COMMAND [ARGS...]
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/runner.sh"

if [ "${1:-}" != "--inside" ]; then
  needs orca speech-dispatcher dbus-run-session
  # Orca will not start while another Orca of the same user runs, on any
  # display (the user's own screen reader, say).
  if pgrep -u "$(id -u)" -x orca >/dev/null; then
    echo "with_orca.sh: another Orca runs for this user: skipped" >&2
    exit 77
  fi
  exec bash "$here/with_openbox.sh" dbus-run-session -- bash "$here/with_orca.sh" --inside "$@"
fi
shift
start_work

# A home of its own: Orca's settings and the speech server's configuration.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
export XDG_CACHE_HOME="$work/home/.cache" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# The dummy module speaks nothing; Orca logs what it would say all the same.
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
Timeout 0
CONF

# Orca speaks, and the test expects, English: "text", "selected".
export LANG=C.UTF-8 LC_ALL=C.UTF-8 LANGUAGE=en

export ORCA_DEBUG_LOG="$work/orca.log"
# The log is written line by line (orca_python/sitecustomize.py).
PYTHONPATH="$here/orca_python${PYTHONPATH:+:$PYTHONPATH}" orca --debug-file "$ORCA_DEBUG_LOG" >"$work/orca.out" 2>&1 &
orca_pid=$!
started+=("$orca_pid")
orca_on() { grep -q "SPEECH OUTPUT: 'Screen reader on.'" "$ORCA_DEBUG_LOG" 2>/dev/null; }
wait_until 600 eval 'orca_on || ! kill -0 "$orca_pid" 2>/dev/null' || true
orca_on || { echo "with_orca.sh: Orca did not start:" >&2; cat "$work/orca.out" >&2; exit 1; }

status=0
"$@" || status=$?
if [ "$status" -ne 0 ] && [ -n "${ORCA_KEEP_LOG:-}" ]; then cp "$ORCA_DEBUG_LOG" "$ORCA_KEEP_LOG"; fi
exit "$status"
