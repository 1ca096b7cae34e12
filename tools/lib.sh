#!/bin/bash
# Sourced first by every script of the project (and by make play): one strict
# mode, the source and build folders, and how 32-bit x86 programs run here.
#
# Sets ZORVANT_ROOT, the source tree, and exports BUILD, the build folder
# (build/ in the source tree unless BUILD names another).

set -euo pipefail
# Sourced by its path, which names its folder: no dirname to run (the tests'
# launcher sources it for every test).
ZORVANT_ROOT=$(cd "${BASH_SOURCE[0]%/*}/.." && pwd)
export BUILD=${BUILD:-$ZORVANT_ROOT/build}

# How 32-bit x86 Linux programs (Wine's 32-bit loader) run here, in
# ZORVANT_I386: "native" where the kernel runs them itself, "emulated" inside
# the namespace of tools/run-i386.sh, "none" where neither. The kernel is
# asked once a run, by starting the loader (a kernel without IA-32 emulation
# refuses it with ENOEXEC), and only once Wine is installed; the answer is
# exported, so every script the run starts takes it as given.
zorvant_i386() {
    if [ -z "${ZORVANT_I386:-}" ]; then
        ZORVANT_I386=none
        if /usr/lib/wine/wine --version >/dev/null 2>&1; then ZORVANT_I386=native; fi
        export ZORVANT_I386
    fi
}

# Succeeds where the kernel runs 32-bit programs itself.
zorvant_native_i386() {
    zorvant_i386
    [ "$ZORVANT_I386" = native ]
}

# For the scripts that start 32-bit programs: unless they run here already,
# runs the calling script again, with its arguments, under tools/run-i386.sh.
# Usage: zorvant_where_i386_runs "$@"
zorvant_where_i386_runs() {
    zorvant_i386
    if [ "$ZORVANT_I386" = none ]; then
        exec "$ZORVANT_ROOT/tools/run-i386.sh" "$0" "$@"
    fi
}
