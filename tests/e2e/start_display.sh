#!/bin/sh
# Starts the tests' virtual X display and readies their Wine prefix, once,
# before any end-to-end case runs.
set -eu
E2E_ROOT=$1
mkdir -p "$E2E_ROOT/home"
. "$(dirname "$0")/wine_env.sh"

"$(dirname "$0")/stop_display.sh" "$E2E_ROOT"
number=90
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do
    number=$((number + 1))
    [ $number -lt 200 ] || { echo "no free X display number" >&2; exit 1; }
done
Xvfb ":$number" -screen 0 1280x800x24 -nolisten tcp >"$E2E_ROOT/xvfb.log" 2>&1 </dev/null &
echo $! >"$E2E_ROOT/xvfb.pid"
waited=0
until [ -e "/tmp/.X11-unix/X$number" ]; do
    sleep 0.2
    waited=$((waited + 1))
    [ $waited -lt 100 ] || { echo "Xvfb did not start:" >&2; cat "$E2E_ROOT/xvfb.log" >&2; exit 1; }
done
echo ":$number" >"$E2E_ROOT/display"
export DISPLAY=":$number"

# A prefix made before Wine's 32-bit part was installed lacks the 32-bit
# system files, and wineboot does not add them to it: it is made anew.
if [ -f "$WINEPREFIX/system.reg" ] && [ ! -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ] &&
    can_run_32bit; then
    rm -rf "$WINEPREFIX"
fi
# A fresh prefix must settle before the first case; cases racing to make it fail.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 300 "$WINE" wineboot -u >"$E2E_ROOT/wineboot.log" 2>&1 </dev/null
fi
# No window manager runs on the virtual display: Wine is told so, or it
# waits 2 s for one each time a window closes.
timeout 60 "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
timeout 120 "$WINESERVER" -w </dev/null || true
# One persistent server for all cases, rather than one started by each.
"$WINESERVER" -p >/dev/null 2>&1 </dev/null || true
echo "display $DISPLAY, Wine prefix $WINEPREFIX"
