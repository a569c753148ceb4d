#!/usr/bin/env bash
# Makes the Wine prefix WINEPREFIX with the settings the Windows tests need. Run it on the display
# the tests will use: made without one, the first windows fail to appear for about 3 s.
set -euo pipefail
trap 'echo "make-wine-prefix: failed (status $?): $BASH_COMMAND" >&2' ERR
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
# Both halves of the registry: 32-bit programs read the debugger setting from their own view.
for wine in /usr/lib/wine/wine64 /usr/lib/wine/wine; do
  [[ -x $wine ]] || continue
  # Without a window manager Wine waits ~2 s whenever a managed window closes; unmanaged, ~20-60 ms.
  $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # A crash must end the program, not open the debugger.
  $wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 1 /f >/dev/null 2>&1
  $wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f >/dev/null 2>&1 || true
done
wineserver -w
