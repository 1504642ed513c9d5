# Quick start: `make run` opens the window, `make test` runs the whole suite.
# Both install the system packages first (scripts/install-deps).

MAKEFLAGS += --no-print-directory

BUILD_DIR ?= build
JOBS      ?= 2
# The working directory the window runs in: its list files and settings live there.
WORKDIR   ?= $(CURDIR)
CMAKE_ARGS ?=
# The fuzz targets: their own build with clang, and seconds per target.
FUZZ_DIR     ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 5

.PHONY: all deps configure build run test bench tsan fuzz fuzz-build screenshot deb format clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DSHOP_WERROR=ON $(CMAKE_ARGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "make run: no display (DISPLAY unset): run it from a desktop session, or try: xvfb-run make run"; \
	  exit 1; \
	fi
	@cd "$(WORKDIR)" && "$(CURDIR)/$(BUILD_DIR)/src/shopkeeper"

# The suite, every benchmark program once in its quick mode, and a few seconds of
# every fuzz target.
test: build fuzz-build
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS)
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: build
	@scripts/run-benchmarks $(BUILD_DIR)

# The worker pool, the ranking run and the page fetch under ThreadSanitizer.
tsan: deps
	@cmake -S . -B build-tsan -DSHOP_TSAN=ON -DSHOP_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build build-tsan -j$(JOBS)
	@cd build-tsan && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/scripts/tsan-suppressions.txt" \
	  ctest --output-on-failure -R 'worker_pool|ranking|page_fetch'

# Every fuzz target for FUZZ_SECONDS (default 60) each.
fuzz: fuzz-build
	@scripts/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-build: deps
	@cmake -S . -B $(FUZZ_DIR) -DSHOP_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	@cmake --build $(FUZZ_DIR) -j$(JOBS)

# A picture of the window under Xvfb, for the README.
screenshot: build
	@scripts/screenshot $(BUILD_DIR) docs/window.png

# The Debian package, from the normal build: $(BUILD_DIR)/shopkeeper_<version>_amd64.deb
deb: build
	@cd $(BUILD_DIR) && cpack -G DEB
	@ls $(BUILD_DIR)/shopkeeper_*.deb

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) build-tsan $(FUZZ_DIR)
