#!/bin/sh
# Ends the tests' Wine server and virtual X display.
set -eu
E2E_ROOT=$1
. "$(dirname "$0")/wine_env.sh"
[ -d "$WINEPREFIX" ] && timeout 30 "$WINESERVER" -k >/dev/null 2>&1 || true
if [ -f "$E2E_ROOT/xvfb.pid" ]; then
    kill "$(cat "$E2E_ROOT/xvfb.pid")" 2>/dev/null || true
    rm -f "$E2E_ROOT/xvfb.pid" "$E2E_ROOT/display"
fi
