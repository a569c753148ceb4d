#!/usr/bin/env bash
# Builds both plug-in DLLs and the demo host, then runs the host under Wine.
#  - With a usable display: the demo window, in a Wine prefix of its own (build/demo-prefix) that
#    keeps the settings saved from "Configure..." between runs. ~/.wine is left alone.
#  - Without one: a self-check under Xvfb in a throwaway prefix. Controller 1 is mapped to the
#    keyboard, keys are pressed with xdotool, the polled words are printed and checked, and the
#    window is saved to docs/demo-host.png. Exits non-zero when a word is wrong.
set -euo pipefail
cd "$(dirname "$0")/.."
demo_dir=build/win64/demo
wine=/usr/lib/wine/wine64

if [[ -z ${TAVIK_IN_XVFB:-} ]]; then
  scripts/install-deps.sh
  jobs=$(nproc)
  cmake --preset win32 >/dev/null
  cmake --build --preset win32 --target Tavik_DI -j "$jobs"
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 --target demo_host -j "$jobs"
  echo "Built dist/x86/Tavik_DI.dll, dist/x64/Tavik_DI.dll and $demo_dir/demo_host.exe"

  if [[ -z ${DISPLAY:-} ]] || ! xdotool getmouselocation >/dev/null 2>&1; then
    echo "No usable display: running the demo host's self-check under Xvfb"
    exec scripts/with-wine.sh "$0"
  fi

  export WINEPREFIX=$PWD/build/demo-prefix WINEDEBUG=-all WINEARCH=win64
  if [[ ! -d $WINEPREFIX ]]; then
    echo "Creating the demo's Wine prefix in $WINEPREFIX (once)"
    $wine wineboot -i >/dev/null 2>&1
  fi
  # Without a window manager Wine's managed windows take ~2 s to close; unmanaged ones do not.
  # With one, Wine's windows should get its frames as usual.
  if xdotool getactivewindow >/dev/null 2>&1; then
    $wine reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
  else
    $wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  cd "$demo_dir"
  exec $wine demo_host.exe
fi

# The self-check, inside with-wine.sh: Xvfb and a throwaway prefix.
scratch=$(mktemp -d /tmp/tavik-demo.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
ready=$scratch/ready done=$scratch/done log=$scratch/log
# Output through a file: Wine's helper processes would keep a pipe open after the program ends.
(cd "$demo_dir" && $wine demo_host.exe --self-check "Z:$ready" "Z:$done" >"$log" 2>&1) &
host=$!
while [[ ! -s $ready ]] && kill -0 "$host" 2>/dev/null; do sleep 0.1; done
if [[ -s $ready ]]; then
  mkdir -p docs
  # -strip: no time stamps, so an unchanged picture leaves the file unchanged.
  xwd -root -silent | convert xwd:- -crop "$(cat "$ready")" +repage -strip docs/demo-host.png
  echo "Saved docs/demo-host.png"
fi
touch "$done"
status=0
wait "$host" || status=$?
cat "$log"
exit $status
