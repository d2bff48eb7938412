#!/bin/sh
# make_seed_corpus.sh FXT MAKE_REALISTIC_TABLE OUT SOURCE: seeds for the fuzzers. For the loader
# (OUT/load_fuzzer/seeds): game folders written by fxt from small tables,
# each turned into one input (the four files joined by "|FXT|"), and a few
# raw inputs at the decoder's edges. For the table reader
# (OUT/table_fuzzer/seeds): those tables, in UTF-8 or in the files' own
# bytes, the project's own, and PO files of them. For the search (OUT/search_fuzzer/seeds):
# the game folders with a text to look for, forwards and backwards.
set -eu
fxt=$1
realistic=$2
out=$3/load_fuzzer/seeds
tables=$3/table_fuzzer/seeds
searches=$3/search_fuzzer/seeds
source=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$tables" "$searches"

TAB=$(printf '\t')
# seed_from_table NAME TABLE [--ansi]: TABLE is UTF-8, or with --ansi the
# files' own bytes.
seed_from_table() {
    name=$1
    printf '%s' "$2" >"$tables/$name"
    cp "$tables/$name" "$work/$name.tsv"
    "$fxt" make ${3:-} "$work/$name.tsv" "$work/$name" >/dev/null
    data="$work/$name/GTADATA"
    {
        cat "$data/ENGLISH.FXT"; printf '|FXT|'
        cat "$data/FRENCH.FXT"; printf '|FXT|'
        cat "$data/GERMAN.FXT"; printf '|FXT|'
        cat "$data/ITALIAN.FXT"
    } >"$out/$name"
    "$fxt" po Italian "$work/$name" >"$tables/$name.po" 2>/dev/null
    # Choices (case, direction), the selected key, the text's length, the text.
    { printf '\000\001\002ar'; cat "$out/$name"; } >"$searches/$name-forwards"
    { printf '\003\000\001\351'; cat "$out/$name"; } >"$searches/$name-backwards"
}

header="key${TAB}English${TAB}French${TAB}German${TAB}Italian
"
seed_from_table plain "${header}HELLO${TAB}Hello${TAB}Bonjour${TAB}Hallo${TAB}Ciao
BYE${TAB}Bye${TAB}Au revoir${TAB}\\N${TAB}Arrivederci
"
seed_from_table escapes "${header}K1${TAB}line\\none\\n${TAB}caf$(printf '\351')${TAB}$(printf '\303\376')${TAB}
[K${TAB}a]b${TAB}\\N${TAB}\\N${TAB}\\N
${TAB}empty key${TAB}\\N${TAB}\\N${TAB}\\N
FR${TAB}\\N${TAB}only french${TAB}\\N${TAB}\\N
IT${TAB}\\N${TAB}\\N${TAB}\\N${TAB}only italian
" --ansi
long=$(head -c 400 /dev/zero | tr '\0' 'x')
seed_from_table long "${header}${long}${TAB}${long}${long}${TAB}\\N${TAB}\\N${TAB}\\N
"

# Files of more than one 32768-byte block.
seed_from_table realistic "$("$realistic" 300 5)
"

printf '' >"$out/empty"
printf '\071\324\022\240\123\360\011\203\304' >"$out/escape-at-end"
printf '\224\324\022\240\123\360\011\203\377\000' >"$out/mark-and-end"
cp "$source/tests/data/small.tsv" "$tables/small"
cp "$source/demo/demo_texts.tsv" "$tables/demo"
