#!/usr/bin/env bash
# Installs what is missing, builds and starts Tavrix.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing "${PLAY_PACKAGES[@]}"
build "$ROOT/build/play" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Tavrix is built (build/play/app/tavrix), but there is no display to show it on:" >&2
  echo "neither DISPLAY nor WAYLAND_DISPLAY is set. Run this from a desktop session." >&2
  exit 1
fi
exec "$ROOT/build/play/app/tavrix"
