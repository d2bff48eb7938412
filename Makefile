# make test   installs what is missing, builds everything under build/ and runs every test
# make fuzz   runs the loader's fuzzer for FUZZ_SECONDS (default 600)
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 600
NATIVE := build/native

.PHONY: all deps native test fuzz clean

all: native

deps:
	@scripts/install-packages.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(NATIVE) -j $(JOBS)

test: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

fuzz: native
	ctest --test-dir $(NATIVE) -R fuzz_seed_corpus --output-on-failure
	$(NATIVE)/tests/fuzz/load_fuzzer -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
		$(NATIVE)/fuzz/corpus $(NATIVE)/fuzz/seeds tests/fuzz/regressions

clean:
	rm -rf build
