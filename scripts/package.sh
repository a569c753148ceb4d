#!/usr/bin/env bash
# Builds both plug-in DLLs and writes the release package dist/Tavik_DI-<version>.zip:
# x86/Tavik_DI.dll, x64/Tavik_DI.dll, INSTALL.txt (docs/INSTALL.md) and LICENSE.
# Usage: package.sh                 build, then package into dist/
#        package.sh --built OUTDIR  package the DLLs already built in dist/ into OUTDIR
set -euo pipefail
cd "$(dirname "$0")/.."
out=dist
if [[ ${1:-} == --built ]]; then
  out=${2:?usage: package.sh --built OUTDIR}
else
  scripts/install-deps.sh
  for preset in win32 win64; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target Tavik_DI -j "$(nproc)"
  done
fi
version_file=build/win32/version.txt
[[ -f $version_file ]] || { echo "package: $version_file missing: configure the win32 preset" >&2; exit 1; }
version=$(<"$version_file")

stage=$(mktemp -d /tmp/tavik-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT
for pair in x86:i686 x64:x86_64; do
  arch=${pair%%:*} triple=${pair##*:}
  dll=dist/$arch/Tavik_DI.dll
  [[ -f $dll ]] || { echo "package: $dll missing: build the win32 and win64 presets" >&2; exit 1; }
  mkdir -p "$stage/$arch"
  # Debug symbols are three quarters of the file; users get the stripped DLL.
  "$triple-w64-mingw32-strip" -o "$stage/$arch/Tavik_DI.dll" "$dll"
done
# Read on Windows, where Notepad of older systems wants CR LF.
sed 's/$/\r/' docs/INSTALL.md >"$stage/INSTALL.txt"
sed 's/$/\r/' LICENSE >"$stage/LICENSE"

mkdir -p "$out"
zip_path=$(cd "$out" && pwd)/Tavik_DI-$version.zip
rm -f "$zip_path"
(cd "$stage" && zip -q -X -D "$zip_path" x86/Tavik_DI.dll x64/Tavik_DI.dll INSTALL.txt LICENSE)
echo "$zip_path"
