#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX with the settings the Windows tests need. Run it on the display
# the tests will use: made without one, the first windows fail to appear for about 3 s.
set -euo pipefail
# Wine's own messages about the set-up are kept, and shown only if a step fails.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
trap 'echo "make-wine-prefix: failed (status $?): $BASH_COMMAND" >&2; tail -40 "$log" >&2' ERR
WINEDEBUG=err+all,fixme-all /usr/lib/wine/wine64 wineboot -i >"$log" 2>&1
# The set-up goes on in other processes after wineboot returns (the 32-bit half's files, the
# services); the edits below start only once all of them are done.
timeout 600 wineserver -w
# Both halves of the registry: 32-bit programs read the debugger setting from their own view.
for wine in /usr/lib/wine/wine64 /usr/lib/wine/wine; do
  [[ -x $wine ]] || continue
  # Without a window manager Wine waits ~2 s whenever a managed window closes; unmanaged, ~20-60 ms.
  $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >>"$log" 2>&1
  # A crash must end the program, not open the debugger.
  $wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f >>"$log" 2>&1
  $wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >>"$log" 2>&1 || true
done
timeout 600 wineserver -w
