#!/bin/bash
# tools/fetch-libpng.sh takes its archive from apt's configuration alone:
# with none that it may use, it fails with a clear message before it writes
# anything. The script itself names no archive.
# Usage: fetch_libpng_test.sh SOURCE_DIR
. "$1/tools/lib.sh"
script="$1/tools/fetch-libpng.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# Runs the script under an apt configuration whose source lists are the
# test's own; expects the clear refusal.
expect_refused() {
    local name=$1 out="$work/out-$1" rc=0
    APT_CONFIG="$work/apt.conf" bash "$script" "$out" >"$work/stdout" 2>"$work/stderr" || rc=$?
    [ "$rc" -eq 1 ] || fail "$name: exit code $rc, wanted 1"
    grep -q "apt names no package archive" "$work/stderr" || fail "$name: no clear message: $(cat "$work/stderr")"
    [ ! -e "$out" ] || fail "$name: wrote into $out"
}

# Checked first: a script with an archive of its own would go on to change
# this machine's apt configuration. The archive comes from the lookup it
# shares with the emulator's fetch; the shell library comes with every script.
if grep -nE '[a-z]+://' "$script" "$1/tools/apt-archive.sh" "$1/tools/apt-private.sh" "$1/tools/lib.sh"; then
    echo "FAILED: the script names an archive" >&2
    exit 1
fi

mkdir -p "$work/parts"
cat >"$work/apt.conf" <<CONF
Dir::Etc::sourcelist "$work/sources.list";
Dir::Etc::sourceparts "$work/parts";
CONF

expect_refused no-lists

# Only archives that cannot serve the source: the security archive, a disc.
# The security archive is named after the archive this machine's apt uses,
# so the test names no archive of its own.
base=$(apt-get indextargets --format '$(REPO_URI)' 2>/dev/null | grep -v security | head -n 1 || true)
security="${base%/}-security"
echo "deb [signed-by=/k.gpg] $security bookworm-security main" >"$work/sources.list"
echo 'deb cdrom:[Disc 1]/ bookworm main' >>"$work/sources.list"
printf 'Types: deb\nURIs: %s\nSuites: bookworm-security\n' "$security" >"$work/parts/s.sources"
expect_refused security-only

[ "$failures" -eq 0 ] && echo "fetch-libpng: all checks passed"
exit "$failures"
