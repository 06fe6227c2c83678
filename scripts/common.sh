# Shared by play.sh and test.sh: installs what is missing and builds.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
JOBS="$(nproc 2>/dev/null || echo 2)"
# The presets pin no job count: Ninja builds on every core, and ctest runs
# this many tests at once.
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$JOBS}"

# Debian packages the game needs to build and run.
PLAY_PACKAGES=(cmake g++ make ninja-build pkg-config qt6-base-dev libgl-dev libxcb1-dev fonts-arphic-uming fonts-liberation)
# What the tests need on top: the test and benchmark libraries, clang for the
# fuzzers, Python 3 for the icon header's check, the packaging checks' tools,
# and a display with a window manager for the display tests (X with openbox,
# and a Wayland compositor).
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev python3
               desktop-file-utils appstream dpkg-dev file lintian
               xvfb openbox x11-utils x11-xserver-utils xdotool wmctrl weston qt6-wayland clang-format
               orca speech-dispatcher espeak-ng at-spi2-core dbus-x11 libxcb-xtest0-dev)
# What the start-up and transition measurements need: a display, a window
# manager, xprop, and the X test extension to press keys.
BENCH_PACKAGES=(libbenchmark-dev xvfb openbox x11-utils libxcb-xtest0-dev)
# The fonts a GNOME desktop brings, for the measurements: programs that draw
# text start slower the more fonts there are. The whole Noto set with CJK
# (about 2,600 fonts in fc-list).
BENCH_FONTS=(fonts-noto fonts-noto-cjk fonts-noto-cjk-extra)

# can_be_root: true when this is root or sudo is there to become it.
can_be_root() { [ "$(id -u)" -eq 0 ] || command -v sudo >/dev/null 2>&1; }

# as_root COMMAND...: runs COMMAND as root, through sudo when this is not
# root. Without sudo it stops with one line that says what to run as root.
as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif can_be_root; then
    sudo "$@"
  else
    echo "${0##*/}: not root and no sudo; as root, run: $*" >&2
    exit 1
  fi
}

install_missing() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ "${#missing[@]}" -gt 0 ]; then
    if ! can_be_root; then
      echo "${0##*/}: missing Debian packages and no sudo to install them; as root, run:" \
           "apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
      exit 1
    fi
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# build DIR [cmake options...]
build() {
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" "$@" >/dev/null
  cmake --build "$dir" -j "$JOBS"
}
