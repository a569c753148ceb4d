#!/usr/bin/env bash
# Runs a command with a throwaway Wine prefix on a private Xvfb display, then removes both.
# Usage: with-wine.sh COMMAND [ARGS...]
set -euo pipefail
if [[ -z ${TAVIK_IN_XVFB:-} ]]; then
  export TAVIK_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

scratch=$(mktemp -d /tmp/tavik-wine.XXXXXX)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEARCH=win64
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$scratch"
}
trap cleanup EXIT

echo "Creating a throwaway Wine prefix in $WINEPREFIX"
"$(dirname "$0")/make-wine-prefix.sh"
# One server for the whole run: each program then starts in a fraction of a second.
wineserver -p
"$@"
