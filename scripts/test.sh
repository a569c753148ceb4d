#!/usr/bin/env bash
# Builds the three presets and runs every test: the native unit tests, the checks of the x86 DLL
# that run on this machine, then the Windows tests of both builds under Wine in Xvfb: x64 here,
# x86 under 32-bit Wine on the path scripts/test-x86.sh picks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)
for preset in native win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
# A Windows program that Wine failed to start gets a second run (scripts/wine-run.sh); each is
# listed here at the end, so a retry never goes unseen. Any other failure fails the suite.
export TAVIK_RETRY_LOG=$PWD/build/wine-retries.log
: >"$TAVIK_RETRY_LOG"
report_retries() {
  if [[ -s $TAVIK_RETRY_LOG ]]; then
    echo "Programs Wine failed to start, run a second time:"
    cat "$TAVIK_RETRY_LOG"
  fi
}
trap report_retries EXIT
ctest --preset native -j "$jobs"
# Only the folder of the x86 host checks: loading the Windows tests' folders would list their cases
# by running the programs, which takes 32-bit Wine.
ctest --test-dir build/win32/tests/pe --output-on-failure
scripts/with-wine.sh ctest --preset win64
scripts/test-x86.sh
