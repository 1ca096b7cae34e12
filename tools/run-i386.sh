#!/bin/bash
# Runs a command where 32-bit x86 Linux programs (Wine's 32-bit loader) run:
# directly where the kernel runs them; elsewhere in a user and mount
# namespace of its own, whose private binfmt_misc hands them to qemu-i386 user
# emulation (tools/fetch-qemu.sh). Nothing outside the namespace changes.
# Exports ZORVANT_I386: "native" or "emulated".
# Usage: tools/run-i386.sh COMMAND [ARGUMENTS...]   (BUILD names the build folder)
set -e
ZORVANT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ZORVANT_ROOT/build}
QEMU=$BUILD/qemu/qemu-i386

if [ "${1:-}" = --inside ]; then
    shift
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    # An i386 executable or shared object; O: qemu gets the opened file, P:
    # the program's own argv[0], F: the emulator is opened now, once.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":zorvant-i386:M::$magic:$mask:$QEMU:OPF" >/proc/sys/fs/binfmt_misc/register
    exec "$@"
fi

# Nothing to arrange where the kernel runs 32-bit code itself.
if "$ZORVANT_ROOT/tools/native-i386.sh"; then
    export ZORVANT_I386=${ZORVANT_I386:-native}
    exec "$@"
fi
# The emulator, fetched on first use (the fetch returns at once after).
BUILD=$BUILD "$ZORVANT_ROOT/tools/fetch-qemu.sh"
export ZORVANT_I386=emulated BUILD
exec unshare --user --map-root-user --mount --fork "$0" --inside "$@"
