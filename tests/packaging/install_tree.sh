#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR under /usr and checks the desktop
# integration files, the manual page and the licence: where they land, that
# they agree with each other and with the project's version, and that
# desktop-file-validate, appstreamcli and man accept them without a remark.
#
# usage: install_tree.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
# Exits with 77 (skipped) when one of its tools is not installed.
set -euo pipefail

build_dir="$1"
source_dir="$2"
version="$3"
app_id="$4"

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in cmake desktop-file-validate appstreamcli file man; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
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
man_page="$usr/share/man/man1/tavrix.1.gz"
copyright="$usr/share/doc/tavrix/copyright"

for f in "$bin" "$desktop" "$metainfo" "$png" "$svg" "$man_page" "$copyright"; do
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
grep -q "<release version=\"$version\" date=\"" "$metainfo" \
  || fail "metainfo lacks the $version release"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo's project_license is not MIT"

# The manual page: section 1, named like the program, of this version, and
# man formats it without a warning (as lintian runs it).
zcat "$man_page" | grep -q "^\.TH TAVRIX 1 .*\"Tavrix $version\"" || fail "manual page is not tavrix(1) of Tavrix $version"
zcat "$man_page" | grep -qx 'tavrix \\- drill game for mental arithmetic' || fail "manual page's NAME line is wrong"
warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man_page" 2>&1 >/dev/null)" \
  || fail "man cannot format the manual page: $warnings"
[ -z "$warnings" ] || fail "man warns about the manual page: $warnings"

# The licence: MIT. The Debian copyright file is machine-readable, names the
# project's copyright holders and carries the same permission text as LICENSE.
grep -qx 'Copyright (c) 2026 The Tavrix developers' "$source_dir/LICENSE" || fail "LICENSE lacks the copyright line"
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' "$copyright" \
  || fail "copyright file is not in the machine-readable format"
grep -qx 'Copyright: 2026 The Tavrix developers' "$copyright" || fail "copyright file lacks the copyright holders"
grep -qx 'License: Expat' "$copyright" || fail "copyright file does not name the Expat (MIT) licence"
sed -n '/^Permission is hereby granted/,$p' "$source_dir/LICENSE" | sed '/^$/d' >"$work/license.text"
sed -n '/^ Permission is hereby granted/,$p' "$copyright" | sed 's/^ //; /^\.$/d' >"$work/copyright.text"
[ -s "$work/license.text" ] || fail "LICENSE has no permission text"
diff -u "$work/license.text" "$work/copyright.text" >&2 || fail "copyright file's licence text differs from LICENSE"

echo "install tree OK"
