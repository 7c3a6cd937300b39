#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks what it declares and installs.
set -euo pipefail
build="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 \
  || { cat "$out/cpack.log" >&2; fail "cpack did not make a package"; }
deb="$(ls "$out"/*.deb 2>/dev/null | head -1)"
[ -n "$deb" ] || fail "no .deb in $out"

info="$(dpkg-deb --info "$deb")"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = jikanwari ] || fail "package name: $(field Package)"
[ "$(field Architecture)" = amd64 ] || fail "architecture: $(field Architecture)"
depends="$(field Depends)"
for needed in libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n \
              libsqlite3-0 libxlsxwriter4 fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -q "Description:" <<<"$info" || fail "no description"

contents="$(dpkg-deb --contents "$deb" | awk '{print $NF}')"
for path in ./usr/bin/jikanwari ./usr/bin/jikanwari-newdb ./usr/bin/jikanwari-start \
            ./usr/share/applications/jikanwari.desktop \
            ./usr/share/icons/hicolor/scalable/apps/jikanwari.svg; do
  grep -qx "$path" <<<"$contents" || fail "$path is not in the package"
done
# Nothing of the tests or benchmarks goes to a school's machine.
if grep -E "tests|bench|gtest" <<<"$contents"; then fail "test files in the package"; fi

# The menu entry: an application in the office category, with the icon the package installs.
desktop="$out/desktop"
mkdir -p "$desktop"
dpkg-deb -x "$deb" "$desktop"
entry="$desktop/usr/share/applications/jikanwari.desktop"
grep -qx "Type=Application" "$entry" || fail "desktop entry type"
grep -q "^Categories=.*Office;" "$entry" || fail "desktop entry is not under Office"
grep -qx "Icon=jikanwari" "$entry" || fail "desktop entry icon"
grep -qx "Exec=jikanwari-start" "$entry" || fail "desktop entry command"
[ -x "$desktop/usr/bin/jikanwari" ] || fail "jikanwari is not executable"
echo "package ok: $(basename "$deb")"
