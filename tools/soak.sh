#!/bin/bash
# make soak: many games in a row in one run of the program (200 unless GAMES
# says otherwise), with clicks timed around the clock's ticks, played by the
# automatic player on a private Xvfb. Passes when every check of every game
# passed and, after the first game, the game's GDI objects stayed exactly as
# they were, kind by kind, and its committed memory flat; prints the figures.
#
# TREE names the build: win32, the shipped i686 program (the default), run
# by Wine's 32-bit loader (through qemu-i386 where the kernel runs no 32-bit
# code, tools/run-i386.sh), or win64, the x86_64 build under wine64.
. "$(dirname "$0")/lib.sh"
GAMES=${GAMES:-200}
TREE=${TREE:-win32}
case $TREE in
    win32) what="i686 build (the shipped program)" ;;
    win64) what="x86_64 build, wine64" ;;
    *) echo "zorvant: TREE is win32 or win64, not '$TREE'" >&2; exit 1 ;;
esac
if [ "$TREE" = win32 ]; then zorvant_where_i386_runs "$@"; fi
GAME=$BUILD/$TREE/game/zorvant.exe
AUTOPLAY=$BUILD/$TREE/tools/autoplay/autoplay.exe
# Committed memory may wander this much between game 2 and the last game.
SLACK_BYTES=$((1024 * 1024))

for f in "$GAME" "$AUTOPLAY"; do
    [ -f "$f" ] || { echo "zorvant: $f is missing; run make build" >&2; exit 1; }
done
export WINEPREFIX=$BUILD/wine/prefix
. "$ZORVANT_ROOT/tools/wine-env.sh"
trap zorvant_stop EXIT
ZORVANT_FORCE_XVFB=1 zorvant_session
work=$ZORVANT_WORK

loader=$WINE
lag=()
if [ "$TREE" = win32 ]; then
    loader=$WINE32
    what="$what, Wine 32-bit ($ZORVANT_I386)"
    # Emulated, the clock's ticks wait for a starved main thread: the same
    # allowance as the end-to-end tests give that run.
    if [ "$ZORVANT_I386" = emulated ]; then lag=(--clock-lag 25); fi
fi
echo "zorvant: soak of the $what: $GAMES games in one run of the program (display $DISPLAY)"
start=$(date +%s)
status=0
"$loader" "$AUTOPLAY" --game "$GAME" --folder "$work" --report "$work/report.txt" \
    --games "$GAMES" --pace 0 --tick-aligned --resources "${lag[@]}" </dev/null >/dev/null 2>&1 || status=$?
echo "zorvant: played for $(( $(date +%s) - start )) s"

# "resources game <n> bitmaps <b> dcs <d> regions <r> fonts <f> brushes <b>
#  pens <p> other <o> private <bytes> working <bytes>"; the GDI census is
# what lies between the game's number and "private".
awk -v games="$GAMES" -v slack="$SLACK_BYTES" -v status="$status" '
    $1 == "error" { errors++; if (errors <= 10) print "  " $0 }
    $1 == "retry" { retries++ }
    $1 == "game" && $3 == "seconds" { played++; seconds += $4 }
    $1 == "resources" {
        n = $3; census[n] = ""
        for (i = 4; i <= NF && $i != "private"; i++) census[n] = census[n] (i > 4 ? " " : "") $i
        private[n] = $(i + 1); working[n] = $(i + 3)
        if (n >= 2 && (max_private == "" || private[n] > max_private)) max_private = private[n]
        if (n >= 2 && (min_private == "" || private[n] < min_private)) min_private = private[n]
    }
    END {
        printf "games played %d of %d, %d failed checks, %d clicks given again\n", played, games, errors, retries
        if (played > 0) printf "mean time per game %.1f s\n", seconds / played
        if (played >= 2) {
            printf "GDI objects after game 1: %s\n", census[1]
            printf "GDI objects after game 2: %s\n", census[2]
            printf "GDI objects after game %d: %s\n", played, census[played]
            printf "committed bytes: game 1 %d, game 2 %d, game %d %d; from game 2 on min %d max %d\n", \
                private[1], private[2], played, private[played], min_private, max_private
            printf "working set bytes: game 1 %d, game 2 %d, game %d %d\n", working[1], working[2], played, working[played]
        }
        counted = census[2] ~ /^bitmaps /
        if (played >= 2 && !counted) print "GDI objects: no handle table found in the game"
        else if (played >= 2 && census[played] != census[2]) print "GDI objects: game " played " kept other objects than game 2"
        flat = played >= 2 && counted && census[played] == census[2] && private[played] <= private[2] + slack
        if (status != 0 || errors > 0 || played != games || !flat) { print "zorvant: soak FAILED"; exit 1 }
        print "zorvant: soak passed"
    }' "$work/report.txt" || { cp "$work/report.txt" soak-report.txt; echo "zorvant: the whole report is in soak-report.txt"; exit 1; }
