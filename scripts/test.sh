#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing "${PLAY_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
export QT_QPA_PLATFORM=offscreen

build "$ROOT/build/test" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$ROOT/build/test" --output-on-failure -j "$JOBS"
