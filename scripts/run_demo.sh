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
    # The test driver writes Parlyte.ini as the tests do, and waits for the
    # window to be closed.
    exec "$WINE" "$top/build/win64/tests/e2e/e2e_driver.exe" show $bits "$(windows_path "$exe")" \
        "$(windows_path "$E2E_ROOT/work")" "$(windows_path "$game")" "$(windows_path "$table")"
fi

"$top/tests/e2e/start_display.sh" "$E2E_ROOT"
status=0
"$top/tests/e2e/run_case.sh" "$E2E_ROOT" "$top/build/native/fxt" "$exe" $bits \
    "$top/build/win64/tests/e2e/e2e_driver.exe" "$table" demo || status=$?
"$top/tests/e2e/stop_display.sh" "$E2E_ROOT"
[ $status -eq 0 ] || exit $status
cp "$E2E_ROOT/cases/win$bits/demo/run/parlyte.png" "$E2E_ROOT/parlyte.png"
echo "screenshot: $E2E_ROOT/parlyte.png ($(basename "$(dirname "$exe")")/Parlyte.exe)"
