#!/usr/bin/env bash
# Checks a built plug-in DLL without running it: machine type, the 13 plain export names, and that
# it imports only DLLs every Windows has.  Usage: check-pe.sh DLL EXPECTED-FORMAT (pei-i386 | pei-x86-64)
set -euo pipefail
dll=$1 format=$2
objdump=x86_64-w64-mingw32-objdump
fail() { echo "check-pe: $dll: $*" >&2; exit 1; }

dump=$($objdump -p "$dll")
actual=$(grep -m1 -o 'file format .*' <<<"$dump" | awk '{print $3}')
[[ $actual == "$format" ]] || fail "format is '$actual', expected '$format'"

expected_exports="CloseDLL ControllerCommand DllAbout DllConfig DllTest GetDllInfo GetKeys InitiateControllers ReadController RomClosed RomOpen WM_KeyDown WM_KeyUp"
exports=$(grep -E "^\s+\[ *[0-9]+\] [A-Za-z_@0-9]+$" <<<"$dump" | sed -E "s/.*\] //" | sort | xargs)
[[ $exports == "$expected_exports" ]] || fail "exports are '$exports', expected '$expected_exports'"

allowed="advapi32.dll comctl32.dll comdlg32.dll dinput.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll"
while read -r name; do
  lower=${name,,}
  [[ " $allowed " == *" $lower "* ]] || fail "imports $name, which is not a Windows system DLL"
done < <(grep 'DLL Name:' <<<"$dump" | awk '{print $3}')

echo "check-pe: $dll: $format, 13 plain exports, system imports only"
