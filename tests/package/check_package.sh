#!/usr/bin/env bash
# Builds the Debian package, then checks it without installing it: its file list against
# Debian's layout for games, its control data, the fallback directory compiled into the
# packaged game, the packaged puzzle files (with the packaged tool), the man pages, and
# lintian, which must report no error.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

"$here/../../scripts/build-package" "$build" > /dev/null 2>&1 || fail "the package does not build"
deb=$(ls "$build"/vakido_*_*.deb)
[[ $(basename "$deb") =~ ^vakido_1\.0\.0_[a-z0-9]+\.deb$ ]] || fail "unexpected package name $(basename "$deb")"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The regular files only; directories are whatever holds them.
dpkg-deb -c "$deb" | awk '$1 ~ /^-/ {print $6}' | sed 's|^\./|/|' > "$work/files"
for path in /usr/games/vakido /usr/games/vakidogenerator \
            /usr/share/games/vakido/makkelijk.vdb /usr/share/games/vakido/gemiddeld.vdb \
            /usr/share/games/vakido/moeilijk.vdb /usr/share/games/vakido/expert.vdb \
            /usr/share/applications/org.vakido.Vakido.desktop /usr/share/metainfo/org.vakido.Vakido.metainfo.xml \
            /usr/share/icons/hicolor/256x256/apps/org.vakido.Vakido.png \
            /usr/share/doc/vakido/copyright /usr/share/doc/vakido/changelog.gz \
            /usr/share/man/man6/vakido.6.gz /usr/share/man/man6/vakidogenerator.6.gz; do
  grep -qx "$path" "$work/files" || fail "the package lacks $path"
done
if grep -vE '^/usr/(games|share/(games/vakido|applications|metainfo|icons/hicolor|doc/vakido|man/man6))/' \
     "$work/files" | grep .; then
  fail "the package holds files outside Debian's layout for games (above)"
fi

control=$(dpkg-deb -f "$deb")
grep -q '^Section: games$' <<< "$control" || fail "Section is not games"
grep -q '^Maintainer: .*<.*@.*>$' <<< "$control" || fail "no maintainer"
grep -q '^Depends: .*libqt6widgets6' <<< "$control" || fail "Depends lacks what the programs link: $(grep Depends <<< "$control")"
grep -q '^Version: 1.0.0$' <<< "$control" || fail "the version is not the program's"

dpkg-deb -x "$deb" "$work/root"
# The packaged game, started from where it was unpacked, finds no file beside itself and
# must turn to /usr/share/games/vakido/: watch the paths it asks for.
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" \
  strace -f -qq -e trace=openat,stat,newfstatat,statx -o "$work/trace" "$work/root/usr/games/vakido" > /dev/null 2>&1 &
game=$!
for _ in $(seq 100); do
  grep -q 'makkelijk.vdb' "$work/trace" 2> /dev/null && grep -q '/usr/share/games/vakido/makkelijk.vdb' "$work/trace" && break
  sleep 0.1
done
pkill -9 -f "^$work/root/usr/games/vakido" 2> /dev/null || true
wait "$game" 2> /dev/null || true
grep -q '"/usr/share/games/vakido/makkelijk.vdb"' "$work/trace" \
  || fail "the packaged game does not fall back to /usr/share/games/vakido/: $(grep vdb "$work/trace")"
"$work/root/usr/games/vakidogenerator" --version | grep -qx 'vakidogenerator 1.0.0' || fail "--version is not 1.0.0"
"$work/root/usr/games/vakidogenerator" check "$work/root"/usr/share/games/vakido/*.vdb > /dev/null \
  || fail "the packaged puzzle files do not pass check"
grep -q 'release version="1.0.0"' "$work/root/usr/share/metainfo/org.vakido.Vakido.metainfo.xml" \
  || fail "the metainfo names another version"
for page in vakido vakidogenerator; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$work/root/usr/share/man/man6/$page.6.gz" 2>&1 > /dev/null)
  [ -z "$warnings" ] || fail "man $page warns: $warnings"
done

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "package $(basename "$deb") is laid out as a Debian game, and lintian reports no error"
