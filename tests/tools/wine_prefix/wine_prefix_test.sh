#!/bin/bash
# tools/wine-prefix.sh makes again only a prefix that it made: a folder of
# someone else's, given as the prefix (a WINEPREFIX of the caller's own), is
# refused and left as it was.
# Usage: wine_prefix_test.sh SOURCE_DIR
. "$1/tools/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/theirs"
echo kept >"$work/theirs/system.reg"
rc=0
bash "$1/tools/wine-prefix.sh" "$work/theirs" >/dev/null 2>"$work/stderr" || rc=$?
if [ "$rc" -ne 1 ] || ! grep -q "did not make" "$work/stderr" ||
    [ "$(ls -A "$work/theirs")" != system.reg ] || [ "$(cat "$work/theirs/system.reg")" != kept ]; then
    echo "FAILED: exit code $rc, said: $(cat "$work/stderr"); left: $(ls -A "$work/theirs")" >&2
    exit 1
fi
