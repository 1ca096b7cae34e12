#!/bin/bash
# The release for Windows players: builds the shipped 32-bit program, packs it
# with the player's guide and the licences into one folder zorvant-<version>/
# of dist/zorvant-<version>-windows.zip, and its debug information
# (zorvant.debug, into the same folder) into the optional
# dist/zorvant-<version>-windows-debug.zip; writes dist/SHA256SUMS; then builds
# the program once more from a copy of the sources in a scratch folder and
# checks that the program, its debug information and both archives come out
# byte for byte the same. BUILD names the build folder, JOBS the jobs.
. "$(dirname "$0")/lib.sh"
JOBS=${JOBS:-2}
DIST=$ZORVANT_ROOT/dist
version=$(head -n 1 "$ZORVANT_ROOT/VERSION")
folder=zorvant-$version
archive=$folder-windows.zip
debug_archive=$folder-windows-debug.zip
zlib_copyright=/usr/share/doc/libz-mingw-w64-dev/copyright

# Runs started together would share the build tree and dist/: one at a time,
# each holding a lock on both folders.
mkdir -p "$BUILD" "$DIST"
exec 8<"$BUILD" 9<"$DIST"
flock 8
flock 9

# Times inside the archive come from the last commit, not from the clock; zip
# stores local times, so the zone is fixed too.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$ZORVANT_ROOT" log -1 --format=%ct) || {
        echo "zorvant: no commit to date the archive by; set SOURCE_DATE_EPOCH" >&2
        exit 1
    }
fi
export SOURCE_DATE_EPOCH TZ=UTC

# Staging folders and the scratch build live here, removed at the end.
work=$(mktemp -d "${TMPDIR:-/tmp}/zorvant-dist.XXXXXX")
trap 'rm -rf "$work"' EXIT

# build_game SOURCES TREE: the shipped program alone, in TREE, with its
# debug information beside it; the libpng sources are those in TREE/../libpng.
# A new tree is made without the tests (so without a test framework); one
# that make build made keeps them.
build_game() {
    local tests=()
    [ -f "$2/CMakeCache.txt" ] || tests=(-DZORVANT_TESTS=OFF)
    cmake -S "$1" --preset win32 -B "$2" -DZORVANT_LIBPNG_SOURCE="$2/../libpng/src" "${tests[@]}" >/dev/null
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

# zip_folder STAGE ZIP: the one folder in STAGE, its files in the order given
# after it, with fixed modes and times, so that the same inputs give the same
# bytes.
zip_folder() {
    local stage=$1 zip=$2
    shift 2
    chmod 0755 "$stage/$folder"
    chmod 0644 "$stage/$folder"/*
    touch -d "@$SOURCE_DATE_EPOCH" "$stage/$folder"/* "$stage/$folder"
    rm -f "$zip"
    (cd "$stage" && zip -q -X -9 "$zip" "$folder/" "${@/#/$folder/}")
}

# make_archives TREE ZIP DEBUG_ZIP: the program of TREE with the player's
# guide and the licences in ZIP, its debug information in DEBUG_ZIP.
make_archives() {
    local stage
    stage=$(mktemp -d "$work/stage.XXXXXX")
    mkdir "$stage/$folder"
    cp "$1/game/zorvant.exe" "$stage/$folder/zorvant.exe"
    sed "s/@VERSION@/$version/g" "$ZORVANT_ROOT/docs/player-guide.txt" | crlf >"$stage/$folder/README.txt"
    crlf <"$ZORVANT_ROOT/LICENSE" >"$stage/$folder/LICENSE.txt"
    libpng_licence "$1/../libpng/src" | crlf >"$stage/$folder/LICENSE-libpng.txt"
    zlib_licence | crlf >"$stage/$folder/LICENSE-zlib.txt"
    zip_folder "$stage" "$2" zorvant.exe README.txt LICENSE.txt LICENSE-libpng.txt LICENSE-zlib.txt
    rm -rf "$stage/$folder"/*
    cp "$1/game/zorvant.debug" "$stage/$folder/zorvant.debug"
    zip_folder "$stage" "$3" zorvant.debug
    rm -rf "$stage"
}

build_game "$ZORVANT_ROOT" "$BUILD/win32"
rm -f "$DIST/$archive" "$DIST/$debug_archive" "$DIST/SHA256SUMS"
make_archives "$BUILD/win32" "$DIST/$archive" "$DIST/$debug_archive"
(cd "$DIST" && sha256sum "$archive" "$debug_archive" >SHA256SUMS)
for f in "$archive" "$debug_archive"; do
    echo "zorvant: $DIST/$f, $(stat -c %s "$DIST/$f") bytes, SHA-256 $(grep -F " $f" "$DIST/SHA256SUMS" | cut -d ' ' -f 1)"
done
echo "zorvant: zorvant.exe $(stat -c %s "$BUILD/win32/game/zorvant.exe") bytes, zorvant.debug $(stat -c %s "$BUILD/win32/game/zorvant.debug") bytes"

# The second build: the sources as git sees them (changes included), copied to
# another folder and built in another tree. The libpng sources already fetched
# are copied along, so the check needs no network.
scratch=$work/scratch
mkdir -p "$scratch/src" "$scratch/libpng"
(cd "$ZORVANT_ROOT" && git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [ -e "$f" ] && printf '%s\0' "$f"; done |
    xargs -0 cp --parents -t "$scratch/src")
cp -r "$BUILD/libpng/src" "$scratch/libpng/src"
build_game "$scratch/src" "$scratch/build"
make_archives "$scratch/build" "$scratch/$archive" "$scratch/$debug_archive"

first=$BUILD/win32/game second=$scratch/build/game
if cmp -s "$first/zorvant.exe" "$second/zorvant.exe" && cmp -s "$first/zorvant.debug" "$second/zorvant.debug" &&
    cmp -s "$DIST/$archive" "$scratch/$archive" && cmp -s "$DIST/$debug_archive" "$scratch/$debug_archive"; then
    echo "zorvant: a second build in a scratch folder gave a byte-identical zorvant.exe, zorvant.debug and archives"
else
    trap - EXIT
    echo "zorvant: the second build in $scratch differs from the first (kept there to compare)" >&2
    exit 1
fi
