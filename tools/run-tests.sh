#!/bin/bash
# Runs the tests: the host-side ones natively, the Windows ones under wine64 on
# a private Xvfb display (or the one given in DISPLAY). Arguments go to ctest
# (for example -R gui to run some of them). BUILD names the build folder.
set -e
ZORVANT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ZORVANT_ROOT/build}
export WINEPREFIX=${WINEPREFIX:-$BUILD/wine/prefix}
. "$ZORVANT_ROOT/tools/wine-env.sh"
zorvant_prefix
trap zorvant_stop EXIT
zorvant_display
zorvant_warm
status=0
echo "zorvant: host tests"
(cd "$BUILD/host" && ctest --output-on-failure -j 2 "$@") || status=1
echo "zorvant: Windows tests under Wine (display $DISPLAY)"
(cd "$BUILD/win64" && ctest --output-on-failure "$@") || status=1
exit $status
