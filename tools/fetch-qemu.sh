#!/bin/bash
# Fetches qemu-i386 (user emulation, static) from this release's backports
# suite into $BUILD/qemu, once, for machines whose kernel runs no 32-bit code.
# The release's own qemu (7.2) takes about a minute per Wine start; the
# backported one a fraction of a second. The archive is the one this
# machine's apt already uses; a private sources list and private indexes
# under $BUILD/qemu/apt leave the machine's apt untouched.
# Usage: tools/fetch-qemu.sh   (BUILD names the build folder)
set -euo pipefail
ZORVANT_ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ZORVANT_ROOT/build}
dir=$BUILD/qemu
[ -x "$dir/qemu-i386" ] && exit 0
# Not needed where the kernel runs 32-bit code (Wine's 32-bit loader runs).
"$ZORVANT_ROOT/tools/native-i386.sh" && exit 0

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
uri=$("$ZORVANT_ROOT/tools/apt-archive.sh" qemu-i386)
uri=${uri%/}
echo "zorvant: fetching qemu-i386 from $codename-backports (once)"
apt=$dir/apt
rm -rf "$apt"
mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial"
echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $codename-backports main" >"$apt/sources.list"
opts=(-o Dir::Etc::SourceList="$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
      -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache"
      -o APT::Architectures=amd64 -o Acquire::Languages=none -o APT::Sandbox::User=root -qq)
apt-get "${opts[@]}" update
(cd "$apt" && apt-get "${opts[@]}" download "qemu-user/$codename-backports")
deb=$(ls "$apt"/qemu-user_*.deb)
# Only the one emulator out of the package's 370 MB.
dpkg-deb --fsys-tarfile "$deb" | tar -x -O ./usr/bin/qemu-i386 >"$dir/qemu-i386.part"
chmod +x "$dir/qemu-i386.part"
"$dir/qemu-i386.part" --version | head -n 1
mv "$dir/qemu-i386.part" "$dir/qemu-i386"
rm -rf "$apt"
