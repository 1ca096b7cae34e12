#!/bin/bash
# Fails when the program imports a function that the list of allowed imports
# does not hold, so that no interface newer than the Windows versions we name
# creeps in unnoticed. Usage: windows_imports_test.sh OBJDUMP PROGRAM LIST
. "$(dirname "$0")/../../tools/lib.sh"
objdump=$1 program=$2 list=$3
if [ ! -f "$program" ]; then
    echo "no program at $program: build it first (make build)"
    exit 1
fi
# objdump -p prints each DLL's name, then one "address hint name" line per
# function, then a blank line.
imports=$("$objdump" -p "$program" | awk '
    /^\tDLL Name: / { dll = tolower($3); next }
    /^$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t/ { print dll, $3 }' | sort -u)
if [ -z "$imports" ]; then
    echo "no imports read from $program"
    exit 1
fi
unlisted=$(comm -23 <(echo "$imports") <(grep -v '^#' "$list" | sort -u))
if [ -n "$unlisted" ]; then
    echo "$program imports functions that $list does not allow:"
    echo "$unlisted"
    exit 1
fi
echo "$(echo "$imports" | wc -l) imports, all allowed"
