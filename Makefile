# Snugbox: `make run` plays, `make test` checks. Both install what is missing first.
JOBS        ?= $(shell nproc)
RELEASE_DIR := build/release
TEST_DIR    := build/test
SANITIZE_DIR:= build/sanitize
BENCH_DIR   := build/bench
DEPS        := ./scripts/install-deps.sh

.PHONY: run test bench data deps build clean

deps:
	@$(DEPS) run

build: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	./$(RELEASE_DIR)/bin/snugbox

test:
	@$(DEPS) test
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_TESTS=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_TESTS=ON \
	      -DSNUGBOX_RULES_ONLY=ON -DSNUGBOX_SANITIZE=ON
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

bench:
	@$(DEPS) bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DSNUGBOX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target snugbox_bench
	cd $(BENCH_DIR) && QT_QPA_PLATFORM=offscreen ./tests/bench/snugbox_bench

# Regenerates the shipped data files in data/ from the generators in tools/.
data: build
	./$(RELEASE_DIR)/tools/snugbox_generate data

clean:
	rm -rf build
