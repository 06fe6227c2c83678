# Sourced by the .deb tests: fail MESSAGE; need_tools TOOL..., which exits
# with 77 (skipped) unless every TOOL is installed; and make_deb BUILD_DIR
# SOURCE_DIR, which sets deb to the path of the build's .deb.
#
# The .deb is the one in BUILD_DIR, where the package step (cpack, or cmake
# --build --target package) puts it, when it is newer than everything it is
# made from; otherwise make_deb makes it there with cpack, as the package step
# would. So the release workflow (build, package, test) makes it once.

fail() { echo "FAIL: $*" >&2; exit 1; }

need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
}

make_deb() {
  local build_dir="$1" source_dir="$2"
  need_tools cpack dpkg dpkg-deb dpkg-shlibdeps
  local name
  # DEB-DEFAULT names the file after the package, version and architecture.
  name="tavrix_$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")_$(dpkg --print-architecture).deb"
  deb="$build_dir/$name"
  local newer=""
  if [ -f "$deb" ]; then
    newer="$(find "$build_dir/app/tavrix" "$build_dir/CPackConfig.cmake" "$build_dir/packaging" \
                  "$source_dir/packaging" "$source_dir/data/icons" -newer "$deb" -print -quit)"
  fi
  if [ -f "$deb" ] && [ -z "$newer" ]; then
    echo "package: $name, made before (by the package step or an earlier test)"
    return
  fi
  local log="$build_dir/cpack-test.log"
  cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$build_dir" >"$log" 2>&1 \
    || { cat "$log" >&2; fail "cpack failed"; }
  [ -f "$deb" ] || fail "cpack did not make $name: $(cat "$log")"
  echo "package: $name, made by cpack${newer:+ ($newer is newer than the last one)}"
}
