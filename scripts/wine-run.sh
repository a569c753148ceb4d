#!/usr/bin/env bash
# Runs an x64 Windows program under Wine; CMake uses it to run the Windows test programs.
# scripts/with-wine.sh provides the prefix and the display.
export WINEDEBUG=${WINEDEBUG:--all}
if [[ -z ${WINEPREFIX:-} || -z ${DISPLAY:-} ]]; then
  echo "wine-run: WINEPREFIX and DISPLAY must be set; run through scripts/with-wine.sh" >&2
  exit 2
fi
# Wine's helper processes (services, the desktop) outlive the program and would keep our caller's
# pipes open, so the caller would wait for them: the program's output goes through a file instead.
output=$(mktemp)
/usr/lib/wine/wine64 "$@" >"$output" 2>&1
status=$?
cat "$output"
rm -f "$output"
exit $status
