#!/usr/bin/env bash
# Builds the .deb with cpack, unpacks it and checks its control fields, its
# files and its Debian documents, then starts the unpacked game offscreen and
# checks that it keeps running.
#
# usage: deb_package.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
# Exits with 77 (skipped) when one of its tools is not installed.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/make_deb.sh"

build_dir="$1"
source_dir="$2"
version="$3"
app_id="$4"

need_tools dpkg-parsechangelog

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

make_deb "$build_dir" "$source_dir"

# Control fields.
[ "$(dpkg-deb -f "$deb" Package)" = tavrix ] || fail "Package is not tavrix"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version is $(dpkg-deb -f "$deb" Version), not $version"
[ "$(dpkg-deb -f "$deb" Section)" = education ] || fail "Section is $(dpkg-deb -f "$deb" Section), not education"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no Maintainer"

depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
# One dependency per line, without version constraints.
names="$(tr ',' '\n' <<<"$depends" | sed 's/(.*)//; s/^ *//; s/ *$//')"
for pkg in fonts-arphic-uming fonts-liberation libqt6widgets6 libc6 libstdc++6; do
  grep -qx "$pkg" <<<"$names" || fail "Depends lacks $pkg"
done

# The file list: exactly the game, its manual page, its desktop integration
# and its Debian documents.
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's#^\./##' | sort >"$work/files"
cat >"$work/expected" <<LIST
usr/bin/tavrix
usr/share/applications/$app_id.desktop
usr/share/doc/tavrix/changelog.gz
usr/share/doc/tavrix/copyright
usr/share/icons/hicolor/48x48/apps/$app_id.png
usr/share/icons/hicolor/scalable/apps/$app_id.svg
usr/share/man/man1/tavrix.1.gz
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
cmp -s "$root/usr/share/applications/$app_id.desktop" "$build_dir/packaging/$app_id.desktop" \
  || fail "packaged desktop entry differs from the build's packaging/$app_id.desktop"
cmp -s "$root/usr/share/doc/tavrix/copyright" "$source_dir/packaging/copyright" \
  || fail "packaged copyright file differs from packaging/copyright"

# The changelog is a native package's (the version has no Debian revision),
# and its latest entry is this version.
gzip -dc "$root/usr/share/doc/tavrix/changelog.gz" >"$work/changelog" || fail "changelog.gz is not gzip data"
cmp -s "$work/changelog" "$source_dir/packaging/changelog" || fail "packaged changelog differs from packaging/changelog"
changes_version="$(dpkg-parsechangelog -l "$work/changelog" -S Version)"
[ "$changes_version" = "$version" ] || fail "the changelog's latest entry is $changes_version, not $version"

# Start the unpacked game. Without options it waits for the player, so it
# must still be running after a while; the test then ends it.
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
