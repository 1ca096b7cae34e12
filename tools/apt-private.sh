#!/bin/bash
# Sourced by the fetches that take a package from the archive this machine's
# apt already uses (tools/apt-archive.sh) without installing anything or
# changing anything outside their own folder.
#
# apt_private DIR SOURCE: apt state of its own in DIR (SOURCE as its one
# sources line, its own indexes and cache), made afresh, and its indexes
# downloaded, for this machine's own architecture only. apt_private_get
# ARGS...: apt-get on that state.
#
# The machine's apt configuration is still read (its proxy, for instance),
# but its hooks are switched off: after an update they refresh the software
# catalogue and signal the package manager, which would change the machine.

apt_private() {
    local dir=$1
    rm -rf "$dir"
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    echo "$2" >"$dir/sources.list"
    # Read after the machine's own files: the hooks they set are cleared.
    cat >"$dir/apt.conf" <<EOF
#clear APT::Update::Pre-Invoke;
#clear APT::Update::Post-Invoke;
#clear APT::Update::Post-Invoke-Success;
#clear DPkg::Pre-Invoke;
#clear DPkg::Post-Invoke;
#clear DPkg::Pre-Install-Pkgs;
#clear APT::Architectures;
APT::Architectures:: "$(dpkg --print-architecture)";
Dir::Etc::SourceList "$dir/sources.list";
Dir::Etc::SourceParts "/dev/null";
Dir::State::Lists "$dir/lists";
Dir::Cache "$dir/cache";
Acquire::Languages "none";
APT::Sandbox::User "root";
EOF
    APT_PRIVATE_CONF=$dir/apt.conf
    apt_private_get update
}

apt_private_get() {
    apt-get -c "$APT_PRIVATE_CONF" -qq "$@"
}
