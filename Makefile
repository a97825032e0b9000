# Snugbox: `make run` plays, `make test` checks. Both install what is missing first.
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 300
RELEASE_DIR := build/release
TEST_DIR    := build/test
SANITIZE_DIR:= build/sanitize
BENCH_DIR   := build/bench

.PHONY: run test bench fuzz data deps build clean

deps:
	@./scripts/install-deps.sh

build: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	./$(RELEASE_DIR)/bin/snugbox

test: deps
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_TESTS=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_TESTS=ON \
	      -DSNUGBOX_RULES_ONLY=ON -DSNUGBOX_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DSNUGBOX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target snugbox_bench
	cd $(BENCH_DIR) && QT_QPA_PLATFORM=offscreen ./tests/bench/snugbox_bench

# Fuzzes the catalogue, picture and store readers for FUZZ_SECONDS each (clang, in build/fuzz).
fuzz:
	@./scripts/install-deps.sh fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) ./scripts/fuzz.sh

# Regenerates the shipped data files in data/ from the generators in tools/.
data: build
	./$(RELEASE_DIR)/tools/snugbox_generate data

clean:
	rm -rf build
