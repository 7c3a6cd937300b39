#!/usr/bin/env bash
# Builds the Debian package from the build folder, checks what it declares and installs, and has
# lintian and desktop-file-validate judge it: no error, no warning.
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
for needed in libc6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins qt6-translations-l10n \
              libsqlite3-0 libxlsxwriter4 libicu libpq5 libgecode fonts-ipafont-gothic \
              fonts-ipafont-mincho; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -q "Description:" <<<"$info" || fail "no description"

contents="$(dpkg-deb --contents "$deb" | awk '{print $NF}')"
for path in ./usr/bin/jikanwari ./usr/bin/jikanwari-newdb ./usr/bin/jikanwari-start \
            ./usr/bin/jikanwari-generate ./usr/share/man/man1/jikanwari-generate.1.gz \
            ./usr/share/applications/jikanwari.desktop \
            ./usr/share/icons/hicolor/scalable/apps/jikanwari.svg \
            ./usr/share/man/man1/jikanwari.1.gz ./usr/share/doc/jikanwari/copyright \
            ./usr/lib/x86_64-linux-gnu/jikanwari/jikanwari-postgres.so \
            ./usr/lib/x86_64-linux-gnu/jikanwari/jikanwari-xlsx.so \
            ./usr/lib/x86_64-linux-gnu/jikanwari/jikanwari-ical.so \
            ./usr/lib/x86_64-linux-gnu/jikanwari/jikanwari-print.so \
            ./usr/lib/x86_64-linux-gnu/jikanwari/jikanwari-cp.so; do
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
grep -qx "Categories=Office;" "$entry" || fail "desktop entry is not under Office alone"
grep -qx "Icon=jikanwari" "$entry" || fail "desktop entry icon"
grep -qx "Exec=jikanwari-start" "$entry" || fail "desktop entry command"
[ -x "$desktop/usr/bin/jikanwari" ] || fail "jikanwari is not executable"
hints="$(desktop-file-validate "$entry" 2>&1)" && [ -z "$hints" ] \
  || fail "desktop-file-validate: $hints"

# The programs find their modules where the package puts them: a server location reaches the
# server engine (and fails only for want of a server), and --engine cp gets past its module.
out_db="$("$desktop/usr/bin/jikanwari-newdb" "postgresql:///jikanwari?host=$out/none" 2>&1)" \
  && fail "a server location without a server was accepted"
grep -q "jikanwari-postgres" <<<"$out_db" && fail "the installed server module was not found: $out_db"
out_gen="$("$desktop/usr/bin/jikanwari-generate" "$out/none.mdb" 2026 --engine cp 2>&1)" || true
grep -q "jikanwari-cp" <<<"$out_gen" && fail "the installed Gecode module was not found: $out_gen"

# What a Debian administrator checks first.
lintian --fail-on error,warning "$deb" \
  >"$out/lintian.log" 2>&1 || { cat "$out/lintian.log" >&2; fail "lintian refuses the package"; }
echo "package ok: $(basename "$deb")"
