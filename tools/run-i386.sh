#!/bin/bash
# Runs a command where 32-bit x86 Linux programs (Wine's 32-bit loader) run:
# directly where the kernel runs them; elsewhere in a user and mount
# namespace of its own, whose private binfmt_misc hands them to qemu-i386 user
# emulation (tools/fetch-qemu.sh). Nothing outside the namespace changes.
# Exports ZORVANT_I386: "native" or "emulated" (tools/lib.sh).
# Usage: tools/run-i386.sh COMMAND [ARGUMENTS...]   (BUILD names the build folder)
. "$(dirname "$0")/lib.sh"
QEMU=$BUILD/qemu/qemu-i386

if [ "${1:-}" = --inside ]; then
    shift
    # binfmt_misc is mounted per user namespace only from Linux 6.7 on.
    if ! mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc; then
        echo "zorvant: cannot mount a binfmt_misc of our own in a user namespace:" \
            "that needs Linux 6.7 or later, and this kernel is $(uname -r)." >&2
        echo "zorvant: instead, turn the kernel's 32-bit support on (ia32_emulation=1 on its" \
            "command line, where it has the option), or, as root, register $QEMU" \
            "machine-wide with the line this script writes (docs/wine-and-32-bit.md)." >&2
        exit 1
    fi
    # An i386 executable or shared object; O: qemu gets the opened file, P:
    # the program's own argv[0], F: the emulator is opened now, once.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    printf '%s' ":zorvant-i386:M::$magic:$mask:$QEMU:OPF" >/proc/sys/fs/binfmt_misc/register
    exec "$@"
fi

# Nothing to arrange where 32-bit code runs already.
zorvant_i386
if [ "$ZORVANT_I386" != none ]; then
    exec "$@"
fi
# The registration string separates its fields with ':'.
case $QEMU in
    *:*)
        echo "zorvant: the emulator's path $QEMU holds a ':', which binfmt_misc cannot" \
            "register; use a build folder without one (BUILD=...)" >&2
        exit 1 ;;
esac
# The emulator, fetched on first use (the fetch returns at once after).
"$ZORVANT_ROOT/tools/fetch-qemu.sh"
export ZORVANT_I386=emulated
exec unshare --user --map-root-user --mount --fork "$0" --inside "$@"
