#!/bin/sh
# runs_32bit.sh E2E_ROOT: exits 0 when this machine runs 32-bit Windows
# programs under Wine, else 1 with the reason on standard output.
set -eu
E2E_ROOT=$1
. "$(dirname "$0")/wine_env.sh"
can_run_32bit || { echo "$no_32bit_reason"; exit 1; }
