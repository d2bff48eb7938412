#!/bin/sh
# Prints every benchmark figure: loading natively on three sizes of game-like
# data and fxt's dump and make, then under Wine the key comparison, start-up
# and interaction.
# Figures only; nothing here passes or fails on a time. RUNS sets the runs,
# STARTUP_RUNS those of start-up, whose times vary most from run to run.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
runs=${RUNS:-5}
startup_runs=${STARTUP_RUNS:-21}
native=$top/build/bench
win64=$top/build/win64
E2E_ROOT=$native/wine
data=$native/data

echo "== machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
echo
"$native/load_bench" "$runs"
echo

mkdir -p "$data" "$E2E_ROOT/home"

# Median [fastest-slowest] of RUNS runs of a command, in milliseconds.
time_runs() {
    for run in $(seq "$runs"); do
        start=$(date +%s%N)
        "$@" >/dev/null
        echo $((($(date +%s%N) - start) / 1000))
    done | sort -n | awk '{ t[NR] = $1 } END { printf "%9.1f ms [%.1f-%.1f]\n", t[int((NR + 1) / 2)] / 1000, t[1] / 1000, t[NR] / 1000 }'
}

echo "fxt on the realistic set of 10,000 keys ($runs runs each)"
"$native/make_realistic_table" 10000 >"$data/fxt-10000.tsv"
rm -rf "${data:?}/fxt-10000"
"$native/fxt" make "$data/fxt-10000.tsv" "$data/fxt-10000" >/dev/null
"$native/fxt" dump --ansi "$data/fxt-10000" >"$data/fxt-10000-ansi.tsv"
# The same tables but for the first key's texts, each with a "!" more: a
# make from one to the other replaces all four files.
for table in fxt-10000 fxt-10000-ansi; do
    awk -F '\t' -v OFS='\t' 'NR == 2 { for (i = 2; i <= 5; ++i) if ($i != "\\N") $i = $i "!" } { print }' \
        "$data/$table.tsv" >"$data/$table-other.tsv"
done
"$native/fxt" po Italian "$data/fxt-10000" >"$data/fxt-10000.po"
# A fan translation's folder, its Italian not the Italian it replaced
# (ITALIAN.FXT.bak): its PO file holds translations.
rm -rf "${data:?}/fxt-10000-fan"
cp -r "$data/fxt-10000" "$data/fxt-10000-fan"
awk -F '\t' -v OFS='\t' 'NR > 1 && $5 != "\\N" { $5 = $5 "!" } { print }' "$data/fxt-10000.tsv" >"$data/fxt-10000-fan.tsv"
"$native/fxt" make "$data/fxt-10000-fan.tsv" "$data/fxt-10000-fan" >/dev/null
"$native/fxt" po --codepage 1250 Italian "$data/fxt-10000-fan" >"$data/fxt-10000-1250.po"
for po in fxt-10000 fxt-10000-1250; do
    sed '0,/^msgstr "[^"]/s/^msgstr "/msgstr "!/' "$data/$po.po" >"$data/$po-other.po"
done
# Each run makes the other table, or PO file, than the run before.
make_both() {
    if [ -e "$data/other" ]; then rm "$data/other"; set -- "$1" "$2" "$3"; else touch "$data/other"; set -- "$1" "${2%.*}-other.${2##*.}" "$3"; fi
    "$native/fxt" make $1 "$2" "$3"
}
rm -f "$data/other"
echo "  table: $(wc -c <"$data/fxt-10000.tsv") bytes in UTF-8, $(wc -c <"$data/fxt-10000-ansi.tsv") with --ansi"
printf '  %-34s' "dump (UTF-8)"; time_runs "$native/fxt" dump "$data/fxt-10000"
printf '  %-34s' "dump --ansi"; time_runs "$native/fxt" dump --ansi "$data/fxt-10000"
printf '  %-34s' "make (UTF-8), four files replaced"; time_runs make_both "" "$data/fxt-10000.tsv" "$data/fxt-10000"
printf '  %-34s' "make --ansi, four files replaced"; time_runs make_both --ansi "$data/fxt-10000-ansi.tsv" "$data/fxt-10000"
"$native/fxt" make "$data/fxt-10000.tsv" "$data/fxt-10000" >/dev/null
printf '  %-34s' "make, nothing changed"; time_runs "$native/fxt" make "$data/fxt-10000.tsv" "$data/fxt-10000"
printf '  %-34s' "po Italian"; time_runs "$native/fxt" po Italian "$data/fxt-10000"
printf '  %-34s' "po --codepage 1250 Italian"; time_runs "$native/fxt" po --codepage 1250 Italian "$data/fxt-10000-fan"
rm -f "$data/other"
printf '  %-34s' "make --po, ITALIAN.FXT replaced"; time_runs make_both "--po Italian" "$data/fxt-10000.po" "$data/fxt-10000"
# The file of 1250 records its code page, which make --po takes.
rm -f "$data/other"
"$native/fxt" make "$data/fxt-10000.tsv" "$data/fxt-10000" >/dev/null
printf '  %-34s' "make --po 1250, ITALIAN replaced"
time_runs make_both "--po Italian" "$data/fxt-10000-1250.po" "$data/fxt-10000"
echo
printf 'key\tEnglish\tFrench\tGerman\tItalian\nONLY\tOne\tUn\tEins\tUno\n' >"$data/one.tsv"
for keys in 2500 50000; do "$native/make_realistic_table" $keys >"$data/realistic-$keys.tsv"; done
for set in one realistic-2500 realistic-50000; do
    rm -rf "${data:?}/$set"
    "$native/fxt" make "$data/$set.tsv" "$data/$set" >/dev/null
    mkdir -p "$data/$set-work"
done
. "$top/tests/e2e/wine_env.sh"
for set in one realistic-2500 realistic-50000; do
    printf '[GTA]\r\nGTAPath=%s\\\r\n' "$(windows_path "$data/$set")" >"$data/$set-work/Parlyte.ini"
done
keys_of() { "$native/fxt" dump "$data/$1" | tail -n +2 | wc -l; }

"$top/tests/e2e/start_display.sh" "$E2E_ROOT" >/dev/null
trap '"$top/tests/e2e/stop_display.sh" "$E2E_ROOT"' EXIT
. "$top/tests/e2e/wine_env.sh"

echo "Key comparison in FindTextEntry under Wine, loading the realistic set ($runs runs each)"
exact=$("$WINE" "$win64/bench/wine/load_timing_exact.exe" "$(windows_path "$data/realistic-2500")" "$runs")
system=$("$WINE" "$win64/bench/wine/load_timing_lstrcmp.exe" "$(windows_path "$data/realistic-2500")" "$runs")
echo "  exact bytes:     $exact"
echo "  system lstrcmpA: $system"
median() { echo "$1" | sed -n 's/^[0-9]* keys: \([0-9.]*\) ms.*/\1/p'; }
echo "  lstrcmpA / exact: $(echo "$(median "$system") $(median "$exact")" | awk '{printf "%.1fx", $1 / $2}')"
echo

builds="win32 win64"
can_run_32bit || { builds=win64; echo "(no start-up of the 32-bit release: $no_32bit_reason)"; }
for build in $builds; do
    "$WINE" "$win64/bench/wine/ui_bench.exe" startup "$(windows_path "$top/build/$build/Parlyte.exe")" "$startup_runs" \
        "one key" "$(windows_path "$data/one-work")" "$(keys_of one)" \
        "realistic set" "$(windows_path "$data/realistic-2500-work")" "$(keys_of realistic-2500)" | grep -v '^ok '
    echo
done

for set in one realistic-50000; do "$native/fxt" dump --ansi "$data/$set" >"$data/$set-dump.tsv"; done
"$WINE" "$win64/bench/wine/ui_bench.exe" interaction "$(windows_path "$win64/Parlyte.exe")" \
    "$(windows_path "$data/realistic-50000-work")" "$(windows_path "$data/realistic-50000")" \
    "$(windows_path "$data/realistic-50000-dump.tsv")" "$runs" | grep -v '^ok '

# The release's search through every key, and the same Find Next on one key:
# the difference is the search itself, the rest the box's own cost.
release=win32
can_run_32bit || release=win64
echo
echo "Find Next for a text no key holds, under Wine ($release/Parlyte.exe, $runs runs each)"
for set in one realistic-50000; do
    "$WINE" "$win64/bench/wine/ui_bench.exe" find "$(windows_path "$top/build/$release/Parlyte.exe")" \
        "$(windows_path "$data/$set-work")" "$(windows_path "$data/$set")" "$(windows_path "$data/$set-dump.tsv")" \
        "$runs" | grep -v '^ok '
done
