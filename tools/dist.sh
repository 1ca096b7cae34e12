#!/bin/bash
# The release for Windows players: builds the shipped 32-bit program, packs it
# with the player's guide and the licences into dist/zorvant-<version>-windows.zip,
# writes dist/SHA256SUMS, then builds the program once more from a copy of the
# sources in a scratch folder and checks that the program and the archive come
# out byte for byte the same. BUILD names the build folder, JOBS the jobs.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
JOBS=${JOBS:-2}
DIST=$ROOT/dist
version=$(head -n 1 "$ROOT/VERSION")
archive=zorvant-$version-windows.zip
zlib_copyright=/usr/share/doc/libz-mingw-w64-dev/copyright

# Times inside the archive come from the last commit, not from the clock; zip
# stores local times, so the zone is fixed too.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct) || {
        echo "zorvant: no commit to date the archive by; set SOURCE_DATE_EPOCH" >&2
        exit 1
    }
fi
export SOURCE_DATE_EPOCH TZ=UTC

# Staging folders and the scratch build live here, removed at the end.
work=$(mktemp -d "${TMPDIR:-/tmp}/zorvant-dist.XXXXXX")
trap 'rm -rf "$work"' EXIT

# build_game SOURCES TREE [CMAKE_ARGS...]: the shipped program alone, in TREE.
build_game() {
    cmake -S "$1" -B "$2" -DCMAKE_TOOLCHAIN_FILE="$1/cmake/toolchain-i686-mingw.cmake" "${@:3}" >/dev/null
    cmake --build "$2" -j "$JOBS" --target zorvant >/dev/null
}

crlf() { sed 's/\r*$/\r/'; }

# The zlib licence from the copyright file of the package the program links:
# the copyright lines of its own files and the zlib licence paragraph.
zlib_licence() {
    echo "zlib, from Debian's libz-mingw-w64-dev $(dpkg-query -W -f='${Version}' libz-mingw-w64-dev), linked into zorvant.exe"
    echo
    awk '
        /^Files: \*$/ { files = 1 }
        files && /^License:/ { files = 0 }
        files && /^(Copyright:| )/ { line = $0; sub(/^(Copyright:)? */, "", line); print "Copyright (c) " line }
        text && !/^ / { text = 0 }
        text { line = substr($0, 2); print (line == "." ? "" : line) }
        /^License: Zlib$/ && previous == "" { text = 1; print "" }
        { previous = $0 }
    ' "$zlib_copyright"
}

# The libpng licence from the sources the build fetched and compiled.
libpng_licence() {
    local v
    v=$(sed -n 's/^#define PNG_LIBPNG_VER_STRING "\(.*\)"/\1/p' "$1/png.h")
    echo "libpng $v, linked into zorvant.exe"
    echo
    cat "$1/LICENSE"
}

# make_archive EXE LIBPNG_SOURCES ZIP: the files in a fixed order, with fixed
# modes and times, so that the same inputs give the same bytes.
make_archive() {
    local stage
    stage=$(mktemp -d "$work/stage.XXXXXX")
    cp "$1" "$stage/zorvant.exe"
    sed "s/@VERSION@/$version/g" "$ROOT/docs/player-guide.txt" | crlf >"$stage/README.txt"
    crlf <"$ROOT/LICENSE" >"$stage/LICENSE.txt"
    libpng_licence "$2" | crlf >"$stage/LICENSE-libpng.txt"
    zlib_licence | crlf >"$stage/LICENSE-zlib.txt"
    local files=(zorvant.exe README.txt LICENSE.txt LICENSE-libpng.txt LICENSE-zlib.txt)
    chmod 0644 "$stage"/*
    touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
    rm -f "$3"
    (cd "$stage" && zip -q -X -9 "$3" "${files[@]}")
    rm -rf "$stage"
}

build_game "$ROOT" "$BUILD/win32"
mkdir -p "$DIST"
rm -f "$DIST/$archive" "$DIST/SHA256SUMS"
make_archive "$BUILD/win32/game/zorvant.exe" "$BUILD/win32/libpng/src" "$DIST/$archive"
(cd "$DIST" && sha256sum "$archive" >SHA256SUMS)
echo "zorvant: $DIST/$archive"
echo "zorvant: SHA-256 $(cut -d ' ' -f 1 "$DIST/SHA256SUMS")"

# The second build: the sources as git sees them (changes included), copied to
# another folder and built in another tree. The libpng sources already fetched
# are copied along, so the check needs no network.
scratch=$work/scratch
mkdir -p "$scratch/src" "$scratch/build/libpng"
(cd "$ROOT" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    xargs -0 cp --parents -t "$scratch/src")
cp -r "$BUILD/win32/libpng/src" "$scratch/build/libpng/src"
build_game "$scratch/src" "$scratch/build" -DZORVANT_TESTS=OFF
make_archive "$scratch/build/game/zorvant.exe" "$scratch/build/libpng/src" "$scratch/$archive"

if cmp -s "$BUILD/win32/game/zorvant.exe" "$scratch/build/game/zorvant.exe" &&
    cmp -s "$DIST/$archive" "$scratch/$archive"; then
    echo "zorvant: a second build in a scratch folder gave a byte-identical zorvant.exe and archive"
else
    trap - EXIT
    echo "zorvant: the second build in $scratch differs from the first (kept there to compare)" >&2
    exit 1
fi
