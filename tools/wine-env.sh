#!/bin/bash
# Sourced, after tools/lib.sh, by the scripts behind make test, play, bench
# and soak, and by the tests' launcher (cmake/wine-run.sh): the project's
# Wine settings, its prefix (made once), and a session of one run: a copy of
# the prefix and with it a wineserver of its own, its own Xvfb, a warm server
# and a desktop kept up, so that runs side by side never share or end each
# other's server, and each test launch costs a few tenths of a second.
#
# Variables it sets: WINEPREFIX (the project's prefix unless given; a
# session's copy after zorvant_session), WINEDEBUG, WINEDLLOVERRIDES, WINE and
# WINESERVER (the 64-bit loader and server), WINE32 (the 32-bit loader).

export WINEPREFIX=${WINEPREFIX:-$BUILD/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a prefix that never needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE=${WINE:-/usr/lib/wine/wine64}
WINE32=${WINE32:-/usr/lib/wine/wine}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
export WINE WINE32 WINESERVER

# Makes WINEPREFIX once (tools/wine-prefix.sh).
zorvant_prefix() {
    "$ZORVANT_ROOT/tools/wine-prefix.sh" "$WINEPREFIX"
}

# Starts a private Xvfb when no display is given (or ZORVANT_FORCE_XVFB is
# set); the server picks a free display number itself, so runs started at
# the same moment never collide. Its process is kept in ZORVANT_XVFB_PID for
# zorvant_stop.
zorvant_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${ZORVANT_FORCE_XVFB:-}" ]; then return 0; fi
    number_file=$ZORVANT_WORK/display
    Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension SHAPE -nolisten tcp \
        3>"$number_file" </dev/null >/dev/null 2>&1 &
    ZORVANT_XVFB_PID=$!
    i=0
    while [ ! -s "$number_file" ] && [ $i -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    if [ ! -s "$number_file" ]; then
        echo "zorvant: Xvfb did not start" >&2
        return 1
    fi
    export DISPLAY=":$(cat "$number_file")"
}

# A persistent wineserver with its services already running, started with
# stdio on /dev/null: otherwise the helpers inherit ctest's pipes and it hangs.
# With ZORVANT_SERVER_TRACE naming a file, the server writes every request
# there (tools/click-requests.sh counts them).
zorvant_warm() {
    if [ -n "${ZORVANT_SERVER_TRACE:-}" ]; then
        "$WINESERVER" -p -d1 </dev/null >/dev/null 2>"$ZORVANT_SERVER_TRACE" || true
    else
        "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    fi
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

# A Wine program that waits for the whole session on a pipe nobody writes,
# so that the desktop stays up between programs, as it does on Windows.
# Without one, Wine closes the desktop a second after the last program ends:
# the next program waits for a new one (its launch goes from 0.3 s to 1.5 s),
# and a program that starts just as it closes gets no display at all, so
# every window it opens fails. zorvant_stop's `wineserver -k` ends it.
zorvant_hold_desktop() {
    mkfifo "$ZORVANT_WORK/desktop"
    "$WINE" cmd <"$ZORVANT_WORK/desktop" >/dev/null 2>&1 &
    exec 8>"$ZORVANT_WORK/desktop"
}

# One run's session: a scratch folder (ZORVANT_WORK) holding a copy of the
# prefix, a display (an Xvfb of its own where none is given, or always with
# ZORVANT_FORCE_XVFB=1), a warm server and a desktop kept up. Set
# `trap zorvant_stop EXIT` first: then a failure half way still ends what was
# started.
zorvant_session() {
    zorvant_prefix
    ZORVANT_WORK=$(mktemp -d "$(dirname "$WINEPREFIX")/run.XXXXXX")
    export ZORVANT_WORK
    # The prefix holds 1.3 GB of system files that Wine only reads: the copy
    # links them. The registry, which the server writes, is copied.
    cp -al "$WINEPREFIX" "$ZORVANT_WORK/prefix"
    for f in "$WINEPREFIX"/*.reg; do cp --remove-destination "$f" "$ZORVANT_WORK/prefix/"; done
    export WINEPREFIX=$ZORVANT_WORK/prefix
    zorvant_display
    zorvant_warm
    zorvant_hold_desktop
}

# Ends what zorvant_session started, and only that. It runs on the way out,
# where a failure would cut it short and fail the run: what is already gone
# (a server that never started) is passed over.
zorvant_stop() {
    if [ -n "${ZORVANT_WORK:-}" ]; then
        WINEPREFIX=$ZORVANT_WORK/prefix "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
        # The server leaves once its processes are gone.
        WINEPREFIX=$ZORVANT_WORK/prefix "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
    fi
    if [ -n "${ZORVANT_XVFB_PID:-}" ]; then kill "$ZORVANT_XVFB_PID" 2>/dev/null || true; fi
    if [ -n "${ZORVANT_WORK:-}" ]; then rm -rf "$ZORVANT_WORK"; fi
}
