#!/usr/bin/env bash
# Builds both plug-in DLLs. The demo host that exercises them under Wine is not written yet.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Tavik_DI -j "$(nproc)"
done
echo "Built dist/x86/Tavik_DI.dll and dist/x64/Tavik_DI.dll (the demo host comes later)."
