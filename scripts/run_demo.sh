#!/bin/sh
# Runs Parlyte under Wine on the demo texts: the 32-bit release where this
# machine runs 32-bit programs, else the 64-bit build. On the user's display
# when DISPLAY is set; otherwise in a virtual display, where a screenshot is
# saved to build/run/parlyte.png and the window is closed again.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
E2E_ROOT=$top/build/run
mkdir -p "$E2E_ROOT/home"
table=$top/demo/demo_texts.tsv
saved_display=${DISPLAY:-}
rm -f "$E2E_ROOT/display"
. "$top/tests/e2e/wine_env.sh"

bits=32
if ! can_run_32bit; then
    bits=64
    echo "showing the 64-bit build: $no_32bit_reason"
fi
exe=$top/build/win$bits/Parlyte.exe

if [ -n "$saved_display" ]; then
    export DISPLAY=$saved_display
    game=$E2E_ROOT/game
    "$top/build/native/fxt" make "$table" "$game" >/dev/null
    mkdir -p "$E2E_ROOT/work"
    printf '[GTA]\r\nGTAPath=%s\\\r\n' "$(windows_path "$game")" >"$E2E_ROOT/work/Parlyte.ini"
    cd "$E2E_ROOT/work"
    exec "$WINE" "$exe"
fi

"$top/tests/e2e/start_display.sh" "$E2E_ROOT"
status=0
"$top/tests/e2e/run_case.sh" "$E2E_ROOT" "$top/build/native/fxt" "$exe" $bits \
    "$top/build/win64/tests/e2e/e2e_driver.exe" "$table" demo || status=$?
"$top/tests/e2e/stop_display.sh" "$E2E_ROOT"
[ $status -eq 0 ] || exit $status
cp "$E2E_ROOT/cases/win$bits/demo/run/parlyte.png" "$E2E_ROOT/parlyte.png"
echo "screenshot: $E2E_ROOT/parlyte.png ($(basename "$(dirname "$exe")")/Parlyte.exe)"
