#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR under /usr and checks the desktop
# integration files: where they land, that they agree with each other, and
# that desktop-file-validate and appstreamcli accept them without a remark.
#
# usage: install_tree.sh BUILD_DIR SOURCE_DIR
set -euo pipefail

build_dir="$1"
source_dir="$2"
app_id=io.github.tavrix.Tavrix

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cmake desktop-file-validate appstreamcli file; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
dest="$work/root"

DESTDIR="$dest" cmake --install "$build_dir" --prefix /usr >"$work/install.log" \
  || { cat "$work/install.log" >&2; fail "cmake --install failed"; }

usr="$dest/usr"
bin="$usr/bin/tavrix"
desktop="$usr/share/applications/$app_id.desktop"
metainfo="$usr/share/metainfo/$app_id.metainfo.xml"
png="$usr/share/icons/hicolor/48x48/apps/$app_id.png"
svg="$usr/share/icons/hicolor/scalable/apps/$app_id.svg"

for f in "$bin" "$desktop" "$metainfo" "$png" "$svg"; do
  [ -f "$f" ] || fail "missing from the install tree: ${f#"$dest"}"
done
[ -x "$bin" ] || fail "usr/bin/tavrix is not executable"
file -b "$bin" | grep -q '^ELF .*executable' \
  || fail "usr/bin/tavrix is not an ELF executable: $(file -b "$bin")"

# The icons are the project's own files, and of the promised kind and size.
cmp -s "$png" "$source_dir/data/icons/tavrix-48.png" || fail "48x48 icon differs from data/icons/tavrix-48.png"
cmp -s "$svg" "$source_dir/data/icons/tavrix.svg" || fail "scalable icon differs from data/icons/tavrix.svg"
file -b "$png" | grep -q '^PNG image data, 48 x 48' || fail "48x48 icon is not a 48x48 PNG: $(file -b "$png")"
file -b "$svg" | grep -q 'SVG' || fail "scalable icon is not SVG: $(file -b "$svg")"

# desktop-file-validate prints errors, warnings and hints; a clean file
# gives no output at all.
out="$(desktop-file-validate "$desktop" 2>&1)" || fail "desktop-file-validate failed: $out"
[ -z "$out" ] || fail "desktop-file-validate has remarks: $out"

# The desktop entry launches the installed binary and names the installed icon.
grep -qx 'Exec=tavrix' "$desktop" || fail "desktop entry does not run tavrix"
grep -qx "Icon=$app_id" "$desktop" || fail "desktop entry does not name icon $app_id"
grep -qx 'Categories=Education;Math;' "$desktop" || fail "desktop entry categories are not Education;Math;"
# Docks match a window to this entry by the entry's name: the game's windows
# carry it as WM_CLASS (window_class.sh) and Wayland app_id.
[ "$(basename "$desktop" .desktop)" = "$app_id" ] || fail "desktop entry is not named $app_id.desktop"
grep -qx "StartupWMClass=$app_id" "$desktop" || fail "desktop entry's StartupWMClass is not $app_id"

# --strict fails on anything above a pedantic hint; validate-tree also
# checks the metainfo against the desktop entry and icons it refers to.
appstreamcli validate --no-net --strict "$metainfo" >"$work/as.log" 2>&1 \
  || { cat "$work/as.log" >&2; fail "appstreamcli validate failed"; }
appstreamcli validate-tree --no-net --strict "$usr" >"$work/tree.log" 2>&1 \
  || { cat "$work/tree.log" >&2; fail "appstreamcli validate-tree failed"; }

grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
  || fail "metainfo launchable is not $app_id.desktop"
grep -q '<release version="1.1.0" date="2026-12-10"' "$metainfo" \
  || fail "metainfo lacks the 1.1.0 release"

echo "install tree OK"
