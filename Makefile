# Lumora: `make run` starts the program, `make test` builds and runs every test.
BUILD      ?= build
TEST_BUILD ?= build-test
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: deps build run test bench fuzz clean windows windows-check

deps:
	tools/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMORA_TESTS=OFF
	cmake --build $(BUILD) -j $(JOBS)

run: build
	cd $(BUILD)/bin && ./lumora

# The test build runs under AddressSanitizer and UndefinedBehaviorSanitizer.
test: deps
	cmake -S . -B $(TEST_BUILD) -DCMAKE_BUILD_TYPE=Debug -DLUMORA_SANITIZE=ON -DLUMORA_TESTS=ON
	cmake --build $(TEST_BUILD) -j $(JOBS)
	cd $(TEST_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 600

bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DLUMORA_TESTS=OFF -DLUMORA_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	bench/run-benchmarks.sh $(BENCH_BUILD)

fuzz: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMORA_TESTS=OFF -DLUMORA_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The Windows program folder, cross-built with a toolchain from Debian's packages (cached in
# ~/.cache/lumora-windows; the first run takes an hour or more). Not part of `make test`.
windows:
	tools/windows/build-lumora.sh

windows-check:
	tools/windows/build-lumora.sh --tests
	tools/windows/check.sh

clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
