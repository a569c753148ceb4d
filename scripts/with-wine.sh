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
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
# Without a window manager Wine waits ~2 s whenever a managed window closes; unmanaged, ~20-60 ms.
/usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# A crash must end the program, not open the debugger.
/usr/lib/wine/wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f >/dev/null 2>&1
/usr/lib/wine/wine64 reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
wineserver -w
# One server for the whole run: each program then starts in a fraction of a second.
wineserver -p
"$@"
