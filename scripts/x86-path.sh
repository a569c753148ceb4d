#!/usr/bin/env bash
# Prints how this machine runs the x86 build's Windows tests:
#   direct  its kernel runs 32-bit programs, so Debian's wine32 runs them here;
#   guest   it refuses them (no 32-bit emulation in the kernel), so a 64-bit Debian guest under
#           QEMU runs them (scripts/x86-guest/).
# TAVIK_X86_PATH=direct|guest forces one (to exercise the guest on a machine that needs none).
set -euo pipefail
case ${TAVIK_X86_PATH:-auto} in
  direct | guest) echo "$TAVIK_X86_PATH"; exit 0 ;;
  auto) ;;
  *) echo "x86-path: TAVIK_X86_PATH must be direct, guest or auto" >&2; exit 2 ;;
esac
# The smallest static i386 Linux program: one loadable segment whose code is
# `mov ebx, 42; mov eax, 1 (exit); int 0x80`. Only a kernel that runs 32-bit code exits with 42.
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
{
  # ELF header: 32-bit, little-endian, executable for i386, entry 0x08048054, program headers at 52.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00'
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'
  # One PT_LOAD of the whole 96-byte file at 0x08048000, readable and executable.
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  printf '\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  printf '\xbb\x2a\x00\x00\x00\xb8\x01\x00\x00\x00\xcd\x80'
} >"$probe"
chmod +x "$probe"
status=0
"$probe" 2>/dev/null || status=$?
if [[ $status -eq 42 ]]; then echo direct; else echo guest; fi
