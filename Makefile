# The two set-up commands of the README. Each installs what is missing, configures and builds.
JOBS ?= $(shell nproc)
BUILD_DIR ?= build
TEST_BUILD_DIR ?= build-test
BENCH_BUILD_DIR ?= build-bench
FUZZ_BUILD_DIR ?= build-fuzz
FUZZ_RUNS ?= 1000000
FUZZ_TARGETS ?= layer_lists picture_names picture_files

.PHONY: all deps build run test probe bench fuzz clean

all: build

deps:
	./scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/bin/tqwall $(ARGS)

# The test build runs under AddressSanitizer and UndefinedBehaviorSanitizer, on an SQLite library
# and then once more on a throwaway PostgreSQL server.
test: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DTQWALL_SANITIZE=ON -DTQWALL_WERROR=ON -DTQWALL_BUILD_TESTS=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	./scripts/test-postgres.sh $(TEST_BUILD_DIR)

# Two processes adding to one library at once, on SQLite and on PostgreSQL (a few minutes).
probe: deps
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DTQWALL_SANITIZE=ON -DTQWALL_WERROR=ON -DTQWALL_BUILD_TESTS=ON
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS) --target tqwall_probe
	./scripts/probe-two-writers.sh $(TEST_BUILD_DIR)

bench: deps
	cmake -S . -B $(BENCH_BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DTQWALL_BUILD_BENCH=ON
	cmake --build $(BENCH_BUILD_DIR) -j $(JOBS)
	./$(BENCH_BUILD_DIR)/bin/tqwall_bench
	./scripts/bench-library.sh $(BENCH_BUILD_DIR)

# libFuzzer targets (clang, AddressSanitizer, UBSan), each run for FUZZ_RUNS inputs from its committed
# seeds (about an hour each for a million on two cores); not part of test.
fuzz:
	./scripts/install-deps.sh --fuzz
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTQWALL_BUILD_FUZZ=ON
	cmake --build $(FUZZ_BUILD_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	./scripts/run-fuzz.sh $(FUZZ_BUILD_DIR) $(FUZZ_RUNS) $(FUZZ_TARGETS)

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(BENCH_BUILD_DIR) $(FUZZ_BUILD_DIR)
