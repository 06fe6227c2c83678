# Sourced by the .deb tests: fail MESSAGE, and make_deb BUILD_DIR WORK_DIR,
# which builds the package with cpack into WORK_DIR/out and sets deb to the
# path of the one .deb made there.

fail() { echo "FAIL: $*" >&2; exit 1; }

make_deb() {
  local build_dir="$1" work="$2"
  for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
  done
  cpack --config "$build_dir/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
    || { cat "$work/cpack.log" >&2; fail "cpack failed"; }
  local debs=("$work"/out/*.deb)
  [ "${#debs[@]}" -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack did not make exactly one .deb: ${debs[*]}"
  deb="${debs[0]}"
  echo "package: $(basename "$deb")"
}
