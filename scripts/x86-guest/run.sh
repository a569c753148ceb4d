#!/usr/bin/env bash
# Boots the x86 test guest, runs one command in it, and hands back its output and exit status.
# Usage: run.sh [-t SECONDS] [-e NAME=VALUE]... IMAGE_DIR WORKDIR COMMAND [ARGS...]
#   IMAGE_DIR  what image.sh printed
#   WORKDIR    a folder shared with the guest at its own path (so the absolute paths of a build
#              tree hold in there too); the command runs in it, as root
# Exit status: the command's; 124 past the time-out (default 3600 s); 125 if the guest died or
# never ran the command (its console is then printed).
# TAVIK_GUEST_WRITABLE=1 lets the boot change the image (the prefix build); otherwise nothing a
# run writes to the guest's disk survives it. TAVIK_GUEST_CPUS, TAVIK_GUEST_MEM (MiB) size it.
set -euo pipefail
timeout_s=3600
envs=()
while [[ $# -gt 0 ]]; do
  case $1 in
    -t) timeout_s=$2; shift 2 ;;
    -e) envs+=("$2"); shift 2 ;;
    *) break ;;
  esac
done
[[ $# -ge 3 ]] || { sed -n '3,6p' "$0" >&2; exit 2; }
image=$1 workdir=$(realpath "$2"); shift 2
cpus=${TAVIK_GUEST_CPUS:-$(nproc)}
# A PVM host offers /dev/kvm but boots only PVM-aware kernels: a stock kernel never comes up there.
if [[ -w /dev/kvm && ! -d /sys/module/kvm_pvm ]]; then
  accel=(-accel kvm -cpu host)
else
  # Software emulation. QEMU 7.2 with SMAP makes the guest kernel kill every Wine process at its
  # return to user mode; la57 only slows the page walks.
  accel=(-accel tcg,thread=multi,tb-size=512 -cpu max,-smap,-la57)
fi

run=$(mktemp -d "${TMPDIR:-/tmp}/tavik-guest.XXXXXX")
trap 'rm -rf "$run"' EXIT
mkdir "$run/ctl"
printf '%q ' "$@" >"$run/ctl/command"
echo "$workdir" >"$run/ctl/workdir"
for e in ${envs[@]+"${envs[@]}"}; do printf 'export %s=%q\n' "${e%%=*}" "${e#*=}"; done >"$run/ctl/env"

snapshot=on
[[ -n ${TAVIK_GUEST_WRITABLE:-} ]] && snapshot=off
status=0
timeout -k 10 "$timeout_s" qemu-system-x86_64 "${accel[@]}" -smp "$cpus" -m "${TAVIK_GUEST_MEM:-3072}" \
  -machine q35 -nodefaults -no-user-config -display none -no-reboot \
  -kernel "$image/vmlinuz" -initrd "$image/initrd.img" \
  -append "console=ttyS0 root=/dev/vda rw init=/sbin/tavik-init nokaslr quiet loglevel=3 mitigations=off tsc=reliable random.trust_cpu=on" \
  -drive "file=$image/root.img,format=raw,if=virtio,snapshot=$snapshot,cache=unsafe" \
  -virtfs "local,path=$run/ctl,mount_tag=ctl,security_model=none,multidevs=remap" \
  -virtfs "local,path=$workdir,mount_tag=work,security_model=none,multidevs=remap" \
  -device virtio-rng-pci -serial "file:$run/console.log" >"$run/qemu.log" 2>&1 || status=$?
[[ -f $run/ctl/stdout ]] && cat "$run/ctl/stdout"
[[ -f $run/ctl/stderr ]] && cat "$run/ctl/stderr" >&2
if [[ $status -eq 124 || $status -eq 137 ]]; then
  echo "x86 guest: no result within $timeout_s s" >&2
  tail -20 "$run/console.log" >&2 2>/dev/null || true
  exit 124
fi
if [[ ! -s $run/ctl/status ]]; then
  echo "x86 guest: the guest died before its command ended (QEMU exit status $status)" >&2
  cat "$run/qemu.log" >&2
  tail -40 "$run/console.log" >&2 2>/dev/null || true
  exit 125
fi
exit "$(cat "$run/ctl/status")"
