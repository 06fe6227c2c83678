# What the display runners share (sourced by with_openbox.sh, with_orca.sh
# and with_weston.sh): the check for their tools, a work folder removed with
# whatever they started, and waiting for a server to come up.
set -euo pipefail

# needs TOOL...: exits with 77, the status CTest takes for a skipped test,
# naming the first TOOL that is not installed.
needs() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

# start_work: a work folder of the runner's own, in $work; at exit, the
# processes whose ids the runner adds to $started are ended and the folder
# is removed.
started=()
start_work() {
  work="$(mktemp -d)"
  trap runner_cleanup EXIT
}
runner_cleanup() {
  local pid
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
  # What has not ended 5 s after TERM is killed: Orca can hang in its own
  # shutdown, and the test would wait for it until its time limit.
  for pid in "${started[@]}"; do
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  done
  wait 2>/dev/null || true
  rm -rf "$work"
}

# wait_until TENTHS COMMAND...: runs COMMAND every tenth of a second until it
# succeeds, for at most TENTHS tries; fails if it never did.
wait_until() {
  local tries="$1"
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# run_command COMMAND...: runs the command the runner was given; exits with
# its status.
run_command() {
  local status=0
  "$@" || status=$?
  exit "$status"
}
