#!/usr/bin/env bash
# Runs the game with each command line of the table below and checks its exit
# status, the first line of its standard output and all of its error output.
# Every run starts from an environment without DISPLAY, WAYLAND_DISPLAY and
# QT_QPA_PLATFORM; a case adds what it needs. DISPLAY=:9999 names an X
# display that does not exist, and WAYLAND_DISPLAY=tavrix-dead a Wayland
# display that does not exist: the game must say which display it could not
# open, in one line, and exit with 1, where Qt alone aborts. The Wayland cases
# are left out when Qt's Wayland plugin (qt6-wayland) is not installed.
#
# usage: command_line.sh TAVRIX VERSION
set -uo pipefail

tavrix="$1"
version="$2"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
failures=0

usage="Usage: tavrix [OPTION]... [QT OPTION]..."
dead_x="tavrix: cannot open the X display :9999"
dead_wayland="tavrix: cannot open the Wayland display tavrix-dead"
no_display="tavrix: no display to show the game on: neither DISPLAY nor WAYLAND_DISPLAY is set"

# status | environment | arguments | first line of stdout | all of stderr
# A status of "runs" means the game starts and is still running after 2 s.
cases=(
  "0   |                                 |--help        |$usage|"
  "0   |DISPLAY=:9999                    |--help        |$usage|"
  "0   |                                 |-h            |$usage|"
  "0   |                                 |--version     |tavrix $version|"
  "0   |DISPLAY=:9999 QT_QPA_PLATFORM=xcb|--version     |tavrix $version|"
  "0   |                                 |-style Fusion -platform offscreen --version|tavrix $version|"
  "2   |                                 |--frobnicate  ||tavrix: unknown option '--frobnicate' (see tavrix --help)"
  "2   |QT_QPA_PLATFORM=offscreen        |-x            ||tavrix: unknown option '-x' (see tavrix --help)"
  "2   |DISPLAY=:9999                    |quiz          ||tavrix: unexpected argument 'quiz' (see tavrix --help)"
  "2   |                                 |-platform     ||tavrix: option '-platform' needs a value (see tavrix --help)"
  "1   |                                 |              ||$no_display"
  "1   |QT_QPA_PLATFORM=xcb              |              ||tavrix: no X display to show the game on: DISPLAY is not set"
  "1   |DISPLAY=:9999                    |              ||$dead_x"
  "1   |DISPLAY=:9999 QT_QPA_PLATFORM=xcb|              ||$dead_x"
  "1   |QT_QPA_PLATFORM=xcb              |-display :9998||tavrix: cannot open the X display :9998"
  "1   |WAYLAND_DISPLAY=tavrix-dead      |              ||$dead_wayland"
  "1   |WAYLAND_DISPLAY=tavrix-dead QT_QPA_PLATFORM=wayland|  ||$dead_wayland"
  "1   |WAYLAND_DISPLAY=tavrix-dead DISPLAY=:9999|  ||$dead_wayland or the X display :9999"
  "runs|                                 |-platform offscreen||"
  "runs|QT_QPA_PLATFORM=offscreen        |-style Fusion -reverse||"
)

wayland_plugin=""
for p in /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so /usr/lib*/qt6/plugins/platforms/libqwayland-generic.so; do
  [ -f "$p" ] && wayland_plugin="$p"
done

trim() { local s="$1"; s="${s#"${s%%[![:space:]]*}"}"; printf '%s' "${s%"${s##*[![:space:]]}"}"; }

for row in "${cases[@]}"; do
  IFS='|' read -r want environment arguments want_out want_err <<<"$row"
  want="$(trim "$want")"
  environment="$(trim "$environment")"
  arguments="$(trim "$arguments")"
  label="tavrix ${arguments:-(no arguments)}${environment:+ with $environment}"
  if [ -z "$wayland_plugin" ] && [[ "$environment" == *WAYLAND_DISPLAY=* ]]; then
    echo "skip $label: Qt's Wayland plugin is not installed"
    continue
  fi
  # shellcheck disable=SC2086  # both lists are meant to be split into words
  command=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/runtime"
           $environment "$tavrix" $arguments)

  if [ "$want" = runs ]; then
    "${command[@]}" >"$work/out" 2>"$work/err" &
    pid=$!
    sleep 2
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"
      wait "$pid" 2>/dev/null
      echo "ok   $label: still running after 2 s"
    else
      wait "$pid"
      echo "FAIL $label: exited with status $? within 2 s: $(cat "$work/err")"
      failures=$((failures + 1))
    fi
    continue
  fi

  "${command[@]}" >"$work/out" 2>"$work/err"
  status=$?
  problems=()
  [ "$status" -lt 128 ] || problems+=("killed by signal $((status - 128))")
  [ "$status" = "$want" ] || problems+=("exit status $status, not $want")
  first_out="$(head -n 1 "$work/out")"
  [ "$first_out" = "$want_out" ] || problems+=("stdout begins '$first_out', not '$want_out'")
  err="$(cat "$work/err")"
  [ "$err" = "$want_err" ] || problems+=("stderr is '$err', not '$want_err'")
  if grep -qiE 'core dumped|aborted' "$work/out" "$work/err"; then problems+=("it reports an abort"); fi

  if [ "${#problems[@]}" -eq 0 ]; then
    echo "ok   $label: exit $status${first_out:+, '$first_out'}${err:+, '$err'}"
  else
    echo "FAIL $label: ${problems[*]}"
    failures=$((failures + 1))
  fi
done

[ "$failures" -eq 0 ] || { echo "$failures of ${#cases[@]} command lines failed" >&2; exit 1; }
echo "all ${#cases[@]} command lines OK"
