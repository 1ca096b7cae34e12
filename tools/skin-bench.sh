#!/bin/bash
# Runs the skin benchmark natively (with a size comparison on a large
# binary) and under wine64 on a private Xvfb display (with skin_load).
# Usage: tools/skin-bench.sh   (after make build; BUILD names the build folder)
. "$(dirname "$0")/lib.sh"
. "$ZORVANT_ROOT/tools/wine-env.sh"
large=$BUILD/win32/game/zorvant.exe
[ -f "$large" ] || large=$BUILD/win64/tests/runtime/skin/skin_test.exe
cmake --build "$BUILD/host" --target skin_bench -j2 >/dev/null
cmake --build "$BUILD/win64" --target skin_bench -j2 >/dev/null
echo "zorvant: native ($large for sizes)"
"$BUILD/host/bench/skin_bench" "$ZORVANT_ROOT/assets/skin.bin" "$large"
# A session of its own unless make bench's is running it.
if [ -z "${ZORVANT_WORK:-}" ]; then
    trap zorvant_stop EXIT
    zorvant_session
fi
echo "zorvant: under wine64 (display $DISPLAY)"
out=$BUILD/skin_bench_wine.txt
"$WINE" "$BUILD/win64/bench/skin_bench.exe" \
    "Z:$ZORVANT_ROOT/assets/skin.bin" >"$out" 2>/dev/null </dev/null
cat "$out"
