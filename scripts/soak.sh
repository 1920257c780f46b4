#!/usr/bin/env bash
# The soak run (long: not part of test.sh). In the address and undefined-behaviour sanitizer build of
# test.sh (build-asan), with LeakSanitizer on at every exit:
#   1. tolmar-selfplay plays every ordered pair of the levels 1..5, SOAK_PAIR_GAMES games each (80:
#      2,000 in all), each pair from its own fixed seed;
#   2. two copies of tolmar, each in a folder of its own, play SOAK_NETWORK_GAMES games (200) over
#      127.0.0.1 unattended (--autoplay, --games, --chat-each-move: a chat line per own half-move),
#      pieces jumping (Movement Speed=-1), while tolmar-flood connects to the served port again and
#      again, sends junk and holds connections.
# It prints the games and results of each pair, the network games and their results, the chat lines,
# the peak and current resident memory (VmHWM, VmRSS) of both copies after their first game and at
# their last sample before the end, what the flood did, the durations and the leak check; it fails on
# any sanitizer or leak report, a copy that ends with another status than 0, or fewer games than asked.
#
#   scripts/soak.sh                    # SOAK_PAIR_GAMES=4 SOAK_NETWORK_GAMES=5 for a short run
#   SOAK_PORT=47123 SOAK_SERVE_LEVEL=3 SOAK_JOIN_LEVEL=4 SOAK_SEED=1 SOAK_OUT=soak-out SOAK_TIMEOUT=14400
#
# No display is needed: SDL's offscreen driver draws into memory, with the renderer of our own
# (Context=DirectDraw; SDL loads Mesa's EGL all the same, see MESA_PRELOAD below).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
tolmar_need_packages $TOLMAR_BUILD_PACKAGES

PAIR_GAMES="${SOAK_PAIR_GAMES:-80}"
NETWORK_GAMES="${SOAK_NETWORK_GAMES:-200}"
PORT="${SOAK_PORT:-47123}"
SERVE_LEVEL="${SOAK_SERVE_LEVEL:-3}"
JOIN_LEVEL="${SOAK_JOIN_LEVEL:-4}"
SEED="${SOAK_SEED:-1}"
TIMEOUT="${SOAK_TIMEOUT:-14400}"
OUT="$(realpath -m "${SOAK_OUT:-$TOLMAR_ROOT/soak-out}")"
BUILD="$TOLMAR_ROOT/build-asan"
FAILED=0

step() { echo; echo "=== $* ($(date +%T))"; }
fail() { echo "FAILED: $*"; FAILED=1; }

# SDL's offscreen video loads Mesa's EGL and its software driver even for our own renderer. Both keep
# what they allocate once (driver option tables and the like) in their globals and are unloaded at
# exit, before LeakSanitizer looks: those blocks then count as leaked "from an unknown module". Loaded
# from the start, the two stay to the end and what they hold is reachable; every block of our own is
# still checked.
MULTIARCH="$(gcc -print-multiarch)"
MESA_PRELOAD=""
for lib in "/usr/lib/$MULTIARCH/libEGL_mesa.so.0" "/usr/lib/$MULTIARCH/dri/swrast_dri.so"; do
    [ ! -e "$lib" ] || MESA_PRELOAD="$MESA_PRELOAD $lib"
done

# sanitized NAME COMMAND...: runs the command with its sanitizer reports in files of their own
# ($OUT/sanitizer/NAME.<pid>), so that a run is judged by them.
sanitized() {
    local name="$1"
    shift
    LD_PRELOAD="$MESA_PRELOAD" ASAN_OPTIONS="detect_leaks=1:verify_asan_link_order=0:log_path=$OUT/sanitizer/$name" \
        UBSAN_OPTIONS="print_stacktrace=1:log_path=$OUT/sanitizer/$name" LSAN_OPTIONS="report_objects=1" "$@"
}

step "build (build-asan, test.sh's configuration)"
tolmar_configure build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLMAR_WERROR=ON \
    -DTOLMAR_SANITIZE=address,undefined -DTOLMAR_BUILD_BENCH=OFF
cmake --build "$BUILD" -j "$TOLMAR_JOBS" --target tolmar tolmar-selfplay tolmar-flood
rm -rf "$OUT"
mkdir -p "$OUT/sanitizer" "$OUT/selfplay"

# ---- 1. self-play ----------------------------------------------------------------------------------

step "self-play: $PAIR_GAMES games for each of the 25 ordered pairs"
SELFPLAY_START=$SECONDS
SELFPLAY_TOTAL=0
printf '%-7s %-7s %6s %11s %12s %5s\n' first second games "first wins" "second wins" ties
for first in 1 2 3 4 5; do
    for second in 1 2 3 4 5; do
        log="$OUT/selfplay/$first-$second.txt"
        status=0
        sanitized "selfplay-$first-$second" "$BUILD/tools/selfplay/tolmar-selfplay" \
            --first "$first" --second "$second" --games "$PAIR_GAMES" \
            --seed "$((SEED * 100 + first * 10 + second))" >"$log" 2>&1 || status=$?
        line="$(tail -n 1 "$log")"
        if [[ $status -ne 0 || ! "$line" =~ ^first\ wins:\ ([0-9]+),\ second\ wins:\ ([0-9]+),\ ties:\ ([0-9]+)$ ]]; then
            fail "self-play $first against $second ended with status $status: $line"
            continue
        fi
        played=$((BASH_REMATCH[1] + BASH_REMATCH[2] + BASH_REMATCH[3]))
        SELFPLAY_TOTAL=$((SELFPLAY_TOTAL + played))
        printf '%-7s %-7s %6d %11d %12d %5d\n' "$first" "$second" "$played" \
            "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}"
        [ "$played" -eq "$PAIR_GAMES" ] || fail "self-play $first against $second played $played of $PAIR_GAMES games"
    done
done
echo "self-play: $SELFPLAY_TOTAL games in $((SECONDS - SELFPLAY_START)) s"

# ---- 2. network games --------------------------------------------------------------------------------

# A copy of the program in a folder of its own: its vyw.cfg, Tolmar.cfg and trace stay apart.
make_copy() {
    local dir="$OUT/$1"
    mkdir -p "$dir"
    cp "$BUILD/apps/tolmar/tolmar" "$dir/tolmar"
    printf '[Screen]\nContext=DirectDraw\n' >"$dir/vyw.cfg"
    printf '[General]\nMovement Speed=-1\nFirst Player=Random\n' >"$dir/Tolmar.cfg"
}

# start_copy SIDE ARGS...: starts a copy in the background; its pid goes to $OUT/SIDE/pid.
start_copy() {
    local side="$1"
    shift
    (
        cd "$OUT/$side"
        export SDL_VIDEODRIVER=offscreen VYW_TRACE=1
        sanitized "$side" exec ./tolmar "$@" >"$OUT/$side/stdout.txt" 2>"$OUT/$side/trace.txt"
    ) &
    echo $! >"$OUT/$side/pid"
}

# wait_for_trace SIDE TEXT SECONDS: true once the side's trace holds TEXT.
wait_for_trace() {
    local waited=0
    while ! grep -qF -- "$2" "$OUT/$1/trace.txt" 2>/dev/null; do
        [ "$waited" -lt "$(($3 * 10))" ] || return 1
        kill -0 "$(cat "$OUT/$1/pid")" 2>/dev/null || return 1
        sleep 0.1
        waited=$((waited + 1))
    done
}

# memory SIDE: "VmHWM VmRSS" in kB, or nothing once the process is gone.
memory() {
    awk '/^VmHWM:/ { hwm = $2 } /^VmRSS:/ { rss = $2 } END { if (hwm) print hwm, rss }' \
        "/proc/$(cat "$OUT/$1/pid")/status" 2>/dev/null || true
}

# sample SIDE: appends "seconds games VmHWM VmRSS" to the side's memory.txt while it runs.
sample() {
    local games
    local figures
    figures="$(memory "$1")"
    [ -n "$figures" ] || return 0
    games="$(grep -c "VyUnattendedRun : game " "$OUT/$1/trace.txt" || true)"
    echo "$((SECONDS - NETWORK_START)) $games $figures" >>"$OUT/$1/memory.txt"
}

stop_pid() {
    kill -TERM "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

step "network: $NETWORK_GAMES games, serving at level $SERVE_LEVEL, joining at level $JOIN_LEVEL, port $PORT"
make_copy serve
make_copy join
NETWORK_START=$SECONDS
start_copy serve --serve --port "$PORT" --name Ann --autoplay "$SERVE_LEVEL" --games "$NETWORK_GAMES" --chat-each-move
wait_for_trace serve "serving port $PORT" 120 || fail "the serving copy never served port $PORT"
start_copy join --join 127.0.0.1 --port "$PORT" --name Bob --autoplay "$JOIN_LEVEL" --games "$NETWORK_GAMES" \
    --chat-each-move
wait_for_trace serve "connected to 127.0.0.1" 120 || fail "the joining copy never connected"
# The flood begins once the players are connected: the first connection is the one the served port takes.
"$BUILD/tools/flood/tolmar-flood" --port "$PORT" --seconds "$TIMEOUT" --hold 8 --seed "$SEED" \
    >"$OUT/flood.txt" 2>&1 &
FLOOD_PID=$!
SERVE_PID="$(cat "$OUT/serve/pid")"
JOIN_PID="$(cat "$OUT/join/pid")"
while kill -0 "$SERVE_PID" 2>/dev/null || kill -0 "$JOIN_PID" 2>/dev/null; do
    sample serve
    sample join
    if [ $((SECONDS - NETWORK_START)) -gt "$TIMEOUT" ]; then
        fail "the network games took longer than $TIMEOUT s"
        stop_pid "$SERVE_PID"
        stop_pid "$JOIN_PID"
    fi
    sleep 1
done
SERVE_STATUS=0
wait "$SERVE_PID" || SERVE_STATUS=$?
JOIN_STATUS=0
wait "$JOIN_PID" || JOIN_STATUS=$?
NETWORK_SECONDS=$((SECONDS - NETWORK_START))
stop_pid "$FLOOD_PID"

# The figures of one side: games, results from its own view, chat lines, memory.
report_side() {
    local side="$1"
    local trace="$OUT/$side/trace.txt"
    local games won lost ties moves chats received first last
    games="$(grep -c "VyUnattendedRun : game [0-9]* of $NETWORK_GAMES ended" "$trace" || true)"
    won="$(grep -c "VyUnattendedRun : game [0-9]* of $NETWORK_GAMES ended: You won" "$trace" || true)"
    ties="$(grep -c "VyUnattendedRun : game [0-9]* of $NETWORK_GAMES ended: Game ended in a tie" "$trace" || true)"
    lost=$((games - won - ties))
    moves="$(grep -c "VyNetworkGame : sent move " "$trace" || true)"
    chats="$(grep -c "VyNetworkGame : sent chat " "$trace" || true)"
    received="$(grep -c "VyNetworkGame : received chat " "$trace" || true)"
    first="$(awk '$2 >= 1 { print $3, $4; exit }' "$OUT/$side/memory.txt" 2>/dev/null)"
    last="$(tail -n 1 "$OUT/$side/memory.txt" 2>/dev/null | awk '{ print $3, $4 }')"
    echo "$side: $games games (won $won, lost $lost, tied $ties), $moves own half-moves, $chats chat lines sent, $received received"
    echo "$side: after game 1 VmHWM/VmRSS ${first:-?} kB; at the last sample VmHWM/VmRSS ${last:-?} kB ($(tail -n 1 "$OUT/$side/memory.txt" 2>/dev/null | awk '{ print "after game " $2 ", at " $1 " s" }'))"
    [ "$games" -eq "$NETWORK_GAMES" ] || fail "$side played $games of $NETWORK_GAMES games"
    [ "$chats" -eq "$moves" ] || fail "$side sent $chats chat lines for $moves own half-moves"
}

step "figures"
echo "self-play: $SELFPLAY_TOTAL of $((25 * PAIR_GAMES)) games"
report_side serve
report_side join
echo "serving copy ended with status $SERVE_STATUS, joining copy with $JOIN_STATUS; network part $NETWORK_SECONDS s"
tail -n 1 "$OUT/flood.txt"
[ "$SERVE_STATUS" -eq 0 ] || fail "the serving copy ended with status $SERVE_STATUS: $(grep "tolmar:" "$OUT/serve/trace.txt" | tail -n 1)"
[ "$JOIN_STATUS" -eq 0 ] || fail "the joining copy ended with status $JOIN_STATUS: $(grep "tolmar:" "$OUT/join/trace.txt" | tail -n 1)"
REPORTS="$(find "$OUT/sanitizer" -type f | sort)"
if [ -n "$REPORTS" ]; then
    fail "sanitizer or leak reports:"
    for report in $REPORTS; do
        echo "--- $report"
        head -n 40 "$report"
    done
else
    echo "leak check: no sanitizer or leak report from any of the $((25 + 2)) processes"
fi
echo "output in $OUT"
[ "$FAILED" -eq 0 ] || exit 1
echo "soak run passed"
