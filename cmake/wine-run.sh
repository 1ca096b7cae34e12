#!/bin/sh
# Test launcher for cross-built executables: runs a Windows program with the
# Wine loader of its width (wine64, or wine for the i686 tree) under the
# project's Wine settings and the Russian ANSI code page. The caller
# (tools/run-tests.sh) has set up the session: prefix, display, warm server,
# and for the i686 tree a place where 32-bit code runs.
# Usage: wine-run.sh wine|wine64 PROGRAM [ARGUMENTS...]
ZORVANT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
WINE=/usr/lib/wine/$1
shift
. "$ZORVANT_ROOT/tools/wine-env.sh"
LC_ALL=ru_RU.UTF-8 exec "$WINE" "$@"
