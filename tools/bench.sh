#!/bin/bash
# The project's performance report: runs every benchmark under wine64 on a
# private Xvfb display (and the skin one natively too) and prints one table,
# each figure beside its goal, and the game's figures beside those of its bare
# peer (bench/bare_peer) measured in the same run, with their ratio.
# Usage: tools/bench.sh   (after make build; BUILD names the build folder)
. "$(dirname "$0")/lib.sh"
. "$ZORVANT_ROOT/tools/wine-env.sh"
W64=$BUILD/win64
OUT=$BUILD/bench
mkdir -p "$OUT"
cmake --build "$W64" --target zorvant bare_peer game_metrics bench_target_jump image_jump_bench score_card_bench -j2 >/dev/null
trap zorvant_stop EXIT
zorvant_session

# From here on a missing figure shows as an empty one, it does not end the
# report: a program that fails leaves an "error" line, which fails the report
# at its end, and the readers of figures give nothing for what is missing.

# Runs a Windows program; its output goes to $OUT/<name>.txt (a Wine child
# inherits our standard handles, so a file, not a pipe).
run() {
    local name=$1
    shift
    "$WINE" "$@" >"$OUT/$name.txt" 2>"$OUT/$name.err" </dev/null || echo "error $name exited $?" >>"$OUT/$name.txt"
}

# The value after a key in a "key value" file.
# Wine programs end their lines with CR LF.
key() { tr -d '\r' <"$OUT/$1.txt" | awk -v k="$2" '$1 == k { print $2; exit }' || true; }
# The number after a phrase in a line of a file (first match).
after() { tr -d '\r' <"$OUT/$1.txt" | grep -m1 -o -- "$2 *[0-9.]*" | grep -o '[0-9.]*$' || true; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
now_ms() { date +%s%3N; }

echo "zorvant: benchmarks under wine64 (display $DISPLAY), about a minute and a half"
# Wine's own start cost from the shell: a console program that only exits.
for i in 1 2 3; do
    t0=$(now_ms)
    "$WINE" "$W64/bench/game_metrics.exe" nothing </dev/null >/dev/null 2>&1 || true
    echo $(($(now_ms) - t0))
done | median >"$OUT/wine_shell.txt"
run game "$W64/bench/game_metrics.exe" "$W64/game/zorvant.exe" "$W64/bench/bare_peer.exe"
run target_jump "$W64/bench/bench_target_jump.exe"
run image_jump "$W64/bench/image_jump_bench.exe"
run score_card "$W64/bench/score_card_bench.exe"
# In this session (exported): it starts none of its own.
"$ZORVANT_ROOT/tools/skin-bench.sh" >"$OUT/skin.txt" 2>&1 || echo "error skin-bench.sh exited $?" >>"$OUT/skin.txt"

us_to_ms() { awk -v v="$1" 'BEGIN { if (v == "") print ""; else printf "%.3f", v / 1000 }'; }
mb() { awk -v v="$1" 'BEGIN { if (v == "") print ""; else printf "%.2f MB", v / 1048576 }'; }
# Whether a figure meets "< goal" (or, with "abs", |figure| < goal; with
# "le", figure <= goal).
verdict() {
    awk -v v="$1" -v g="$2" -v m="${3:-}" 'BEGIN {
        if (v == "" || v < 0 && m != "abs") { print "no figure"; exit }
        if (m == "abs" && v < 0) v = -v
        if (m == "le") print (v <= g) ? "met" : "NOT met"; else print (v < g) ? "met" : "NOT met" }'
}
# The game's figure over the peer's.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "" || a < 0 || b <= 0) print ""; else printf "%.2f", a / b }'; }
row() { printf "%-38s %12s  %-12s %11s %6s  %-44s %s\n" "$@" | sed 's/ *$//'; }

skin_wine_unpack=$(grep -A3 'under wine64' "$OUT/skin.txt" | awk '/packed_block_unpack_ex/ { print $4 }' || true)
skin_wine_zlib=$(grep -A3 'under wine64' "$OUT/skin.txt" | awk '/zlib inflate/ { print $7 }' || true)
skin_host_unpack=$(awk '/packed_block_unpack_ex/ { print $4; exit }' "$OUT/skin.txt")
skin_host_zlib=$(awk '/zlib inflate/ { print $7; exit }' "$OUT/skin.txt")
skin_load=$(awk '/skin_load_ex/ { print $4 }' "$OUT/skin.txt")
jump_median=$(key target_jump jump_median_ms)
jump_p99=$(key target_jump jump_p99_ms)
peer_jump_median=$(key target_jump peer_median_ms)
peer_jump_p99=$(key target_jump peer_p99_ms)
image_median=$(us_to_ms "$(after image_jump "whole jump *median")")
image_p99=$(us_to_ms "$(grep -m1 'whole jump' "$OUT/image_jump.txt" | awk '{ print $(NF - 1) }')")
card=$(after score_card "median")
start=$(key game game_start_painted_ms)
peer_start=$(key game peer_start_painted_ms)
start_ratio=$(ratio "$start" "$peer_start")
click=$(key game game_click_median_ms)
peer_click=$(key game peer_click_median_ms)
click_ratio=$(ratio "$click" "$peer_click")
idle=$(key game idle_percent)
drift=$(key game clock_drift_ms)
size32=$(stat -c %s "$BUILD/win32/game/zorvant.exe" 2>/dev/null || echo "")
size64=$(stat -c %s "$W64/game/zorvant.exe" 2>/dev/null || echo "")

echo
echo "Zorvant performance, $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo "Wine $("$WINE" --version 2>/dev/null), private Xvfb; figures are medians unless said; ratio = game / peer"
row "Measure" "Game" "Goal" "Peer" "Ratio" "Notes" "Verdict"
row "1. start to shown, painted window" "$start ms" "<= 1.1 x" "$peer_start ms" "$start_ratio" "Wine's start: child $(key game wine_child_start_ms) ms, shell $(cat "$OUT/wine_shell.txt") ms" "$(verdict "$start_ratio" 1.1 le)"
row "   same, from the CreateProcessA call" "$(key game game_start_wall_ms) ms" "" "$(key game peer_start_wall_ms) ms" "$(ratio "$(key game game_start_wall_ms)" "$(key game peer_start_wall_ms)")" "$(key game game_start_runs) and $(key game peer_start_runs) starts" ""
row "   window opened (hidden)" "$(key game game_start_window_ms) ms" "" "$(key game peer_start_window_ms) ms" "$(ratio "$(key game game_start_window_ms)" "$(key game peer_start_window_ms)")" "shown: $(key game game_start_visible_ms) ms, peer $(key game peer_start_visible_ms) ms" ""
row "2. target jump, median" "$jump_median ms" "< 1 ms" "$peer_jump_median ms" "$(ratio "$jump_median" "$peer_jump_median")" "image part $image_median ms" "$(verdict "$jump_median" 1)"
row "   target jump, 99th percentile" "$jump_p99 ms" "< 2 ms" "$peer_jump_p99 ms" "$(ratio "$jump_p99" "$peer_jump_p99")" "image part $image_p99 ms" "$(verdict "$jump_p99" 2)"
row "3. click to repainted target" "$click ms" "<= 1.25 x" "$peer_click ms" "$click_ratio" "$(key game game_click_count) and $(key game peer_click_count) clicks, $(key game game_click_lost) and $(key game peer_click_lost) lost" "$(verdict "$click_ratio" 1.25 le)"
row "4. idle processor time, 10 s" "$idle %" "< 0.1 %" "" "" "$(key game idle_cpu_ms) ms in $(key game idle_wall_ms) ms; start-up $(key game start_cpu_ms) ms" "$(verdict "$idle" 0.1)"
row "5. clock drift at 60 s" "$drift ms" "|d| < 50 ms" "" "" "" "$(verdict "$drift" 50 abs)"
row "6. skin unpack (wine64)" "$skin_wine_unpack MB/s" "" "" "" "zlib inflate $skin_wine_zlib MB/s; skin_load $skin_load ms" ""
row "   skin unpack (native)" "$skin_host_unpack MB/s" "" "" "" "zlib inflate $skin_host_zlib MB/s" ""
row "7. score card render + PNG save" "$card ms" "< 5 ms" "" "" "" "$(verdict "$card" 5)"
row "8. zorvant.exe size, i686 (shipped)" "$size32 B" "" "" "" "x86_64: $size64 B" ""
row "9. private memory after start-up" "$(mb "$(key game private_bytes)")" "" "" "" "" ""
echo
echo "Peer: bench/bare_peer, a bare Win32 program with the game's window, controls and boxes, whose target"
echo "   is an owner-drawn button that the platform paints with the picture scaled by StretchBlt (HALFTONE)."
echo "   Rows 1 and 3 take turns between game and peer (four turns each); row 2's peer is that button's"
echo "   move and repaint in the same process, taking turns with the game's jump."
echo "1: median of the starts, from the process creation time (GetProcessTimes) to the first screen reading"
echo "   (GetDC(0)) from which five sample pixels of the visible window stay what they show once the rules box"
echo "   is up. Wine's start: CreateProcessA of a console program that only exits, to its end (child), and the"
echo "   same program launched by wine64 from the shell to its end (shell)."
echo "3: from SendInput of the button release to the target moved and half its new place's pixels changed."
echo "4: GetProcessTimes of the game over the first 10 s of its last turn's game, nothing asked of it; under"
echo "   Wine it moves in 10 ms steps (one kernel tick), the size of the goal itself over 10 s."
echo "5: label reading 60 (polled every ms) minus the first reading of \"0s\" after the rules box's OK, minus 60 s."
echo "6: output megabytes a second unpacking the skin's payload, beside zlib inflating the same payload."
echo "Raw outputs: $OUT"
if grep -h '^error' "$OUT"/*.txt; then exit 1; fi
