#!/usr/bin/env bash
# Runs make targets in a Debian 13 (trixie) tree, as on a fresh Debian 13
# machine: the tree is made once with mmdebstrap, from Debian's archive, into
# ~/.cache/tarvik (or $TARVIK_CACHE) and brought up to date with apt on every
# run; this checkout's HEAD is cloned into it afresh. Needs root.
#   tools/debian13.sh [TARGET...]    (test and test-windows by default)
# A release it makes (make release) is copied into this checkout's dist/.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cache=${TARVIK_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tarvik}
tree=$cache/debian13
# What the tree caches (its static Windows Qt above all) lies beside it, so
# that a tree made anew keeps it.
treeCache=$cache/debian13-cache
archive=http://deb.debian.org
targets=("$@")
[ $# -gt 0 ] || targets=(test test-windows)

# Nothing is left running in the tree or mounted on it, whatever happens; and
# what a run killed outright left behind goes before this one starts.
clearTree() {
    for process in /proc/[0-9]*; do
        [ "$(readlink "$process/root" 2>/dev/null)" = "$tree" ] && kill -9 "${process#/proc/}" 2>/dev/null
    done
    awk -v tree="$tree/" 'index($2, tree) == 1 { print $2 }' /proc/mounts | sort -r |
        while read -r target; do
            umount --lazy "$target" || echo "debian13: could not unmount $target" >&2
        done
}
clearTree
trap clearTree EXIT
trap 'exit 130' INT TERM HUP

if [ ! -f "$tree/.complete" ]; then
    "$here/tools/install-deps.sh" mmdebstrap
    rm -rf "$tree" "$tree.new"
    mkdir -p "$cache"
    mmdebstrap --variant=apt --include=ca-certificates,git,make trixie "$tree.new" \
        "deb $archive/debian trixie main" "deb $archive/debian trixie-updates main" \
        "deb $archive/debian-security trixie-security main"
    touch "$tree.new/.complete"
    mv "$tree.new" "$tree"
fi

mountIn() { # mount arguments..., then the folder inside the tree
    local target=$tree/${*: -1}
    mount "${@:1:$#-1}" "$target"
    mount --make-rprivate "$target" # nothing mounted here shows outside the tree
}
mkdir -p "$treeCache" "$tree/root/.cache/tarvik"
mountIn -t proc proc proc
mountIn -t sysfs sysfs sys
mountIn --bind /dev dev
mountIn -t devpts -o newinstance,ptmxmode=0666 devpts dev/pts
mountIn -t tmpfs tmpfs dev/shm
mountIn --bind "$treeCache" root/.cache/tarvik
cp /etc/resolv.conf "$tree/etc/resolv.conf"

inTree() {
    chroot "$tree" /usr/bin/env -i HOME=/root LANG=C.UTF-8 CI=true DEBIAN_FRONTEND=noninteractive \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@" </dev/null
}
inTree apt-get update -qq
inTree apt-get upgrade -y -qq >/dev/null
rm -rf "$tree/root/tarvik"
git clone -q "$here" "$tree/root/tarvik"
for target in "${targets[@]}"; do
    start=$SECONDS
    inTree make -C /root/tarvik "$target"
    echo "debian13: make $target took $((SECONDS - start)) s"
done
if [ -d "$tree/root/tarvik/dist" ]; then
    rm -rf "$here/dist" && cp -r "$tree/root/tarvik/dist" "$here/dist"
    echo "debian13: the release is in $here/dist"
fi
