#!/bin/bash
# make play: with a display, starts the game for a person; without one (a
# server, CI), the automatic player plays one game on a private Xvfb and
# leaves the card ("score.png") and a screenshot of the game in the working
# directory. The shipped i686 build is the one that runs where the kernel
# runs 32-bit code; where it does not, the x86_64 build of the same sources
# runs instead, and the first line says so: under qemu-i386 emulation a click
# takes about 32 ms to show (two frames; 8 ms under wine64) and a start a few
# seconds, too slow to be pleasant.
. "$(dirname "$0")/lib.sh"
# ZORVANT_GAME and ZORVANT_AUTOPLAY name other programs to play (a test tree's).
AUTOPLAY=${ZORVANT_AUTOPLAY:-$BUILD/win64/tools/autoplay/autoplay.exe}
HERE=$(pwd)
if [ -n "${ZORVANT_GAME:-}" ]; then
    GAME=$ZORVANT_GAME
    echo "zorvant: playing $GAME"
elif zorvant_native_i386; then
    GAME=$BUILD/win32/game/zorvant.exe
    echo "zorvant: playing the i686 build (the shipped program) under Wine 32-bit"
else
    GAME=$BUILD/win64/game/zorvant.exe
    echo "zorvant: playing the x86_64 build: this kernel runs no 32-bit code, and the i686 one is too slow to play under emulation"
fi

display_reachable() {
    [ -n "${DISPLAY:-}" ] || return 1
    if command -v xdpyinfo >/dev/null 2>&1; then
        xdpyinfo >/dev/null 2>&1
    else
        # A local display is a socket; a remote one is taken on trust.
        case "$DISPLAY" in
            :*) n=${DISPLAY#:}; [ -S "/tmp/.X11-unix/X${n%%.*}" ] ;;
            *) return 0 ;;
        esac
    fi
}

play_for_a_person() {
    # A prefix of its own without the tests' virtual desktop: a person gets
    # the game as a window of their own desktop, centred on their screen.
    # (The virtual desktop is there for Xvfb, where no window manager runs and
    # destroying a visible window stalls; a real desktop does not need it.)
    export WINEPREFIX=$BUILD/wine/play-prefix
    . "$ZORVANT_ROOT/tools/wine-env.sh"
    zorvant_prefix
    if [ ! -f "$WINEPREFIX/.zorvant-play" ]; then
        "$WINE" reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f </dev/null >/dev/null 2>&1 || true
        "$WINESERVER" -w
        touch "$WINEPREFIX/.zorvant-play"
    fi
    echo "zorvant: starting the game on $DISPLAY (score.png goes to $HERE)"
    "$WINE" "$GAME" </dev/null
}

play_automatically() {
    export WINEPREFIX=$BUILD/wine/prefix
    . "$ZORVANT_ROOT/tools/wine-env.sh"
    trap zorvant_stop EXIT
    ZORVANT_FORCE_XVFB=1 zorvant_session
    work=$ZORVANT_WORK
    echo "zorvant: no display; the automatic player plays one game on a private Xvfb ($DISPLAY)"
    status=0
    "$WINE" "$AUTOPLAY" --game "$GAME" --folder "$HERE" --report "$work/report.txt" \
        --games 1 --last no --pace 40 --screenshots "$work/shot" --png </dev/null >/dev/null 2>&1 || status=$?
    # The game half way, 25 clicks in.
    if [ -f "$work/shot-mid.png" ]; then
        mv "$work/shot-mid.png" "$HERE/zorvant-screenshot.png"
    fi
    # "game 1 seconds <t> clicks 50 elapsed_ms <ms>"
    seconds=$(awk '$1 == "game" && $3 == "seconds" { print $4 }' "$work/report.txt" 2>/dev/null || true)
    if [ "$status" -ne 0 ] || [ -z "$seconds" ]; then
        echo "zorvant: the automatic game went wrong:"
        grep -E '^error' "$work/report.txt" 2>/dev/null || echo "  (no report; autoplay exit status $status)"
        exit 1
    fi
    echo "zorvant: this was an automatic game (no display): 50 clicks in $seconds s."
    echo "zorvant: its card is $HERE/score.png, a screenshot of the game $HERE/zorvant-screenshot.png"
}

for f in "$GAME" "$AUTOPLAY"; do
    [ -f "$f" ] || { echo "zorvant: $f is missing; run make build" >&2; exit 1; }
done
if display_reachable; then
    play_for_a_person
else
    play_automatically
fi
