# Snugbox: `make run` plays, `make test` checks. Both install what is missing first.
JOBS        ?= $(shell nproc)
PREFIX      ?= /usr/local
FUZZ_SECONDS?= 300
RELEASE_DIR := build/release
TEST_DIR    := build/test
SANITIZE_DIR:= build/sanitize
BENCH_DIR   := build/bench
DEPS        := ./scripts/install-deps.sh

.PHONY: run test bench fuzz data deps build install uninstall package clean

deps:
	@$(DEPS) run

build: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(RELEASE_DIR) -j $(JOBS)

run: build
	./$(RELEASE_DIR)/bin/snugbox

# Every test twice: in a plain build, then the whole program again under AddressSanitizer
# and UndefinedBehaviorSanitizer (every library, the widget tests and the end-to-end runs of
# the sanitized snugbox).
test:
	@$(DEPS) test
	cmake -S . -B $(TEST_DIR) -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_TESTS=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	cd $(TEST_DIR) && ctest --output-on-failure -j $(JOBS)
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DSNUGBOX_TESTS=ON -DSNUGBOX_SANITIZE=ON \
	      -DSNUGBOX_RULES_ONLY=OFF
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	cd $(SANITIZE_DIR) && ctest --output-on-failure -j $(JOBS)

bench:
	@$(DEPS) bench
	cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release -DSNUGBOX_BENCH=ON
	cmake --build $(BENCH_DIR) -j $(JOBS) --target snugbox_bench snugbox snugbox_bare_window snugbox_startup_bench
	cd $(BENCH_DIR) && QT_QPA_PLATFORM=offscreen ./tests/bench/snugbox_bench
	cd $(BENCH_DIR) && ./tests/bench/startup/snugbox_startup_bench bin/snugbox tests/bench/startup/snugbox_bare_window

# Fuzzes the catalogue, picture and store readers for FUZZ_SECONDS each (clang, in build/fuzz).
fuzz:
	@$(DEPS) fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) JOBS=$(JOBS) ./scripts/fuzz.sh

# Regenerates the shipped data files in data/ from the generators in tools/.
data: build
	./$(RELEASE_DIR)/tools/snugbox_generate data

# Installs the release build below PREFIX; DESTDIR puts the tree below another root, as
# packagers do. The list of what went where stays in build/release for `make uninstall`.
# As root (sudo make install) it installs the last `make build` as it is, so that no file in
# the build tree comes to belong to root; it builds only when there is nothing to install.
install:
	@if [ "$$(id -u)" -ne 0 ] || [ ! -x $(RELEASE_DIR)/bin/snugbox ]; then $(MAKE) --no-print-directory build; fi
	DESTDIR="$(DESTDIR)" cmake --install $(RELEASE_DIR) --prefix "$(PREFIX)" --strip

# Removes what the last `make install` installed, then the game's own directories if empty.
uninstall:
	@manifest=$(RELEASE_DIR)/install_manifest.txt; \
	test -f $$manifest || { echo "$$manifest is missing: nothing to uninstall"; exit 1; }; \
	while IFS= read -r file || [ -n "$$file" ]; do rm -fv -- "$(DESTDIR)$$file"; done <$$manifest; \
	grep -E '/snugbox/(snugbox|copyright)$$' $$manifest | while IFS= read -r file; do \
	    rmdir -v -- "$(DESTDIR)$${file%/*}" || true; done; \
	rm $$manifest

# The Debian package snugbox_<version>_<arch>.deb, made from the release build, left here.
package:
	@$(DEPS) package
	@$(MAKE) --no-print-directory build
	rm -rf $(RELEASE_DIR)/package
	cd $(RELEASE_DIR) && cpack -B package
	mv $(RELEASE_DIR)/package/snugbox_*.deb .

clean:
	rm -rf build
