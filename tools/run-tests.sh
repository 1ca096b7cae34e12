#!/bin/bash
# Runs every test: the host-side tests natively, the Windows tests under wine64
# on a private Xvfb display (or the one given in DISPLAY).
set -e
ZORVANT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ZORVANT_ROOT/tools/wine-env.sh"
zorvant_prefix
zorvant_display
zorvant_warm
trap zorvant_stop EXIT
status=0
echo "zorvant: host tests"
(cd "$ZORVANT_ROOT/build/host" && ctest --output-on-failure -j 2) || status=1
echo "zorvant: Windows tests under Wine (display $DISPLAY)"
(cd "$ZORVANT_ROOT/build/win64" && ctest --output-on-failure) || status=1
exit $status
