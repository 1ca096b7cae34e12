#!/bin/bash
# Counts the wineserver requests that one click on the target costs each
# program named: a session of its own whose server traces every request, the
# benchmark driver clicking each program between two marker requests
# (game_metrics count), and the trace read back. A click's count is every
# request that a thread of the clicked process makes between its markers,
# from just before the press to a quarter of a second after the release.
# Counts do not depend on the machine's load, as times do: they are the
# figure to guard.
# Usage: tools/click-requests.sh OUT CLICKS LABEL=PROGRAM.exe...
#   (Unix paths; BUILD names the build folder). Writes OUT/requests.txt with
#   "<label>_requests_median N" and "<label>_requests_each N N ..." lines,
#   and OUT/requests-<label>.txt: each request's mean count per click.
. "$(dirname "$0")/lib.sh"
OUT=$1
CLICKS=$2
shift 2
. "$ZORVANT_ROOT/tools/wine-env.sh"
mkdir -p "$OUT"
export ZORVANT_SERVER_TRACE=$OUT/server-trace.txt
trap zorvant_stop EXIT
zorvant_session
: >"$OUT/requests.txt"
for program in "$@"; do
    label=${program%%=*}
    "$WINE" "$BUILD/win64/bench/game_metrics.exe" count "$label" "${program#*=}" "$CLICKS" \
        >>"$OUT/requests.txt" 2>/dev/null </dev/null || echo "error $label: the clicks were not all counted" >>"$OUT/requests.txt"
done

# The trace: "tid: request( arguments )" for a call, "tid: request() = ..."
# for its reply. A process's threads are its first thread (whose reply names
# the process) and the threads its threads create.
awk -v out="$OUT" '
match($0, /^[0-9a-f]+: init_first_thread\(\) = 0 \{ pid=[0-9a-f]+, tid=[0-9a-f]+/) {
    split(substr($0, RSTART, RLENGTH), f, /[=, ]+/)
    process[f[length(f)]] = f[length(f) - 2]
}
match($0, /^[0-9a-f]+: new_thread\(\) = 0 \{ tid=[0-9a-f]+/) {
    caller = substr($0, 1, index($0, ":") - 1)
    split(substr($0, RSTART, RLENGTH), f, /=/)
    process[f[length(f)]] = process[caller]
}
/open_event\(.*name=L"zorvant-click-/ {
    match($0, /zorvant-click-[^"]*/)
    split(substr($0, RSTART, RLENGTH), m, /-/)
    if (m[6] == "begin") { label = m[3]; pid = m[4]; click = m[5]; n = 0; delete names; counting = 1 }
    else if (counting) {
        counting = 0
        counts[label] = counts[label] " " n
        clicks[label]++
        for (r in names) total[label, r] += names[r]
        labels[label] = 1
    }
    next
}
counting && /^[0-9a-f]+: [a-z_0-9]+\(/ && !/\) = / {
    tid = substr($0, 1, index($0, ":") - 1)
    if (process[tid] == pid) {
        n++
        request = substr($0, index($0, ": ") + 2)
        names[substr(request, 1, index(request, "(") - 1)]++
    }
}
END {
    for (label in labels) {
        print label "_requests_each" counts[label]
        # Their median; an insertion sort, for a few dozen values.
        n = split(counts[label], v, " ")
        for (i = 2; i <= n; i++) {
            x = v[i] + 0
            for (j = i - 1; j >= 1 && v[j] + 0 > x; j--) v[j + 1] = v[j]
            v[j + 1] = x
        }
        print label "_requests_median " v[int((n + 1) / 2)]
        file = out "/requests-" label ".txt"
        for (key in total) {
            split(key, k, SUBSEP)
            if (k[1] == label) printf "%7.2f %s\n", total[key] / clicks[label], k[2] | "sort -rn >" file
        }
        close("sort -rn >" file)
    }
}' "$ZORVANT_SERVER_TRACE" >>"$OUT/requests.txt"
[ -n "${ZORVANT_KEEP_TRACE:-}" ] || rm -f "$ZORVANT_SERVER_TRACE"
