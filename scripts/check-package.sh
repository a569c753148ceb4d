#!/usr/bin/env bash
# Builds a release package from the DLLs in dist/ into OUTDIR and checks it: the zip bears the
# version, holds exactly the two DLLs, the guide and the licence, and both DLLs pass check-pe.sh.
# Usage: check-package.sh OUTDIR VERSION
set -euo pipefail
out=$1 version=$2
scripts=$(dirname "$0")
fail() { echo "check-package: $*" >&2; exit 1; }

rm -rf "$out"
"$scripts/package.sh" --built "$out" >/dev/null
zip=$out/Tavik_DI-$version.zip
[[ -f $zip ]] || fail "no $zip (is the version in the build the project's?)"

entries=$(unzip -Z1 "$zip" | sort | xargs)
expected="INSTALL.txt LICENSE x64/Tavik_DI.dll x86/Tavik_DI.dll"
[[ $entries == "$expected" ]] || fail "the zip holds '$entries', expected '$expected'"

unzip -q "$zip" -d "$out/unpacked"
"$scripts/check-pe.sh" "$out/unpacked/x86/Tavik_DI.dll" pei-i386
"$scripts/check-pe.sh" "$out/unpacked/x64/Tavik_DI.dll" pei-x86-64
grep -q kailleraclient.dll "$out/unpacked/INSTALL.txt" || fail "INSTALL.txt does not explain netplay"
grep -q 'Permission is hereby granted' "$out/unpacked/LICENSE" || fail "LICENSE is not the licence"
echo "check-package: $zip is complete"
