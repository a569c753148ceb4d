#!/usr/bin/env bash
# Takes a PNG of each dialog into docs/, under Xvfb with a throwaway Wine prefix.
# Usage: scripts/screenshots.sh   (after building the win64 preset)
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -z ${TAVIK_IN_XVFB:-} ]]; then
  exec scripts/with-wine.sh "$0" "$@"
fi
bin=build/win64/tests/bin
scratch=$(mktemp -d /tmp/tavik-shots.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs
for name in config keyboard joystick xinput pak about test; do
  ready=$scratch/$name.ready done=$scratch/$name.done
  (cd "$bin" && WINEDLLOVERRIDES=dinput,xinput1_4=n /usr/lib/wine/wine64 dialog_shots.exe "$name" "Z:$ready" "Z:$done" >"$scratch/$name.log" 2>&1) &
  helper=$!
  for _ in $(seq 1 300); do [[ -s $ready ]] && break; sleep 0.1; done
  if [[ ! -s $ready ]]; then
    echo "screenshots: the $name dialog did not open" >&2
    cat "$scratch/$name.log" >&2
    touch "$done"
    wait "$helper" || true
    exit 1
  fi
  xwd -root -silent | convert xwd:- -crop "$(cat "$ready")" +repage "docs/$name-dialog.png"
  touch "$done"
  wait "$helper"
  echo "docs/$name-dialog.png"
done
