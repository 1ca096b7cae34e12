#!/bin/bash
# Fuzzes every parser of outside bytes natively with libFuzzer and the address
# and undefined-behaviour sanitizers: the bounded decoder, the packer's round
# trip, the skin container checks, the BMP and icon checks and the score-record
# reader. Each target runs for the same time, seeded with its committed corpus
# and cases; a fault in one does not stop the others, and one table ends the
# run. A target stops at its first crash, which it leaves (with a minimised
# copy) in $BUILD/fuzz. The fewest inputs that reach the new edges of a run go
# to $BUILD/fuzz/new_cases_<target>: copy them into the target's cases folder,
# which the replay tests of make test run.
# The programs are CMake targets of the fuzz tree ($BUILD/fuzz/tree, clang),
# built from the parsers' libraries; only the chosen ones are built.
# Usage: tools/fuzz.sh [seconds per target, default 300] [target ...]
. "$(dirname "$0")/lib.sh"
OUT=$BUILD/fuzz
TREE=$OUT/tree
JOBS=${JOBS:-$(nproc)}
TIME=${1:-300}
shift $(($# > 0))
mkdir -p "$OUT"
cd "$ZORVANT_ROOT"
if ! cmake --preset fuzz -B "$TREE" >"$OUT/configure.log" 2>&1; then
    echo "zorvant: the fuzz tree does not configure, see $OUT/configure.log"
    exit 1
fi
# The targets are listed once, where their tests are (zorvant_fuzz_targets):
# the tree has them one a line as "target, longest input, the folder of its
# fuzz targets (with corpus/ and cases/)".
mapfile -t TARGETS <"$TREE/fuzz_targets.txt"
if [ $# -gt 0 ]; then
    chosen=()
    for t in "${TARGETS[@]}"; do
        [[ " $* " == *" ${t%% *} "* ]] && chosen+=("$t")
    done
    TARGETS=("${chosen[@]}")
fi

# Builds and runs one target; its log is $OUT/<target>.log.
fuzz_target() {
    local target=$1 max_len=$2 folder=$3
    local exe=$TREE/fuzz_$target
    rm -f "$OUT/${target}_"* "$OUT/$target.log"
    if ! cmake --build "$TREE" -j "$JOBS" --target "fuzz_$target" >"$OUT/$target.log" 2>&1; then
        echo "zorvant: $target does not build, see $OUT/$target.log"
        return 1
    fi
    local seeds=("$folder/corpus/$target")
    [ -d "$folder/cases/$target" ] && seeds+=("$folder/cases/$target")
    mkdir -p "$OUT/corpus_$target"
    echo "zorvant: fuzzing $target for $TIME s"
    local status=0
    "$exe" -max_total_time="$TIME" -max_len="$max_len" -print_final_stats=1 \
        -artifact_prefix="$OUT/${target}_" "$OUT/corpus_$target" "${seeds[@]}" >"$OUT/$target.log" 2>&1 || status=$?
    local crash
    for crash in "$OUT/${target}_"*; do
        [ -f "$crash" ] || continue
        "$exe" -minimize_crash=1 -max_total_time=60 -exact_artifact_path="$OUT/minimised_${crash##*/}" \
            "$crash" >"$OUT/${target}_minimise.log" 2>&1
    done
    # The fewest inputs that reach every edge the run reached, less the
    # committed ones.
    rm -rf "$OUT/new_cases_$target"
    mkdir -p "$OUT/new_cases_$target"
    "$exe" -merge=1 -use_counters=0 -max_len="$max_len" "$OUT/new_cases_$target" "${seeds[@]}" "$OUT/corpus_$target" \
        >"$OUT/${target}_merge.log" 2>&1
    local f
    find "${seeds[@]}" -type f | while read -r f; do
        rm -f "$OUT/new_cases_$target/$(sha1sum <"$f" | cut -d' ' -f1)"
    done
    return $status
}

# One row of the table from a target's log and artifacts.
table_row() {
    local target=$1 log=$OUT/$1.log
    local runs cov crashes
    # A target that did not build or run has no figures: a dash each.
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" 2>/dev/null | tail -1 || true)
    cov=$(grep -oE '^#[0-9]+.*cov: [0-9]+' "$log" 2>/dev/null | tail -1 | sed 's/.*cov: //' || true)
    crashes=$(find "$OUT" -maxdepth 1 -type f -regex ".*/${target}_\(crash\|leak\|timeout\|oom\)-.*" | wc -l)
    printf '%-16s %12s %9s %8s\n' "$target" "${runs:--}" "${cov:--}" "$crashes"
}

started=$(date -u '+%Y-%m-%d %H:%M')
failed=()
for t in "${TARGETS[@]}"; do
    read -r -a fields <<<"$t"
    fuzz_target "${fields[@]}" || failed+=("${fields[0]}")
done
echo
echo "zorvant fuzzing, $TIME s a target, $started to $(date -u '+%H:%M') UTC"
printf '%-16s %12s %9s %8s\n' target runs coverage crashes
for t in "${TARGETS[@]}"; do
    table_row "${t%% *}"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "zorvant: faults in ${failed[*]}: see $OUT/<target>.log and the files $OUT/<target>_crash-* (minimised: $OUT/minimised_*)"
    exit 1
fi
