#!/bin/bash
# Fuzzes the skin library's platform-free code natively with libFuzzer, the
# address and undefined-behaviour sanitizers: the bounded decoder, the
# packer's round trip and the skin container checks. Findings are written
# to $BUILD/fuzz; the committed corpus seeds every run.
# Usage: tools/fuzz.sh [seconds per target, default 300]
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
OUT=$BUILD/fuzz
TIME=${1:-300}
SOURCES=(runtime/skin/packed_block.cpp runtime/skin/skin_container.cpp tools/pack/pack.cpp
         tests/runtime/skin/fuzz/fuzz_targets.cpp)
mkdir -p "$OUT"
cd "$ROOT"
status=0
for target in packed_block pack_round_trip skin_container; do
    exe=$OUT/fuzz_$target
    clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
        -DZORVANT_LIBFUZZER=fuzz_$target -I"$ROOT" "${SOURCES[@]}" -o "$exe"
    max_len=4096
    [ $target = skin_container ] && max_len=16384
    mkdir -p "$OUT/corpus_$target"
    echo "zorvant: fuzzing $target for $TIME s"
    if ! "$exe" -max_total_time="$TIME" -max_len=$max_len -print_final_stats=1 \
        -artifact_prefix="$OUT/${target}_" "$OUT/corpus_$target" "tests/runtime/skin/fuzz/corpus/$target" \
        >"$OUT/$target.log" 2>&1; then
        echo "zorvant: $target found a fault, see $OUT/$target.log"
        status=1
    fi
    grep -E '^#[0-9]+.*(DONE|pulse)' "$OUT/$target.log" | tail -1
    grep -E 'stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' "$OUT/$target.log"
done
exit $status
