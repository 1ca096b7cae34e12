#!/bin/bash
# Installs the Debian 12 packages that one kind of work needs, once: a package
# already present is not asked for again. Wine's 32-bit half (for the shipped
# i686 program) comes from the i386 architecture, added once.
# Usage: tools/install-deps.sh play|dist|test|fuzz|all
#   play: building the game and playing it under Wine;
#   dist: building the release archive (no Wine);
#   test: building everything and running the tests, benchmarks and soak;
#   fuzz: the fuzz programs, built by clang in a host tree with the tests;
#   all:  all of these.
. "$(dirname "$0")/lib.sh"
build=(cmake make g++ dpkg-dev zlib1g-dev
       g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev)
wine=(wine wine64 wine32:i386 xvfb fonts-wine)
# The test framework (built from its sources) and the host tests' PNG reader.
kit=(googletest libpng-dev)
fuzz=(clang libclang-rt-14-dev)
case "${1:-}" in
    play) packages=("${build[@]}" "${wine[@]}") ;;
    dist) packages=("${build[@]}" zip) ;;
    # x11-utils: xwininfo, which finds the game's box on the display in make
    # play's test.
    test) packages=("${build[@]}" "${wine[@]}" "${kit[@]}" x11-utils) ;;
    fuzz) packages=("${build[@]}" "${kit[@]}" "${fuzz[@]}") ;;
    all) packages=("${build[@]}" "${wine[@]}" "${kit[@]}" x11-utils zip "${fuzz[@]}") ;;
    *) echo "usage: tools/install-deps.sh play|dist|test|fuzz|all" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "zorvant: installing Debian packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
# Another installation on the same machine holds the locks for a while.
lock=(-o DPkg::Lock::Timeout=900)
$sudo apt-get "${lock[@]}" update -qq
# With their recommended packages, whatever this machine's apt says: Wine's
# X11 driver loads XRender and the cursor, input and screen-layout libraries
# (in both halves), which Wine's packages only recommend.
$sudo apt-get "${lock[@]}" install -y -qq --install-recommends "${missing[@]}" >/dev/null
