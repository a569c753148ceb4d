#!/usr/bin/env bash
# Runs inside the x86 test guest, from the shared work tree.
#   in-guest.sh prefix PREFIX          makes the Wine prefix baked into the image
#   in-guest.sh tests [CTEST ARGS...]  runs the x86 build's Windows tests in one stream per core;
#                                      each stream has its own display and its own copy of the
#                                      baked prefix, since the tests of a stream share a registry
#                                      and the keyboard focus
set -uo pipefail
project=$(cd "$(dirname "$0")/../.." && pwd)
export WINEDEBUG=-all WINEARCH=win64

# Starts an Xvfb of its own; Xvfb picks a free display and names it once it accepts clients.
start_display() {
  local fifo display
  fifo=$(mktemp -u) && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  read -r -t 60 display <"$fifo" || { echo "in-guest: Xvfb did not start" >&2; exit 125; }
  rm -f "$fifo"
  export DISPLAY=:$display
}

if [[ ${1:-} == prefix ]]; then
  start_display
  export WINEPREFIX=$2
  rm -rf "$WINEPREFIX"
  "$project/scripts/make-wine-prefix.sh" || { echo "in-guest: making the prefix failed" >&2; exit 1; }
  # Both halves must start a program, or every x86 test would fail for want of its system DLLs.
  for wine in /usr/lib/wine/wine64 /usr/lib/wine/wine; do
    $wine reg query 'HKCU\Software\Wine\X11 Driver' /v Managed >/dev/null ||
      { echo "in-guest: $wine cannot run programs in the new prefix" >&2; exit 1; }
  done
  wineserver -w
  echo "in-guest: prefix ready, $(du -sh "$WINEPREFIX" | cut -f1)"
  exit
fi
[[ ${1:-} == tests ]] || { echo "usage: in-guest.sh prefix PREFIX | tests [CTEST ARGS...]" >&2; exit 2; }
shift
streams=$(nproc)
logs=$(mktemp -d)
# Stream N runs cases N, N+streams, N+2*streams... of the list.
stream() {
  local n=$1; shift
  start_display
  # The guest's disk is a throwaway snapshot: the first stream uses the baked prefix itself.
  export WINEPREFIX=/root/.wine
  if [[ $n -gt 1 ]]; then
    WINEPREFIX=/root/prefix-$n
    cp -a /root/.wine "$WINEPREFIX"
  fi
  # One server per prefix for the whole stream: each program then starts in a fraction of a second.
  wineserver -p
  ctest --preset win32 "$@"
  local status=$?
  wineserver -k
  return $status
}
# The case list comes from the programs themselves; listing them once first keeps the streams
# from writing the same list files at once.
(start_display; export WINEPREFIX=/root/.wine; ctest --preset win32 -N >/dev/null; wineserver -k)
pids=()
for n in $(seq 1 "$streams"); do
  stream "$n" -I "$n,,$streams" "$@" >"$logs/$n" 2>&1 &
  pids+=($!)
done
failed=0
for n in $(seq 1 "$streams"); do
  wait "${pids[n - 1]}" || failed=1
  echo "=== x86 tests, stream $n of $streams"
  cat "$logs/$n"
done
exit $failed
