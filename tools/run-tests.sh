#!/bin/bash
# Runs the tests: the host-side ones natively, then the whole Windows suite
# twice on one session of its own (a copy of the Wine prefix, its own
# wineserver, a private Xvfb unless DISPLAY is given): on the x86_64 build
# under wine64, and on the shipped i686 build under Wine's 32-bit loader,
# run directly where the kernel runs 32-bit code and through qemu-i386 user
# emulation where it does not (tools/run-i386.sh). Arguments go to ctest
# (for example -R gui to run some of them). BUILD names the build folder.
. "$(dirname "$0")/lib.sh"
zorvant_where_i386_runs "$@"
# A locale whose code page is not the game's (1252, not 1251), on every
# machine: the programs' own manifest must give them code page 1251, as it
# must on a player's Windows.
export LC_ALL=C.UTF-8
. "$ZORVANT_ROOT/tools/wine-env.sh"
trap zorvant_stop EXIT
zorvant_session
# The 32-bit half's first start, outside any test's time.
"$WINE32" cmd /c exit </dev/null >/dev/null 2>&1

status=0
filter=("$@")
matched=0
# ctest in one tree with the run's arguments, after the tree's own options.
# Without arguments every tree must run tests: one that has none (built
# without them) fails. A filter may match nothing in one tree, which is then
# passed over, but it must match something in one of them.
suite() {
    local tree=$1
    shift
    if [ ${#filter[@]} -gt 0 ] &&
        [ "$(cd "$BUILD/$tree" && ctest -N "${filter[@]}" | sed -n 's/^Total Tests: //p')" = 0 ]; then
        echo "zorvant: no test of this suite matches ${filter[*]}"
        return
    fi
    matched=1
    (cd "$BUILD/$tree" && ctest --no-tests=error --output-on-failure "$@" "${filter[@]}") || status=1
}

echo "zorvant: host tests"
suite host -j 2

# One run of the Windows suite: tree, then the words that say what it tested.
windows_suite() {
    local tree=$1 what=$2 start=$SECONDS
    echo "zorvant: Windows tests, $what (display $DISPLAY)"
    suite "$tree"
    echo "zorvant: $what: $((SECONDS - start)) s"
}
if [ "$ZORVANT_I386" = emulated ]; then
    how="Wine 32-bit through qemu-i386 user emulation (this kernel runs no 32-bit code)"
else
    how="Wine 32-bit, run directly"
fi
windows_suite win64 "x86_64 build, wine64"
windows_suite win32 "i686 build (the shipped program), $how"
if [ ${#filter[@]} -gt 0 ] && [ $matched = 0 ]; then
    echo "zorvant: no test matches ${filter[*]}"
    status=1
fi
exit $status
