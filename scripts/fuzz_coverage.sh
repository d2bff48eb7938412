#!/bin/sh
# Line coverage that the fuzzers' corpora reach in the code they exercise:
# builds the fuzzers with clang's coverage instrumentation, replays each
# corpus once and prints llvm-cov's report. Run after make fuzz.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$top/build/fuzz-coverage
corpora=$top/build/native/fuzz
cmake -S "$top" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DPARLYTE_SANITIZE=OFF \
    -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" >/dev/null
cmake --build "$build" -j "$(nproc)" --target load_fuzzer table_fuzzer >/dev/null
for target in load_fuzzer table_fuzzer; do
    LLVM_PROFILE_FILE="$build/$target.profraw" "$build/tests/fuzz/$target" -runs=0 \
        "$corpora/$target/corpus" "$corpora/$target/seeds" "$top/tests/fuzz/regressions/$target" >/dev/null 2>&1
    llvm-profdata merge -o "$build/$target.profdata" "$build/$target.profraw"
done
echo "== load_fuzzer: the text store"
llvm-cov report "$build/tests/fuzz/load_fuzzer" -instr-profile="$build/load_fuzzer.profdata" "$top/text"
echo "== table_fuzzer: fxt's table reader and encoder"
llvm-cov report "$build/tests/fuzz/table_fuzzer" -instr-profile="$build/table_fuzzer.profdata" "$top/tools/fxt"
