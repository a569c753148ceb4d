#!/usr/bin/env bash
# Runs the x86 build's Windows tests (build/win32, test preset win32) under 32-bit Wine, on
# the path this machine allows (scripts/x86-path.sh), and says which. Fails, saying why, when that
# path cannot start. Extra arguments go to ctest (e.g. -R pattern).
set -euo pipefail
cd "$(dirname "$0")/.."
path=$(scripts/x86-path.sh)
# The time-outs of each path, here alone: a case's limit in CTest, and the factor on the waits and
# the per-case watchdog inside the test programs. Software emulation runs Wine several times slower.
case $path in
  direct) case_timeout=60 time_scale=1 ;;
  guest) case_timeout=300 time_scale=4 ;;
esac
cmake --preset win32 -DTAVIK_WIN_TEST_TIMEOUT=$case_timeout >/dev/null
export TAVIK_TIME_SCALE=$time_scale

if [[ $path == direct ]]; then
  echo "x86 Windows tests: direct path (this kernel runs 32-bit programs; Debian's wine32)"
  if [[ ! -x /usr/lib/wine/wine ]]; then
    echo "x86 Windows tests: FAILED to start: wine32 is not installed (scripts/install-deps.sh)" >&2
    exit 1
  fi
  exec scripts/with-wine.sh ctest --preset win32 "$@"
fi

echo "x86 Windows tests: guest path (a 64-bit Debian guest under QEMU runs the 32-bit programs)"
sudo=""; [[ $(id -u) -eq 0 ]] || sudo=sudo
if ! image=$($sudo env TAVIK_GUEST_CACHE="${TAVIK_GUEST_CACHE:-$HOME/.cache/tavik-x86-guest}" \
  scripts/x86-guest/image.sh); then
  echo "x86 Windows tests: FAILED to start: the guest image could not be built" >&2
  exit 1
fi
status=0
$sudo scripts/x86-guest/run.sh -e TAVIK_TIME_SCALE=$time_scale -e TAVIK_RETRY_LOG="${TAVIK_RETRY_LOG:-}" \
  "$image" "$PWD" scripts/x86-guest/in-guest.sh tests "$@" || status=$?
if [[ $status -ge 124 ]]; then
  echo "x86 Windows tests: FAILED: the guest did not finish (status $status)" >&2
fi
exit $status
