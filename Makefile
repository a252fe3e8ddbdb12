# Blokit: `make play` sets up, builds and starts the game; `make test` sets up,
# builds and runs the tests. Debian packages that are missing are installed
# with apt-get when run as root; otherwise the command to run is printed.

PACKAGES := g++ cmake pkg-config libsdl2-dev libx11-dev libfluidsynth-dev libjpeg62-turbo-dev \
            libgtest-dev libbenchmark-dev timgm6mb-soundfont xvfb xauth xfonts-base \
            xdotool imagemagick sox desktop-file-utils appstream man-db librsvg2-bin \
            lintian dpkg-dev file
FUZZ_PACKAGES := clang libclang-rt-14-dev
WINDOWS_PACKAGES := g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix zip icoutils
WINE_PACKAGES := wine wine64
WINDOWS_BUILD ?= build-windows
FUZZ_SECONDS ?= 120
FUZZ_CHECK_SECONDS ?= 15
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build test play install package bench measure sanitize fuzz-build fuzz \
        fuzz-long fuzz-check windows windows-check format clean

all: build

setup:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    apt-get update && DEBIAN_FRONTEND=noninteractive \
	      apt-get install -y --no-install-recommends $$missing; \
	  else \
	    echo "Blokit needs these Debian packages. Install them with:"; \
	    echo "  sudo apt-get install -y --no-install-recommends" $$missing; \
	    exit 1; \
	  fi; \
	fi

build: setup
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

play: build
	@test -x $(BUILD)/run/blokit || { echo "The game program is not built yet."; exit 1; }
	cd $(BUILD)/run && ./blokit

# The game under PREFIX (DESTDIR is honoured): the tree may be moved anywhere.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package, in $(BUILD), checked with lintian down to its pedantic
# remarks: it must have none.
package: build
	cd $(BUILD) && cpack
	lintian -i -I --pedantic --fail-on error,warning,info,pedantic $(BUILD)/blokit_*.deb

bench: build
	$(BUILD)/bench/blokit_bench

# Processor time and memory of the real program on each screen, under a
# virtual X server; MEASURE_RUNS repetitions of MEASURE_SECONDS per screen.
MEASURE_RUNS ?= 3
MEASURE_SECONDS ?= 12
measure: build
	MEASURE_SECONDS=$(MEASURE_SECONDS) bench/measure_play.sh $(BUILD)/run $(MEASURE_RUNS)

# The tests once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# stopping at the first error.
sanitize: setup
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DBLOKIT_SANITIZE=ON -DBLOKIT_BENCH=OFF
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --test-dir $(SANITIZE_BUILD) --output-on-failure -j$(JOBS)

# The fuzzing programs, under ASan and UBSan (clang).
fuzz-build:
	@$(MAKE) --no-print-directory setup PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DBLOKIT_FUZZ=ON -DBLOKIT_TESTS=OFF -DBLOKIT_BENCH=OFF
	cmake --build build-fuzz -j$(JOBS)

# Every fuzzing program for FUZZ_SECONDS, starting from its seed corpus in
# fuzz/corpus/<program>/; what it finds is kept in build-fuzz/corpus/<program>/.
fuzz: fuzz-build
	fuzz/run_fuzzers.sh $(FUZZ_SECONDS) build-fuzz/corpus

# The same for an hour each.
fuzz-long:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=3600

# A short run of each program from its seeds alone, as continuous
# integration does: a parser that has regressed is caught there.
fuzz-check: fuzz-build
	fuzz/run_fuzzers.sh $(FUZZ_CHECK_SECONDS)

# The game for 64-bit Windows, cross-compiled with mingw-w64 (libjpeg from
# Debian's source package, built the same way): dist/blokit-windows/ and its zip.
windows:
	@$(MAKE) --no-print-directory setup PACKAGES="$(PACKAGES) $(WINDOWS_PACKAGES)"
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j$(JOBS) --target blokit_data
	JOBS=$(JOBS) tools/windows/build.sh $(BUILD)/run $(WINDOWS_BUILD) dist

# The Windows build under Wine: the headless tests, then the game itself.
windows-check: windows
	@$(MAKE) --no-print-directory setup PACKAGES="$(PACKAGES) $(WINE_PACKAGES)"
	tools/windows/run_wine_tests.sh $(WINDOWS_BUILD)/game/tests/blokit_tests.exe
	tools/windows/run_wine_e2e.sh dist/blokit-windows $(WINDOWS_BUILD)/e2e_screens \
	  $(WINDOWS_BUILD)/game/tools/windows/blokit-foreground-switch.exe
	cmake --build $(BUILD) -j$(JOBS) --target blokit blokit_udp_relay
	BLOKIT_WINE_JOINER=dist/blokit-windows tests/e2e/run_network_e2e.sh $(BUILD)/run \
	  $(BUILD)/tests/blokit_udp_relay $(WINDOWS_BUILD)/e2e_screens/network

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-fuzz $(WINDOWS_BUILD) dist
