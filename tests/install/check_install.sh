#!/usr/bin/env bash
# Installs the build into a temporary prefix, starts nothing, and checks the tree.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" > /dev/null

for file in bin/vakido bin/vakidogenerator; do
  [ -x "$prefix/$file" ] || fail "$file is missing or not executable"
done
for name in makkelijk gemiddeld moeilijk expert; do
  [ -s "$prefix/share/vakido/$name.vdb" ] || fail "share/vakido/$name.vdb is missing"
done
"$prefix/bin/vakidogenerator" check "$prefix"/share/vakido/*.vdb > /dev/null || fail "the installed puzzle files do not pass check"

desktop="$prefix/share/applications/org.vakido.Vakido.desktop"
metainfo="$prefix/share/metainfo/org.vakido.Vakido.metainfo.xml"
icon="$prefix/share/icons/hicolor/256x256/apps/org.vakido.Vakido.png"
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no AppStream metainfo"
[ -f "$icon" ] || fail "no icon"
desktop-file-validate "$desktop" || fail "desktop-file-validate complains"
appstreamcli validate --no-net "$metainfo" > /dev/null || fail "appstreamcli validate complains"
file "$icon" | grep -q 'PNG image data, 256 x 256' || fail "the icon is not a 256 x 256 PNG"
grep -q '^Exec=vakido$' "$desktop" || fail "the desktop entry does not start vakido"
grep -q '^Icon=org.vakido.Vakido$' "$desktop" || fail "the desktop entry names another icon"
echo "installed tree under a temporary prefix is complete"
