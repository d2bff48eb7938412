#!/bin/sh
# run_fxt_exe_tests.sh E2E_ROOT BITS TESTS FXT_EXE FILE_HOLDER: runs the fxt
# tests of fxt.exe (TESTS, its FxtExeTest cases) on FXT_EXE, a BITS-bit Windows fxt, under Wine in the tests'
# prefix; FILE_HOLDER is the Windows program that holds a file open for them.
# Exits 77, skipped, when this machine cannot run a 32-bit program at all.
set -eu
E2E_ROOT=$1 bits=$2 tests=$3
. "$(dirname "$0")/wine_env.sh"
exit_if_cannot_run "$bits"
export FXT_EXE=$4 FILE_HOLDER=$5 WINE
limit=500
status=0
timeout $limit "$tests" --gtest_filter="FxtExeTest.*" || status=$?
say_how_it_ended $status $limit
exit $status
