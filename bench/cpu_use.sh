#!/usr/bin/env bash
# CPU use of the built game on an X server of its own (Xvfb), read from /proc/<pid>/stat (user +
# system ticks of 10 ms):
#   idle      the start screen of a game against a second player, for SECONDS seconds
#   moving    a piece travelling at Slow (300 pixels per second) across the window: piece 1 to the
#             chosen place (572 pixels, 1.9 s), measured over the 1.5 s after the click, three times
#
#   bench/cpu_use.sh [BUILD_DIR] [CONTEXT] [SECONDS] [SCALE]
#     CONTEXT: OpenGL, Native, DirectDraw or auto; SCALE: [Screen] Scale, 1 (default) to 3 on a screen of
#     1920 x 1080 (the window is SCALE times 640 x 480; the mouse goes to SCALE times the game's pixels)
set -euo pipefail
build=${1:-build}
context=${2:-auto}
seconds=${3:-5}
scale=${4:-1}
exe=$(cd "$build" && pwd)/apps/tolmar/tolmar
dir=$(mktemp -d)
trap 'kill $game $xvfb 2>/dev/null || true; rm -rf "$dir"' EXIT
cp "$exe" "$dir/tolmar"
{ echo "[Screen]"; echo "Scale=$scale"; [ "$context" = auto ] || echo "Context=$context"; } > "$dir/vyw.cfg"
printf '[General]\nMovement Speed=300\n' > "$dir/Tolmar.cfg"
Xvfb :87 -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
sleep 1
export DISPLAY=:87
(cd "$dir" && exec ./tolmar --human) >"$dir/out.txt" 2>&1 & game=$!
sleep 4 # start-up, the automatic choice's restart included
# The automatic choice starts the program again under a new process id.
game=$(pgrep -f "$dir/tolmar" | head -1 || echo "$game")
ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
window=$(xdotool search --onlyvisible --name '^Tolmar$' | head -1)
xdotool windowfocus --sync "$window"
xdotool mousemove --window "$window" $((300 * scale)) $((20 * scale)) # over the status line, away from everything
sleep 1
before=$(ticks); sleep "$seconds"; after=$(ticks)
echo "idle   $context x$scale: $((after - before)) ticks in ${seconds} s = $(awk "BEGIN{printf \"%.1f\", ($after-$before)/$seconds}") %"
# Each round: a piece is chosen (measured while it travels) and placed on a square of its own; the
# pieces 1, 2 and 3 stand side by side in the front row, squares 1, 2 and 3 along the back.
total=0
squares=("57 235" "130 204" "198 174")
for round in 0 1 2; do
    xdotool mousemove --window "$window" $(((607 - 30 * round) * scale)) $((440 * scale)) click 1
    before=$(ticks); sleep 1.5; after=$(ticks)
    total=$((total + after - before))
    sleep 1 # the movement ends
    read -r x y <<< "${squares[$round]}"
    xdotool mousemove --window "$window" $((x * scale)) $((y * scale)) click 1
    sleep 3
done
echo "moving $context x$scale: $total ticks in 4.5 s = $(awk "BEGIN{printf \"%.1f\", $total/4.5}") %"
