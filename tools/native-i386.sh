#!/bin/sh
# Succeeds where the kernel runs 32-bit x86 programs itself: Wine's 32-bit
# loader starting is the test that counts (a kernel without IA-32 emulation
# refuses it with ENOEXEC). Where it fails, tools/run-i386.sh emulates.
exec /usr/lib/wine/wine --version >/dev/null 2>&1
