#!/bin/bash
# Fetches qemu-i386 (user emulation, static) from this release's backports
# suite into $BUILD/qemu, once, for machines whose kernel runs no 32-bit code.
# The release's own qemu (7.2) takes about a minute per Wine start; the
# backported one a fraction of a second. The archive is the one this
# machine's apt already uses, read through apt state of our own under
# $BUILD/qemu/apt (tools/apt-private.sh), so the machine's apt is untouched.
# Runs started together fetch it once: the first holds a lock on the whole
# fetch while the others wait for its result.
# Usage: tools/fetch-qemu.sh   (BUILD names the build folder)
. "$(dirname "$0")/lib.sh"
dir=$BUILD/qemu
# A kept emulator is trusted only once it runs: a torn or foreign file is
# fetched again. (The braces also quieten the shell's word on a crash.)
kept() {
    { "$dir/qemu-i386" --version >/dev/null; } 2>/dev/null
}
# Not needed where the kernel runs 32-bit code.
zorvant_native_i386 && exit 0
kept && exit 0

mkdir -p "$dir"
exec 9<"$dir"
flock 9
kept && exit 0
rm -f "$dir/qemu-i386"

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
uri=$("$ZORVANT_ROOT/tools/apt-archive.sh" qemu-i386)
uri=${uri%/}
echo "zorvant: fetching qemu-i386 from $codename-backports (once)"
. "$ZORVANT_ROOT/tools/apt-private.sh"
apt=$dir/apt
apt_private "$apt" "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $codename-backports main"
(cd "$apt" && apt_private_get download "qemu-user/$codename-backports")
deb=$(ls "$apt"/qemu-user_*.deb)
# Only the one emulator out of the package's 370 MB.
dpkg-deb --fsys-tarfile "$deb" | tar -x -O ./usr/bin/qemu-i386 >"$dir/qemu-i386.part"
chmod +x "$dir/qemu-i386.part"
"$dir/qemu-i386.part" --version | sed -n 1p
mv "$dir/qemu-i386.part" "$dir/qemu-i386"
rm -rf "$apt"
