#!/bin/sh
# skipped_without_32bit.sh RUN_CASE_ARGUMENTS...: runs a 32-bit case as a
# machine whose kernel cannot start 32-bit processes would, and expects it
# to report itself skipped (exit 77) with the reason, having run nothing.
set -eu
E2E_ROOT=$1
mkdir -p "$E2E_ROOT"
loader="$E2E_ROOT/not-a-loader"
printf '\177ELF\001\001\001' >"$loader"
chmod +x "$loader"
status=0
output=$(WINE32=$loader "$(dirname "$0")/run_case.sh" "$@") || status=$?
echo "$output" | sed "s/^/run_case.sh: /"
case $output in
"skipped: this machine cannot run 32-bit processes: "*"Exec format error"*) ;;
*) echo "FAIL the case did not say why it was skipped"; exit 1 ;;
esac
[ $status -eq 77 ] || { echo "FAIL exit status $status, expected 77 (skipped)"; exit 1; }
echo "ok   skipped, with the reason"
