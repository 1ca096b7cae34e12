#!/bin/sh
# Sourced by the Makefile's commands and by .ci/run: gives every Wine process
# the project's own prefix, a display, the Russian ANSI code page and a warm
# wineserver, so that each test launch costs a tenth of a second.
#
# Variables it sets: WINEPREFIX, WINEDEBUG, WINE, DISPLAY (when none is given),
# LC_ALL for Wine processes (through zorvant_wine).

ZORVANT_ROOT=${ZORVANT_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$ZORVANT_ROOT/build/wine/prefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko download prompts in a prefix that never needs them.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
WINE=${WINE:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
export WINE WINESERVER

zorvant_prefix() {
    if [ -f "$WINEPREFIX/.zorvant-ready" ]; then return 0; fi
    echo "zorvant: creating the Wine prefix $WINEPREFIX (about 15 s, once)"
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1
    # A crash must end the process at once, not wait on a dialog.
    "$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
    # One virtual desktop: without it, destroying a visible top-level window
    # waits about 2 s on the X side under Xvfb (measured), and the screen size
    # is the same on every machine.
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
    # Wine's own Tahoma, so that the score card's face resolves to it.
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/tahoma*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    "$WINESERVER" -w
    touch "$WINEPREFIX/.zorvant-ready"
}

# Starts a private Xvfb when no display is given; its number is kept in
# ZORVANT_XVFB_PID so that zorvant_stop can end it.
zorvant_display() {
    if [ -n "${DISPLAY:-}" ] && [ -z "${ZORVANT_FORCE_XVFB:-}" ]; then return 0; fi
    n=${ZORVANT_DISPLAY_NUMBER:-87}
    while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 +extension SHAPE -nolisten tcp </dev/null >/dev/null 2>&1 &
    ZORVANT_XVFB_PID=$!
    export DISPLAY=":$n"
    i=0
    while [ ! -e "/tmp/.X11-unix/X$n" ] && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
}

# A persistent wineserver with its services already running, started with
# stdio on /dev/null: otherwise the helpers inherit ctest's pipes and it hangs.
zorvant_warm() {
    # Fails harmlessly when a persistent server already serves the prefix.
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    LC_ALL=ru_RU.UTF-8 "$WINE" cmd /c exit </dev/null >/dev/null 2>&1
}

# A private session for a program nobody watches (the automatic player): the
# prefix, an Xvfb of its own even where a display is given, a warm server,
# and a scratch folder in ZORVANT_WORK; zorvant_stop ends it all.
zorvant_private_session() {
    zorvant_prefix
    ZORVANT_FORCE_XVFB=1 zorvant_display
    zorvant_warm
    ZORVANT_WORK=$(mktemp -d)
}

zorvant_stop() {
    "$WINESERVER" -k </dev/null >/dev/null 2>&1
    if [ -n "${ZORVANT_XVFB_PID:-}" ]; then kill "$ZORVANT_XVFB_PID" 2>/dev/null; fi
    if [ -n "${ZORVANT_WORK:-}" ]; then rm -rf "$ZORVANT_WORK"; fi
}
