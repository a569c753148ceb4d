#!/usr/bin/env bash
# Makes sure the x86 test guest exists and prints its folder: a 64-bit Debian guest (Debian's
# kernel, a 32-bit user space beside the 64-bit one, wine32 + wine64, Xvfb, xdotool, CTest) with
# a Wine prefix made inside it. Built from Debian packages alone, cached outside the work tree in
# TAVIK_GUEST_CACHE (default ~/.cache/tavik-x86-guest), and rebuilt only when its recipe (this
# script, guest/init and scripts/make-wine-prefix.sh) changes. Needs root, QEMU, mmdebstrap,
# e2fsprogs, and about 6 GB while building (2.5 GB kept).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
project=$(cd "$here/../.." && pwd)
cache=${TAVIK_GUEST_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tavik-x86-guest}
recipe=$(cat "$here/image.sh" "$here/guest/init" "$project/scripts/make-wine-prefix.sh" |
  sha256sum | cut -c1-16)
image=$cache/$recipe
if [[ -f $image/ready ]]; then
  echo "$image"
  exit 0
fi
# Only the folder goes to stdout, which the caller reads; the tools' chatter goes to stderr.
exec 3>&1 >&2
log() { echo "x86 guest: $* (+$((SECONDS)) s)"; }
log "building the guest image in $image (its recipe changed or it was never built)"
rm -rf "$image"
mkdir -p "$image"
rootfs=$image/rootfs
trap 'rm -rf "$rootfs"' EXIT

# The Debian archive this machine's apt already uses, and its security archive.
mirror=http://deb.debian.org/debian security=http://deb.debian.org/debian-security
for uri in $(awk '/^URIs:/ {print $2}' /etc/apt/sources.list.d/*.sources 2>/dev/null); do
  case $uri in
    *debian-security*) security=$uri ;;
    */debian | */debian/) mirror=$uri ;;
  esac
done
packages=(
  linux-image-amd64 initramfs-tools kmod udev procps iproute2
  wine wine64 wine32:i386 libwine:i386 xvfb xauth xdotool cmake
)
# The initrd needs only what mounting the root takes (35 MB of modules otherwise).
mmdebstrap --variant=minbase --architectures=amd64,i386 \
  --aptopt='APT::Install-Recommends "false"' \
  --include="$(IFS=,; echo "${packages[*]}")" \
  --customize-hook="install -m 755 '$here/guest/init' \"\$1/sbin/tavik-init\"" \
  --customize-hook='sed -i "s/^MODULES=.*/MODULES=list/" "$1/etc/initramfs-tools/initramfs.conf"' \
  --customize-hook='printf "%s\n" virtio_pci virtio_blk ext4 >"$1/etc/initramfs-tools/modules"' \
  --customize-hook='chroot "$1" update-initramfs -u -k all' \
  --customize-hook='rm -rf "$1"/var/lib/apt/lists/* "$1"/var/cache/apt/*.bin "$1"/usr/share/doc/* "$1"/usr/share/man/* "$1"/usr/share/locale/*' \
  bookworm "$rootfs" \
  "deb $mirror bookworm main" "deb $mirror bookworm-updates main" "deb $security bookworm-security main"
log "package tree done"
cp "$rootfs"/boot/vmlinuz-* "$image/vmlinuz"
cp "$rootfs"/boot/initrd.img-* "$image/initrd.img"
# mke2fs fills the image from the tree itself: no loop device needed. The packages take 3 GB, the
# prefix 0.7 GB and each test stream's copy of it as much again; the file stays sparse.
mke2fs -q -t ext4 -L tavik-guest -E root_owner=0:0 -d "$rootfs" "$image/root.img" 10G
rm -rf "$rootfs"
log "root image done"

# The prefix is made inside the guest: making its 32-bit half runs 32-bit programs, which this
# machine may refuse. The boot writes to the image itself (TAVIK_GUEST_WRITABLE); the guest leaves
# the file system clean, and e2fsck makes sure, or a later boot's journal replay would undo it.
if ! TAVIK_GUEST_WRITABLE=1 "$here/run.sh" -t 1800 "$image" "$project" \
  "$here/in-guest.sh" prefix /root/.wine; then
  log "making the Wine prefix in the guest failed"
  exit 1
fi
status=0
e2fsck -fy "$image/root.img" >/dev/null 2>&1 || status=$?
# 1: the check corrected something (a journal replayed), which is fine.
if [[ $status -gt 1 ]]; then
  log "the image's file system is damaged (e2fsck status $status)"
  exit 1
fi
touch "$image/ready"
# Older recipes' images are of no further use.
find "$cache" -mindepth 1 -maxdepth 1 ! -name "$recipe" -exec rm -rf {} +
log "guest ready"
echo "$image" >&3
