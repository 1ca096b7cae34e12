#!/bin/bash
# Prints the package archive this machine's apt configuration already uses,
# read from its source lists in either format (no index needs to have been
# downloaded): the first one reached over HTTP(S) that is not the security
# archive, whose index may name files it no longer serves. The project names
# no archive of its own. With none, says so and fails.
# Usage: tools/apt-archive.sh WHAT   (WHAT: what the archive is wanted for)
. "$(dirname "$0")/lib.sh"
sourcelist= sourceparts=
eval "$(apt-config shell sourcelist Dir::Etc::sourcelist/f sourceparts Dir::Etc::sourceparts/d)"
uri=$({
    cat "${sourceparts%/}"/*.sources 2>/dev/null | awk '/^URIs:/ { for (i = 2; i <= NF; i++) print $i }'
    cat "$sourcelist" "${sourceparts%/}"/*.list 2>/dev/null | sed 's/\[[^]]*\]//' |
        awk '$1 == "deb" || $1 == "deb-src" { print $2 }'
} | grep -E '^https?://' | grep -v security | head -n 1 || true)
if [ -z "$uri" ]; then
    echo "zorvant: apt names no package archive to fetch $1 from" \
        "(looked in $sourcelist and ${sourceparts%/}/); add one, then run this again" >&2
    exit 1
fi
echo "$uri"
