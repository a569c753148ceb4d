#!/usr/bin/env bash
# Builds the x64 plug-in and prints its benchmark figures from one run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tavik_bench -j "$(nproc)" >/dev/null
cd build/win64/bench
"$OLDPWD"/scripts/with-wine.sh /usr/lib/wine/wine64 tavik_bench.exe
