#!/usr/bin/env bash
# Runs a Windows test program under Wine; CMake uses it to run the test programs of both builds
# (Wine's loader hands a 32-bit program to its 32-bit half). scripts/with-wine.sh provides the
# prefix and the display.
#
# Under load, Wine now and then gives up before the program reaches its main. Such a program, and
# only such a one, gets a second run: the test programs' main creates the file named by
# TAVIK_STARTED_FILE, so a failure after that point is the program's own and is never repeated.
# Each second run is reported on stderr and appended to TAVIK_RETRY_LOG (when set), which
# scripts/test.sh prints.
export WINEDEBUG=${WINEDEBUG:--all}
# A test's environment cannot carry the ';' between Wine's override groups through CMake:
# TAVIK_DLL_OVERRIDES gives them with '+' instead.
if [[ -n ${TAVIK_DLL_OVERRIDES:-} ]]; then
  export WINEDLLOVERRIDES=${TAVIK_DLL_OVERRIDES//+/;}
fi
if [[ -z ${WINEPREFIX:-} || -z ${DISPLAY:-} ]]; then
  echo "wine-run: WINEPREFIX and DISPLAY must be set; run through scripts/with-wine.sh" >&2
  exit 2
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# Z: is the prefix's drive for /.
export TAVIK_STARTED_FILE="Z:${scratch//\//\\}\\started"
for attempt in 1 2; do
  rm -f "$scratch/started"
  # Wine's helper processes (services, the desktop) outlive the program and would keep our
  # caller's pipes open, so the caller would wait for them: the output goes through a file.
  /usr/lib/wine/wine64 "$@" >"$scratch/output" 2>&1
  status=$?
  cat "$scratch/output"
  if [[ $status -eq 0 || -e $scratch/started || $attempt -eq 2 ]]; then
    break
  fi
  note="wine-run: Wine did not start $(basename "$1") (exit status $status); second run of: $*"
  echo "$note" >&2
  [[ -n ${TAVIK_RETRY_LOG:-} ]] && echo "$note" >>"$TAVIK_RETRY_LOG"
done
exit $status
