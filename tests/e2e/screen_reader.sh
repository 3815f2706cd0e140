#!/usr/bin/env bash
# Starts the real game in a display and a D-Bus session of its own, with Qt's bridge to
# the desktop's accessibility bus switched on, and reads it as a screen reader does
# (screen_reader.py, with the system Python's pyatspi).
# Usage: screen_reader.sh VAKIDO VAKIDOGENERATOR
set -euo pipefail
vakido=$1
generator=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"

# A copy of the game with one-puzzle files beside it, so the puzzle on the board is known.
cp "$vakido" "$work/vakido"
"$generator" --out "$work" --count 1 --seed 11 --quiet
record=$("$generator" dump "$work/makkelijk.vdb" | sed -n 2p)
givens=$(echo "$record" | cut -d' ' -f2)
solution=$(echo "$record" | cut -d' ' -f3)

export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 XDG_RUNTIME_DIR="$work"
timeout 120 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
  dbus-run-session -- /usr/bin/python3 "$here/screen_reader.py" "$work/vakido" "$givens" "$solution" 2>&1 \
  | grep -v -e 'dbus-daemon' -e 'SpiRegistry' -e 'Failed to set fd limit'
exit "${PIPESTATUS[0]}"
