#!/bin/sh
# Test launcher for cross-built executables: runs a Windows program under the
# project's Wine prefix with the Russian ANSI code page. The caller (make test)
# has set up the display and the warm wineserver.
ZORVANT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ZORVANT_ROOT/tools/wine-env.sh"
LC_ALL=ru_RU.UTF-8 exec "$WINE" "$@"
