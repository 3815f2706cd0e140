#!/usr/bin/env bash
# Starts the real game under Xvfb with small puzzle files beside a copy of it, plays as a
# person would (click a cell, type digits, press Check, read the message), looks at the
# screen, then closes the window and expects exit code 0.
# Usage: play_game.sh VAKIDO VAKIDOGENERATOR [SCREENSHOT.png]
set -euo pipefail
vakido=$1
generator=$2
screenshot=${3:-}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# A copy of the game with one-puzzle files beside it, so the puzzle on screen is known.
cp "$vakido" "$work/vakido"
"$generator" --out "$work" --count 1 --seed 11 --quiet
record=$("$generator" dump "$work/makkelijk.vdb" | sed -n 2p)
givens=$(echo "$record" | cut -d' ' -f2)
solution=$(echo "$record" | cut -d' ' -f3)
given_count=$(echo "$record" | cut -d' ' -f4)

# A display of our own.
exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>&1 2>/dev/null)
xvfb_pid=$!
read -r -t 10 display_number <&3 || fail "Xvfb did not start"
export DISPLAY=":$display_number"
export XDG_RUNTIME_DIR="$work"

(cd / && exec "$work/vakido") &
game_pid=$!
window=$(timeout 10 xdotool search --sync --name '^Vakido - Easy #1$' | head -n1) || fail "no game window titled 'Vakido - Easy #1'"

shot() { xwd -root -silent -display "$DISPLAY" | convert xwd:- "$1"; }
pixel() { convert "$1" -format "%[pixel:p{$2,$3}]" info:; }

# The client area's top-left is at (100, 100) without a window manager; the canvas at (30, 30).
cell_x() { echo $((100 + 30 + 2 + 40 * ($1 % 9) + 20)); }
cell_y() { echo $((100 + 30 + 2 + 40 * ($1 / 9) + 20)); }

# The first empty cell gets a wrong digit.
cell=-1
for i in $(seq 0 80); do
  if [ "${givens:$i:1}" = 0 ]; then cell=$i; break; fi
done
[ "$cell" -ge 0 ] || fail "the puzzle has no empty cell"
right=${solution:$cell:1}
wrong=$(( right % 9 + 1 ))

xdotool mousemove "$(cell_x $cell)" "$(cell_y $cell)" click 1
sleep 0.3
xdotool type "$wrong"
sleep 0.2
xdotool key Right       # move the selection off the cell so that its mark shows
sleep 0.2
xdotool mousemove $((100 + 440 + 75)) $((100 + 186 + 14)) click 1   # "Check"
sleep 0.6
shot "$work/check.png"
box=$(xdotool search --name '^Vakido$' 2>/dev/null | head -n1 || true)
[ -n "$box" ] || fail "no message box after Check"
xdotool key Return
sleep 0.4
shot "$work/after.png"
[ -n "$screenshot" ] && cp "$work/after.png" "$screenshot"

title=$(xdotool getwindowname "$window")
[ "$title" = "Vakido - Easy #1" ] || fail "title is '$title'"
marked=$(pixel "$work/after.png" $(( $(cell_x $cell) + 15 )) $(( $(cell_y $cell) - 14 )))
[ "$marked" = "srgb(255,200,200)" ] || fail "the wrong digit's cell is $marked, not marked red"
background=$(pixel "$work/after.png" 105 105)
[ "$background" = "srgb(255,255,255)" ] || fail "the window background is $background"
thick=$(pixel "$work/after.png" $((100 + 30 + 1)) $((100 + 30 + 100)))
[ "$thick" = "srgb(0,0,0)" ] || fail "the left thick bar is $thick"

# Typing the right digit, then Check again, finds nothing wrong.
xdotool key Left
sleep 0.2
xdotool type "$right"
sleep 0.2
xdotool mousemove $((100 + 440 + 75)) $((100 + 186 + 14)) click 1
sleep 0.6
xdotool key Return
sleep 0.3

"$here/send_close_request.py" "$window"
status=0
wait "$game_pid" || status=$?
game_pid=
[ "$status" -eq 0 ] || fail "the game exited with $status"
echo "played puzzle with $given_count givens: typed $wrong then $right at cell $cell; exit code 0"
