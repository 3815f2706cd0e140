# Vakido: `make run` to play, `make test` to run every test. See README.md.

BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
PREFIX     ?= /usr/local
JOBS       ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all deps build run test test-asan fuzz bench install package clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/vakido

# The full build's tests, then the whole game and its tests once more under
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/; its bin/vakido runs by hand
# too, with the default puzzle files copied beside it).
test: build test-asan
	cd $(BUILD) && ctest --output-on-failure

test-asan: build
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVAKIDO_SANITIZE=ON \
	  -DVAKIDO_BENCHMARKS=OFF -DVAKIDO_PUZZLE_FILES=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cp $(BUILD)/bin/*.vdb $(ASAN_BUILD)/bin/
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure

# libFuzzer over every target, FUZZ_SECONDS each (one minute unless set); new inputs land in
# $(FUZZ_BUILD)/corpus/<target>, the saved seeds are fuzz/corpus/<target>.
FUZZ_TARGETS = puzzle_reader rate_lines check_file
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVAKIDO_GUI=OFF \
	  -DVAKIDO_FUZZ=ON -DVAKIDO_BENCHMARKS=OFF -DVAKIDO_PUZZLE_FILES=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS:%=%_fuzzer)
	set -e; for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target; \
	  $(FUZZ_BUILD)/bin/$${target}_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target; \
	done

bench: build
	$(BUILD)/bin/grading_bench
	$(BUILD)/bin/solver_bench
	QT_SCALE_FACTOR=1 $(BUILD)/bin/board_bench
	QT_SCALE_FACTOR=2 $(BUILD)/bin/board_bench --benchmark_filter=DrawBoard
	$(BUILD)/bin/vakidogenerator bench

install: build
	cmake --install $(BUILD)

# The Debian package, $(BUILD)/vakido_<version>_<arch>.deb, built in $(BUILD)/package.
package: deps
	scripts/build-package $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
