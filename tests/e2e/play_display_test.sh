#!/bin/bash
# make play's display mode on a private Xvfb: the rules box must be readable on
# the display itself. The pixels come from the server's own screen memory
# (Xvfb -fbdir), because xwd of the root window shows a window lying wholly
# over another one as black even when the screen shows it.
# ZORVANT_GAME and ZORVANT_AUTOPLAY name the programs to play.
. "$(dirname "$0")/../../tools/lib.sh"
work=$(mktemp -d)
xvfb=""
play=""

finish() {
    # The game first, then what waited on it, then the display.
    # On the way out a failure would cut this short: what is gone is gone.
    if [ -n "$play" ]; then
        for child in $(cat "/proc/$play/task/$play/children" 2>/dev/null); do kill "$child" 2>/dev/null || true; done
        wait "$play" 2>/dev/null || true
    fi
    if [ -n "$xvfb" ]; then kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap finish EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension SHAPE -fbdir "$work" -nolisten tcp \
    3>"$work/display" </dev/null >/dev/null 2>&1 &
xvfb=$!
for i in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(cat "$work/display")"
screen=$work/Xvfb_screen0

(cd "$work" && exec "$ZORVANT_ROOT/tools/play.sh") >"$work/play.log" 2>&1 </dev/null &
play=$!

# "<x> <y> <w> <h>" of the rules box on the screen, or nothing.
rules_box() {
    LC_ALL=C.UTF-8 xwininfo -root -tree 2>/dev/null | awk '/"Правила"/ {
        split($(NF - 1), size, /[x+]/); split($NF, at, /\+/); print at[2], at[3], size[1], size[2]; exit }' || true
}

# "<light> <dark> <all>": pixels of an area of the screen that are light (the
# box's face) and dark (its text). The file is XWD: a big-endian header, the
# colour map, then rows of 32-bit pixels.
area_counts() {
    local x=$1 y=$2 w=$3 h=$4
    local header=($(od -An -v -tu4 --endian=big -N 100 "$screen"))
    local bits=${header[11]} row_bytes=${header[12]}
    local start=$((header[0] + header[19] * 12))
    [ "$bits" -eq 32 ] || { echo "0 0 0"; return; }
    for ((r = y; r < y + h; r++)); do
        od -An -v -tu1 -j $((start + r * row_bytes + x * 4)) -N $((w * 4)) "$screen"
    done | awk '{ for (i = 1; i <= NF; i++) { c[n % 4] = $i; n++
                  if (n % 4 == 0) { all++
                      if (c[0] >= 192 && c[1] >= 192 && c[2] >= 192) light++
                      if (c[0] <= 96 && c[1] <= 96 && c[2] <= 96) dark++ } } }
                END { print light + 0, dark + 0, all + 0 }'
}

# The text line lies in the box's upper third, above the OK button (and above
# the pointer, which Xvfb leaves in the middle of the screen): there the face
# must be painted and the text drawn on it.
found="no rules box on the display"
for i in $(seq 300); do
    box=$(rules_box)
    if [ -n "$box" ]; then
        read -r bx by bw bh <<<"$box"
        read -r light dark all <<<"$(area_counts "$bx" "$by" "$bw" $((bh / 3)))"
        found="rules box ${bw}x${bh}+${bx}+${by}: text area light $light dark $dark of $all pixels"
        if [ "$all" -gt 0 ] && [ $((light * 2)) -ge "$all" ] && [ "$dark" -ge 50 ]; then
            echo "ok: $found"
            exit 0
        fi
    fi
    if ! kill -0 "$play" 2>/dev/null; then
        echo "FAIL: make play ended early:"; cat "$work/play.log"; exit 1
    fi
    sleep 1
done
echo "FAIL: $found"
cat "$work/play.log"
exit 1
