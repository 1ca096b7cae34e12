#!/bin/bash
# Says how 32-bit x86 programs run here (tools/lib.sh: "native" where the
# kernel runs them itself, else "none"), and succeeds only where the kernel
# runs them: for a person asking, since the scripts ask tools/lib.sh.
. "$(dirname "$0")/lib.sh"
zorvant_i386
echo "$ZORVANT_I386"
[ "$ZORVANT_I386" = native ]
