#!/bin/bash
# Makes the project's Wine prefix PREFIX, once: both halves of Wine (the
# 32-bit one runs the shipped i686 program), no crash dialog, Wine's Tahoma
# and a virtual desktop. Wine fills the 32-bit system folder (syswow64) only
# when its 32-bit loader can run while the prefix is made, so it is made
# under tools/run-i386.sh; a prefix made without it is made again.
# Usage: tools/wine-prefix.sh PREFIX   (BUILD names the build folder)
. "$(dirname "$0")/lib.sh"
prefix=$(realpath -m "$1")
ready() {
    [ -f "$prefix/.zorvant-ready" ] && [ -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]
}
ready && exit 0
# Checked before anything is made: a prefix without it would be made again,
# a minute and a half each run, and fail the same way.
fonts=/usr/share/wine/fonts
if ! compgen -G "$fonts/tahoma*.ttf" >/dev/null; then
    echo "zorvant: Wine's Tahoma is missing ($fonts/tahoma*.ttf): install the Debian package" \
        "fonts-wine (make deps does), then run this again" >&2
    exit 1
fi
# Only a folder made here is made again: any other (a WINEPREFIX of the
# caller's own, given in the environment) is someone's, and is not removed.
if [ -n "$(ls -A "$prefix" 2>/dev/null)" ] && [ ! -f "$prefix/.zorvant-prefix" ] &&
    [ ! -f "$prefix/.zorvant-ready" ]; then
    echo "zorvant: $prefix is a Wine prefix that this project did not make; it is left as it is." \
        "Unset WINEPREFIX to use the project's own." >&2
    exit 1
fi
zorvant_where_i386_runs "$@"
# Runs started together make it once.
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
ready && exit 0
export WINEPREFIX=$prefix
. "$ZORVANT_ROOT/tools/wine-env.sh"
echo "zorvant: creating the Wine prefix $prefix (about a minute, once)"
rm -rf "$prefix"
mkdir -p "$prefix"
touch "$prefix/.zorvant-prefix"
"$WINE" wineboot -i </dev/null >/dev/null 2>&1
# A crash must end the process at once, not wait on a dialog.
"$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
# One virtual desktop: without it, destroying a visible top-level window
# waits about 2 s on the X side under Xvfb (measured), and the screen size
# is the same on every machine.
"$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >/dev/null 2>&1
# Wine's own Tahoma, so that the score card's face resolves to it.
mkdir -p "$prefix/drive_c/windows/Fonts"
cp "$fonts"/tahoma*.ttf "$prefix/drive_c/windows/Fonts/"
"$WINESERVER" -w
if [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "zorvant: Wine made no 32-bit system folder in $prefix" >&2
    exit 1
fi
touch "$prefix/.zorvant-ready"
