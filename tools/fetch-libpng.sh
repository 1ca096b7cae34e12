#!/bin/bash
# Fetches Debian's own libpng source package into DIR (an unpacked tree at
# DIR/src), once: the PNG encoder links it statically into the Windows trees,
# since Debian 12 ships no libpng for the MinGW targets.
# Usage: tools/fetch-libpng.sh DIR
set -euo pipefail
mkdir -p "$1"
dir=$(cd "$1" && pwd)
[ -f "$dir/src/png.h" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

uri=$("$(dirname "$0")/apt-archive.sh" "libpng's source")
# Our deb-src entry sits beside apt's own source lists.
sourceparts=
eval "$(apt-config shell sourceparts Dir::Etc::sourceparts/d)"
list=${sourceparts%/}/zorvant-src.sources
codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
want="Types: deb-src
URIs: $uri
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"

# apt checks the files against the signed source index as it fetches them.
fetch() {
    (cd "$dir/download" && apt-get source --download-only -qq libpng1.6 >/dev/null 2>"$dir/download/apt.log")
}

mkdir -p "$dir/download"
if [ "$(cat "$list" 2>/dev/null)" != "$want" ]; then
    echo "$want" | $sudo tee "$list" >/dev/null
    $sudo apt-get update -qq
fi
if ! fetch; then
    $sudo apt-get update -qq
    fetch || cat "$dir/download/apt.log" >&2
fi

rm -rf "$dir/src"
dsc=$(ls "$dir"/download/libpng1.6_*.dsc 2>/dev/null | head -n 1 || true)
if [ -n "$dsc" ]; then
    dpkg-source --no-check -x "$dsc" "$dir/src" >/dev/null
    # dpkg-source leaves a link to the upstream tarball beside the tree.
    rm -f "$dir"/libpng1.6_*.orig.tar.*
else
    # Without the .dsc the upstream tarball alone still builds the library.
    orig=$(ls "$dir"/download/libpng1.6_*.orig.tar.* 2>/dev/null | head -n 1 || true)
    if [ -z "$orig" ]; then
        echo "zorvant: could not fetch the libpng1.6 source package" >&2
        exit 1
    fi
    mkdir -p "$dir/src"
    tar -xf "$orig" -C "$dir/src" --strip-components=1
fi
