#!/bin/bash
# Test launcher for cross-built executables: runs a Windows program with the
# Wine loader of its width (wine64, or wine for the i686 tree) under the
# project's Wine settings. The caller (tools/run-tests.sh) has set up the
# session: prefix, display, warm server, the locale, and for the i686 tree a
# place where 32-bit code runs.
# Usage: wine-run.sh wine|wine64 PROGRAM [ARGUMENTS...]
. "$(dirname "$0")/../tools/lib.sh"
WINE=/usr/lib/wine/$1
shift
. "$ZORVANT_ROOT/tools/wine-env.sh"
exec "$WINE" "$@"
