#!/bin/bash
# The project's performance report: runs every benchmark under Wine on a
# private Xvfb display (and the skin one natively too) and prints one table,
# each figure beside its goal, and the game's figures beside those of its bare
# peer (bench/bare_peer) measured in the same run, with their ratio. The
# game and the jump are measured on the x86_64 build under wine64 and, where
# the kernel runs 32-bit code itself, on the shipped i686 build too, each
# against the peer built alike; each row names its build. The wineserver
# requests of a click (tools/click-requests.sh) are the regression guard:
# the report ends with exit code 1 when they miss their goal.
# Usage: tools/bench.sh   (after make build; BUILD names the build folder)
. "$(dirname "$0")/lib.sh"
. "$ZORVANT_ROOT/tools/wine-env.sh"
W64=$BUILD/win64
W32=$BUILD/win32
OUT=$BUILD/bench
mkdir -p "$OUT"
cmake --build "$W64" --target zorvant bare_peer game_metrics bench_target_jump image_jump_bench score_card_bench -j2 >/dev/null
# Under emulation the i686 figures would measure the emulator.
if zorvant_native_i386; then
    I686=yes
    cmake --build "$W32" --target zorvant bare_peer bench_target_jump -j2 >/dev/null
else
    I686=
fi
REQUEST_CLICKS=11
echo "zorvant: wineserver requests of $REQUEST_CLICKS clicks of each program, under a tracing server"
programs=("game64=$W64/game/zorvant.exe" "peer64=$W64/bench/bare_peer.exe")
if [ -n "$I686" ]; then programs+=("game32=$W32/game/zorvant.exe" "peer32=$W32/bench/bare_peer.exe"); fi
# A session of its own, started before this report's.
"$ZORVANT_ROOT/tools/click-requests.sh" "$OUT" "$REQUEST_CLICKS" "${programs[@]}" >/dev/null 2>&1 ||
    echo "error click-requests.sh failed" >>"$OUT/requests.txt"
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

echo "zorvant: benchmarks under Wine (display $DISPLAY), about two minutes"
# Wine's own start cost from the shell: a console program that only exits.
for i in 1 2 3; do
    t0=$(now_ms)
    "$WINE" "$W64/bench/game_metrics.exe" nothing </dev/null >/dev/null 2>&1 || true
    echo $(($(now_ms) - t0))
done | median >"$OUT/wine_shell.txt"
run game "$W64/bench/game_metrics.exe" "$W64/game/zorvant.exe" "$W64/bench/bare_peer.exe"
run target_jump "$W64/bench/bench_target_jump.exe"
if [ -n "$I686" ]; then
    # The same driver, starting the i686 programs.
    run game32 "$W64/bench/game_metrics.exe" "$W32/game/zorvant.exe" "$W32/bench/bare_peer.exe" clicks
    WINE=$WINE32 run target_jump32 "$W32/bench/bench_target_jump.exe"
fi
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
row() { printf "%-44s %12s  %-12s %11s %6s  %-44s %s\n" "$@" | sed 's/ *$//'; }

skin_wine_unpack=$(grep -A3 'under wine64' "$OUT/skin.txt" | awk '/packed_block_unpack_ex/ { print $4 }' || true)
skin_wine_zlib=$(grep -A3 'under wine64' "$OUT/skin.txt" | awk '/zlib inflate/ { print $7 }' || true)
skin_host_unpack=$(awk '/packed_block_unpack_ex/ { print $4; exit }' "$OUT/skin.txt")
skin_host_zlib=$(awk '/zlib inflate/ { print $7; exit }' "$OUT/skin.txt")
skin_load=$(awk '/skin_load_ex/ { print $4 }' "$OUT/skin.txt")
image_median=$(us_to_ms "$(after image_jump "whole jump *median")")
image_p99=$(us_to_ms "$(grep -m1 'whole jump' "$OUT/image_jump.txt" | awk '{ print $(NF - 1) }')")
card=$(after score_card "median")
idle=$(key game idle_percent)
drift=$(key game clock_drift_ms)
size32=$(stat -c %s "$BUILD/win32/game/zorvant.exe" 2>/dev/null || echo "")
size64=$(stat -c %s "$W64/game/zorvant.exe" 2>/dev/null || echo "")
# The request counts of a label ("game64"): median, fewest and most.
requests() { key requests "$1_requests_median"; }
request_span() {
    tr -d '\r' <"$OUT/requests.txt" | awk -v k="$1_requests_each" '$1 == k {
        lo = hi = $2; for (i = 3; i <= NF; i++) { if ($i < lo) lo = $i; if ($i > hi) hi = $i }
        printf "%d to %d", lo, hi; exit }' || true
}
difference() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "" || b == "") print ""; else print a - b }'; }
guard=""

# The start-up, jump, click and request rows of one build: its name, the
# outputs of its game_metrics and bench_target_jump runs, and the request
# labels' suffix. With "first", the measures' numbers and the start's detail.
build_rows() {
    local build=$1 game=$2 jump=$3 bits=$4 first=${5:-}
    local n1="   " n2="   " n3="   "
    if [ -n "$first" ]; then n1="1. "; n2="2. "; n3="3. "; fi
    local start peer_start start_ratio jump_median peer_jump_median click peer_click request peer_request more
    start=$(key "$game" game_start_painted_ms)
    peer_start=$(key "$game" peer_start_painted_ms)
    start_ratio=$(ratio "$start" "$peer_start")
    row "${n1}start to shown, painted window ($build)" "$start ms" "<= 1.1 x" "$peer_start ms" "$start_ratio" "Wine's start: child $(key "$game" wine_child_start_ms) ms, shell $(cat "$OUT/wine_shell.txt") ms" "$(verdict "$start_ratio" 1.1 le)"
    if [ -n "$first" ]; then
        row "   same, from the CreateProcessA call" "$(key "$game" game_start_wall_ms) ms" "" "$(key "$game" peer_start_wall_ms) ms" "$(ratio "$(key "$game" game_start_wall_ms)" "$(key "$game" peer_start_wall_ms)")" "$(key "$game" game_start_runs) and $(key "$game" peer_start_runs) starts" ""
        row "   window opened (hidden)" "$(key "$game" game_start_window_ms) ms" "" "$(key "$game" peer_start_window_ms) ms" "$(ratio "$(key "$game" game_start_window_ms)" "$(key "$game" peer_start_window_ms)")" "shown: $(key "$game" game_start_visible_ms) ms, peer $(key "$game" peer_start_visible_ms) ms" ""
    fi
    jump_median=$(key "$jump" jump_median_ms)
    peer_jump_median=$(key "$jump" peer_median_ms)
    more=""
    if [ -n "$first" ]; then more="image part $image_median ms"; fi
    rows_jump+=("${n2}target jump, median ($build)|$jump_median ms|<= 1.2 x|$peer_jump_median ms|$(ratio "$jump_median" "$peer_jump_median")|$more|$(verdict "$(ratio "$jump_median" "$peer_jump_median")" 1.2 le)")
    if [ -n "$first" ]; then more="image part $image_p99 ms"; fi
    rows_jump+=("   target jump, 99th percentile ($build)|$(key "$jump" jump_p99_ms) ms||$(key "$jump" peer_p99_ms) ms|$(ratio "$(key "$jump" jump_p99_ms)" "$(key "$jump" peer_p99_ms)")|$more|")
    click=$(key "$game" game_click_median_ms)
    peer_click=$(key "$game" peer_click_median_ms)
    rows_click+=("${n3}click to repainted target ($build)|$click ms|<= 1.2 x|$peer_click ms|$(ratio "$click" "$peer_click")|$(key "$game" game_click_count) and $(key "$game" peer_click_count) clicks, $(key "$game" game_click_lost) and $(key "$game" peer_click_lost) lost|$(verdict "$(ratio "$click" "$peer_click")" 1.2 le)")
    rows_click+=("   click, 99th percentile ($build)|$(key "$game" game_click_p99_ms) ms|<= 1.5 x|$(key "$game" peer_click_p99_ms) ms|$(ratio "$(key "$game" game_click_p99_ms)" "$(key "$game" peer_click_p99_ms)")||$(verdict "$(ratio "$(key "$game" game_click_p99_ms)" "$(key "$game" peer_click_p99_ms)")" 1.5 le)")
    request=$(requests "game$bits")
    peer_request=$(requests "peer$bits")
    local request_verdict
    request_verdict=$(verdict "$(difference "$request" "$peer_request")" 10 le)
    [ "$request_verdict" = met ] || guard="$guard $build"
    rows_click+=("   server requests per click ($build)|$request|<= peer + 10|$peer_request|$(ratio "$request" "$peer_request")|$(request_span "game$bits"); peer $(request_span "peer$bits")|$request_verdict")
}
# Rows kept as "measure|game|goal|peer|ratio|notes|verdict" for their place.
row_list() {
    local line
    for line in "$@"; do
        IFS='|' read -r -a f <<<"$line"
        row "${f[@]}"
    done
}

echo
echo "Zorvant performance, $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'); load average $(cut -d' ' -f1-3 /proc/loadavg) at the end"
echo "Wine $("$WINE" --version 2>/dev/null), private Xvfb; figures are medians unless said; ratio = game / peer"
row "Measure" "Game" "Goal" "Peer" "Ratio" "Notes" "Verdict"
rows_jump=()
rows_click=()
build_rows x86_64 game target_jump 64 first
if [ -n "$I686" ]; then build_rows i686 game32 target_jump32 32; fi
row_list "${rows_jump[@]}" "${rows_click[@]}"
row "4. idle processor time, 10 s (x86_64)" "$idle %" "< 0.1 %" "" "" "$(key game idle_cpu_ms) ms in $(key game idle_wall_ms) ms; start-up $(key game start_cpu_ms) ms" "$(verdict "$idle" 0.1)"
row "5. clock drift at 60 s (x86_64)" "$drift ms" "|d| < 50 ms" "" "" "" "$(verdict "$drift" 50 abs)"
row "6. skin unpack (wine64)" "$skin_wine_unpack MB/s" "" "" "" "zlib inflate $skin_wine_zlib MB/s; skin_load $skin_load ms" ""
row "   skin unpack (native)" "$skin_host_unpack MB/s" "" "" "" "zlib inflate $skin_host_zlib MB/s" ""
row "7. score card render + PNG save" "$card ms" "< 5 ms" "" "" "" "$(verdict "$card" 5)"
row "8. zorvant.exe size, i686 (shipped)" "$size32 B" "" "" "" "x86_64: $size64 B" ""
row "9. private memory after start-up" "$(mb "$(key game private_bytes)")" "" "" "" "x86_64" ""
echo
echo "Peer: bench/bare_peer, a bare Win32 program with the game's window, controls and boxes, whose target"
echo "   is an owner-drawn button that the platform paints with the picture scaled by StretchBlt (HALFTONE),"
echo "   built for the same architecture as the game it stands beside. Rows 1 and 3 take turns between game"
echo "   and peer (four turns each); row 2's peer is that button's move and repaint in the same process,"
echo "   taking turns with the game's jump, each target given the keyboard focus first as a press gives it."
if [ -z "$I686" ]; then
    echo "   This kernel runs no 32-bit code: the i686 build is not measured (emulated, it would time the emulator)."
fi
echo "1: median of the starts, from the process creation time (GetProcessTimes) to the first screen reading"
echo "   (GetDC(0)) from which five sample pixels of the visible window stay what they show once the rules box"
echo "   is up. Wine's start: CreateProcessA of a console program that only exits, to its end (child), and the"
echo "   same program launched by wine64 from the shell to its end (shell)."
echo "3: from SendInput of the button release to the target moved and half its new place's pixels changed;"
echo "   100 clicks each. Requests: every wineserver request of the clicked program's threads from just before"
echo "   the press to 250 ms after the release (tools/click-requests.sh: a tracing server, each click just after"
echo "   a clock tick), median of $REQUEST_CLICKS clicks, fewest to most in the notes. They are the regression guard."
echo "4: GetProcessTimes of the game over the first 10 s of its last turn's game, nothing asked of it; under"
echo "   Wine it moves in 10 ms steps (one kernel tick), the size of the goal itself over 10 s."
echo "5: label reading 60 (polled every ms) minus the first reading of \"0s\" after the rules box's OK, minus 60 s."
echo "6: output megabytes a second unpacking the skin's payload, beside zlib inflating the same payload."
echo "Raw outputs: $OUT (requests-<label>.txt: each request's mean count per click)"
if grep -h '^error' "$OUT"/*.txt; then exit 1; fi
if [ -n "$guard" ]; then
    echo "zorvant: server requests per click above the goal on:$guard" >&2
    exit 1
fi
