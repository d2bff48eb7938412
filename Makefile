# make         builds Parlyte.exe and fxt.exe (32- and 64-bit) and the Linux fxt
# make run     shows Parlyte on demo texts under Wine
# make test    builds the tests too and runs them all
# make bench   prints the benchmarks' figures (RUNS=5 runs each, STARTUP_RUNS=21 of start-up)
# make release writes build/release/Parlyte-VERSION.zip and SHA256SUMS
# make fuzz    runs each fuzzer for FUZZ_SECONDS (default 600)
# Each first installs the Debian packages it needs that are missing
# (scripts/install-packages.sh), as root or through sudo.
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600
NATIVE := build/native
WIN32 := build/win32
WIN64 := build/win64

# What a target needs installed, and whether the builds hold the tests'
# programs; a target's prerequisites take its values.
PACKAGES = build
TESTS = OFF
run: PACKAGES = run
run bench: TESTS = ON
test fuzz: PACKAGES = test
test fuzz: TESTS = ON

.PHONY: all packages native windows win32 win64 run test bench fuzz release clean

all: windows native

packages:
	@scripts/install-packages.sh $(PACKAGES)

windows: win32 win64

win32: packages
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
		-DPARLYTE_TESTS=$(TESTS)
	cmake --build $(WIN32) -j $(JOBS)

win64: packages
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
		-DPARLYTE_TESTS=$(TESTS)
	cmake --build $(WIN64) -j $(JOBS)

native: packages
	cmake -S . -B $(NATIVE) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DPARLYTE_TESTS=$(TESTS) \
		-DPARLYTE_WIN32_DIR=$(CURDIR)/$(WIN32) -DPARLYTE_WIN64_DIR=$(CURDIR)/$(WIN64)
	cmake --build $(NATIVE) -j $(JOBS)

run: windows native
	scripts/run_demo.sh

# CTest does not show why a test was skipped; the tests say it in their output.
test: windows native
	status=0; ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS) || status=$$?; \
	grep -h '^skipped: ' $(NATIVE)/Testing/Temporary/LastTest.log | sort | uniq -c; exit $$status

bench: windows
	cmake --build $(WIN64) -j $(JOBS) --target load_timing_exact load_timing_lstrcmp ui_bench
	cmake -S . -B build/bench -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release -DPARLYTE_SANITIZE=OFF \
		-DPARLYTE_TESTS=ON
	cmake --build build/bench -j $(JOBS) --target load_bench make_realistic_table fxt
	scripts/run_bench.sh

fuzz: native
	tests/fuzz/make_seed_corpus.sh $(NATIVE)/fxt $(NATIVE)/make_realistic_table $(NATIVE)/fuzz $(CURDIR)
	for target in load_fuzzer table_fuzzer search_fuzzer; do \
		mkdir -p $(NATIVE)/fuzz/$$target/corpus; \
		$(NATIVE)/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -max_len=150000 -timeout=10 -print_final_stats=1 \
			-artifact_prefix=$(NATIVE)/fuzz/$$target/ $(NATIVE)/fuzz/$$target/corpus \
			$(NATIVE)/fuzz/$$target/seeds tests/fuzz/regressions/$$target || exit 1; \
	done

# A release is built from committed sources only, so that its commit names it.
release: win32
	@changes=$$(git status --porcelain) || { echo "make release: not a git checkout" >&2; exit 1; }; \
	[ -z "$$changes" ] || { echo "make release: the tree has uncommitted changes; commit them first:" >&2; \
	echo "$$changes" >&2; exit 1; }
	scripts/make_release.sh $(WIN32) build/release

clean:
	rm -rf build
