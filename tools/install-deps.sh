#!/bin/bash
# Installs the Debian 12 packages that building and testing need, once: a
# package already present is not asked for again. Wine's 32-bit half (for the
# shipped i686 program) comes from the i386 architecture, added once.
set -e
packages=(
  cmake make g++ googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 wine32:i386 xvfb xauth fonts-wine
  zlib1g-dev libpng-dev dpkg-dev zip
  clang libclang-rt-14-dev
  x11-utils
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "zorvant: installing Debian packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
# Another installation on the same machine holds the locks for a while.
lock=(-o DPkg::Lock::Timeout=900)
$sudo apt-get "${lock[@]}" update -qq
$sudo apt-get "${lock[@]}" install -y -qq "${missing[@]}" >/dev/null
