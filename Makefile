# Kaleidra: set-up, build, test and run on Debian 12.
#   make run    installs what is missing, builds, and starts the program
#   make test   installs what is missing, builds, and runs every test

SHELL := /bin/bash
.DEFAULT_GOAL := build

BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_TSAN  ?= build-tsan
BUILD_FUZZ  ?= build-fuzz
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 12
GENERATOR   := -G Ninja

APT_PACKAGES := \
    build-essential cmake ninja-build pkg-config \
    clang llvm libclang-rt-14-dev clang-format clang-tidy \
    libgtest-dev libgmock-dev libbenchmark-dev \
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-tools-dev qt6-l10n-tools \
    qt6-translations-l10n libgl-dev libxkbcommon-dev libvulkan-dev fonts-dejavu-core \
    xvfb xauth

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build test run asan tsan fuzz bench format tidy clean gallery

# Installs only what is missing; refreshes apt's lists first, since a fresh
# machine may have none.
deps:
	@missing=""; \
	for p in $(APT_PACKAGES); do \
	    dpkg-query -W -f='$${Status}' "$$p" 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	    echo "Installing:$$missing"; \
	    $(SUDO) apt-get update && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The desktop program when there is a display; otherwise the preset gallery
# from the headless renderer.
run: build
	@if [ -x $(BUILD)/bin/kaleidra ] && [ -n "$${DISPLAY:-}$${WAYLAND_DISPLAY:-}" ]; then \
	    exec $(BUILD)/bin/kaleidra; \
	elif $(BUILD)/bin/kaleidra-render --help 2>/dev/null | grep -q -- '--gallery'; then \
	    $(BUILD)/bin/kaleidra-render --gallery gallery && \
	    echo "No display here: the presets were rendered into $(CURDIR)/gallery (open gallery/index.html)."; \
	else \
	    $(BUILD)/bin/kaleidra-render --list-presets; \
	fi

# The test suites once more under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(BUILD_ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKALEIDRA_ASAN=ON -DKALEIDRA_UBSAN=ON -DKALEIDRA_BENCH=OFF
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    ctest --test-dir $(BUILD_ASAN) --output-on-failure -j $(JOBS)

# The suites with threads of their own under ThreadSanitizer (TSAN_TESTS: a
# ctest regular expression; empty runs every suite). Qt's QProcess forks a
# multi-threaded test to start the program: die_after_fork=0 lets the child
# go on to its exec.
TSAN_TESTS ?=
tsan: deps
	cmake -S . -B $(BUILD_TSAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKALEIDRA_TSAN=ON -DKALEIDRA_BENCH=OFF
	cmake --build $(BUILD_TSAN) -j $(JOBS)
	TSAN_OPTIONS="halt_on_error=1 die_after_fork=0 suppressions=$(CURDIR)/tests/tsan.supp" \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	    ctest --test-dir $(BUILD_TSAN) --output-on-failure -j $(JOBS) $(if $(TSAN_TESTS),-R "$(TSAN_TESTS)")

# Replays the committed corpus, then fuzzes every target for FUZZ_SECONDS.
fuzz: deps
	CXX=clang++ cmake -S . -B $(BUILD_FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DKALEIDRA_FUZZ=ON -DKALEIDRA_ASAN=ON -DKALEIDRA_UBSAN=ON \
	    -DKALEIDRA_WITH_QT=OFF -DKALEIDRA_TESTS=OFF -DKALEIDRA_BENCH=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh $(BUILD_FUZZ)/bin

bench: build
	bench/run.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

# clang-tidy over every source folder of the program (the checks in .clang-tidy).
TIDY_FOLDERS := core surface engine render framework documents views editors app tools
tidy: configure
	git ls-files $(foreach f,$(TIDY_FOLDERS),'$(f)/*.cpp') | \
	    xargs -P $(JOBS) -n 8 clang-tidy -p $(BUILD) --quiet

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN) $(BUILD_FUZZ)
