#!/usr/bin/env bash
# Builds the x64 plug-in and prints its benchmark figures, from one run under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target tavik_bench -j "$(nproc)" >/dev/null
scripts/with-wine.sh bash -c '
  cd build/win64/tests/bin
  run() { WINEDLLOVERRIDES=$1 ../../../../scripts/wine-run.sh tavik_bench.exe "$2"; }
  run dinput=b poll
  run dinput=n pad-poll
  run dinput=n port-poll
  run dinput,xinput1_4=n xinput-poll
  run dinput=n handoff
  run dinput=n waiting-game
  run dinput=n create-devices
  run dinput=n rebuild-poll
  run dinput=n memory
  run dinput=n netplay-link
' | grep -v '^Creating a throwaway'
