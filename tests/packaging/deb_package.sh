#!/usr/bin/env bash
# Builds the .deb with cpack, unpacks it and checks its files and Depends,
# then starts the unpacked game offscreen and checks that it keeps running.
#
# usage: deb_package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build_dir="$1"
source_dir="$2"
app_id=io.github.tavrix.Tavrix

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

work="$(mktemp -d)"
game_pid=
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack failed"; }

debs=("$work"/out/*.deb)
[ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack did not make exactly one .deb: ${debs[*]}"
deb="${debs[0]}"
echo "package: $(basename "$deb")"

# Control fields.
[ "$(dpkg-deb -f "$deb" Package)" = tavrix ] || fail "Package is not tavrix"
[ "$(dpkg-deb -f "$deb" Version)" = 1.1.0 ] || fail "Version is $(dpkg-deb -f "$deb" Version), not 1.1.0"
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "Section is not games"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# One dependency per line, without version constraints.
names="$(tr ',' '\n' <<<"$depends" | sed 's/(.*)//; s/^ *//; s/ *$//')"
for pkg in fonts-arphic-uming fonts-liberation libqt6widgets6 libc6 libstdc++6; do
  grep -qx "$pkg" <<<"$names" || fail "Depends lacks $pkg"
done

# The file list: exactly the game and its desktop integration.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's#^\./##' | sort >"$work/files"
cat >"$work/expected" <<LIST
usr/bin/tavrix
usr/share/applications/$app_id.desktop
usr/share/icons/hicolor/48x48/apps/$app_id.png
usr/share/icons/hicolor/scalable/apps/$app_id.svg
usr/share/metainfo/$app_id.metainfo.xml
LIST
sort -o "$work/expected" "$work/expected"
diff -u "$work/expected" "$work/files" >&2 || fail "the .deb does not hold exactly the expected files"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/tavrix usr/share/applications/$app_id.desktop \
         usr/share/icons/hicolor/48x48/apps/$app_id.png \
         usr/share/icons/hicolor/scalable/apps/$app_id.svg \
         usr/share/metainfo/$app_id.metainfo.xml; do
  [ -f "$root/$f" ] || fail "unpacked .deb lacks $f"
done
[ -x "$root/usr/bin/tavrix" ] || fail "usr/bin/tavrix is not executable"
cmp -s "$root/usr/share/applications/$app_id.desktop" "$source_dir/packaging/$app_id.desktop" \
  || fail "packaged desktop entry differs from packaging/$app_id.desktop"

# Start the unpacked game. It has no command line and waits for the player,
# so it must still be running after a while; the test then ends it.
mkdir -m 700 "$work/runtime"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" \
  "$root/usr/bin/tavrix" >"$work/game.log" 2>&1 &
game_pid=$!
sleep 2
if ! kill -0 "$game_pid" 2>/dev/null; then
  status=0
  wait "$game_pid" || status=$?
  game_pid=
  cat "$work/game.log" >&2
  fail "the packaged game exited by itself within 2 s (status $status)"
fi
kill "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=

echo "deb package OK"
