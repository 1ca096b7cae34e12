#!/bin/bash
# Fetches Debian's own libpng source package into DIR (an unpacked tree at
# DIR/src), once: the PNG encoder links it statically into the Windows trees,
# since Debian 12 ships no libpng for the MinGW targets. The archive is the
# one this machine's apt already uses, read through apt state of our own in
# DIR/apt (tools/apt-private.sh): nothing runs as root and nothing outside DIR
# changes. Runs started together fetch it once.
# Usage: tools/fetch-libpng.sh DIR
. "$(dirname "$0")/lib.sh"
[ -f "$1/src/png.h" ] && exit 0
# The archive first: without one, nothing is written.
uri=$("$ZORVANT_ROOT/tools/apt-archive.sh" "libpng's source")

mkdir -p "$1"
dir=$(cd "$1" && pwd)
exec 9<"$dir"
flock 9
[ -f "$dir/src/png.h" ] && exit 0

codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
echo "zorvant: fetching the libpng1.6 source package (once)"
. "$ZORVANT_ROOT/tools/apt-private.sh"
apt=$dir/apt
apt_private "$apt" "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $codename main"
# apt checks the files against the signed source index as it fetches them.
(cd "$apt" && apt_private_get source --download-only libpng1.6 >/dev/null)
dsc=$(ls "$apt"/libpng1.6_*.dsc 2>/dev/null | head -n 1 || true)
if [ -z "$dsc" ]; then
    echo "zorvant: apt fetched no libpng1.6 source package from $uri" >&2
    exit 1
fi
rm -rf "$dir/src" "$dir/src.part"
dpkg-source --no-check -x "$dsc" "$dir/src.part" >/dev/null
mv "$dir/src.part" "$dir/src"
# dpkg-source also leaves links to the tarballs beside the tree.
rm -rf "$apt" "$dir"/libpng1.6_*
