#!/bin/bash
# An update on the private apt state of tools/apt-private.sh changes nothing
# outside its folder: it runs none of the update hooks that the machine's apt
# configuration sets. Here that configuration has hooks of its own, each of
# which would leave a file, and the archive is a local folder, so the test
# needs no network.
# Usage: apt_private_test.sh SOURCE_DIR
. "$1/tools/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/archive"
: >"$work/archive/Packages"
cat >"$work/machine.conf" <<CONF
APT::Update::Pre-Invoke:: "touch $work/ran-pre-invoke";
APT::Update::Post-Invoke:: "touch $work/ran-post-invoke";
APT::Update::Post-Invoke-Success:: "touch $work/ran-post-invoke-success";
CONF
export APT_CONFIG=$work/machine.conf
. "$1/tools/apt-private.sh"
if ! apt_private "$work/apt" "deb [trusted=yes] file:$work/archive ./" >"$work/log" 2>&1; then
    echo "FAILED: the private update failed:"
    cat "$work/log"
    exit 1
fi
if ! compgen -G "$work/apt/lists/*_Packages*" >/dev/null; then
    echo "FAILED: the private update downloaded no index"
    exit 1
fi
ran=$(cd "$work" && ls -d ran-* 2>/dev/null || true)
if [ -n "$ran" ]; then
    echo "FAILED: the private update ran the machine's hooks:" $ran
    exit 1
fi
echo "apt-private: an update on private state ran none of the machine's hooks"
