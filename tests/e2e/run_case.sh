#!/bin/sh
# run_case.sh E2E_ROOT FXT PARLYTE_EXE BITS DRIVER_EXE TABLE CASE
# Makes the case's game folder from TABLE (UTF-8) with fxt, an empty work folder,
# and runs the driver's CASE under Wine on PARLYTE_EXE, a BITS-bit program.
# Exits 77, skipped, when this machine cannot run a 32-bit program at all.
set -eu
E2E_ROOT=$1 fxt=$2 exe=$3 bits=$4 driver=$5 table=$6 case=$7
. "$(dirname "$0")/wine_env.sh"
exit_if_cannot_run "$bits"
[ -n "${DISPLAY:-}" ] || { echo "no display: the display fixture did not run" >&2; exit 1; }

work="$E2E_ROOT/cases/win$bits/$case"
# A case that mounts a small disk (full-disk) may have ended before it let
# it go.
unmount_below_work() {
    awk -v below="$work/" 'index($2, below) == 1 { print $2 }' /proc/mounts | xargs -r umount
}
unmount_below_work
rm -rf "$work"
mkdir -p "$work/run"
"$fxt" make "$table" "$work/game" >/dev/null
# The driver compares the table with what the window shows: the files' bytes.
"$fxt" dump --ansi "$work/game" >"$work/table.tsv"
# A case named NAME-NNNdpi runs with the screen at NNN pixels per inch, the
# driver as Parlyte, so that both count pixels alike.
set_dpi() {
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null
}
dpi=96
case $case in *dpi) dpi=${case##*-} dpi=${dpi%dpi} && set_dpi "$dpi" ;; esac
# Wine's own background processes may start with the driver and outlive it;
# they get a file, not the test runner's pipe, which they would hold open.
limit=240
run_driver() {
    timeout $limit "$WINE" "$driver" "$case" "$bits" "$(windows_path "$exe")" "$(windows_path "$work/run")" \
        "$(windows_path "$work/game")" "$(windows_path "$work/table.tsv")" >"$work/driver.log" 2>&1 </dev/null
}
# Now and then Wine fails to start a process and ends it with 1 and not a
# word. The driver always reports, so such a run is Wine's: it is started
# again, at most three times in all.
starts=3
for start in $(seq 1 $starts); do
    status=0
    run_driver || status=$?
    [ $status -eq 1 ] && [ ! -s "$work/driver.log" ] || break
    if [ "$start" -eq $starts ]; then
        echo "FAIL Wine ended the driver with status 1 and printed nothing, $starts times"
    else
        echo "Wine did not start the driver; starting it again (start $((start + 1)) of $starts)"
    fi
done
cat "$work/driver.log"
say_how_it_ended $status $limit
unmount_below_work
[ "$dpi" = 96 ] || set_dpi 96
for picture in "$work"/run/*.bmp; do
    [ -f "$picture" ] && convert "$picture" "${picture%.bmp}.png" && rm "$picture" &&
        echo "screenshot: ${picture%.bmp}.png"
done
exit $status
