# Blokit: `make play` sets up, builds and starts the game; `make test` sets up,
# builds and runs the tests. Debian packages that are missing are installed
# with apt-get when run as root; otherwise the command to run is printed.

PACKAGES := g++ cmake pkg-config libsdl2-dev libfluidsynth-dev libjpeg62-turbo-dev \
            libgtest-dev libbenchmark-dev timgm6mb-soundfont xvfb xauth xfonts-base \
            xdotool imagemagick sox
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_SECONDS ?= 120
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup build test play bench measure sanitize fuzz format clean

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

# Every fuzzing program for FUZZ_SECONDS under ASan and UBSan, starting from
# its seed corpus in fuzz/corpus/<program>/ when there is one.
fuzz:
	@$(MAKE) --no-print-directory setup PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DBLOKIT_FUZZ=ON -DBLOKIT_TESTS=OFF -DBLOKIT_BENCH=OFF
	cmake --build build-fuzz -j$(JOBS)
	@for program in build-fuzz/fuzz/fuzz_*; do \
	  name=$$(basename $$program); mkdir -p build-fuzz/corpus/$$name; \
	  echo "== $$name"; \
	  $$program -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    build-fuzz/corpus/$$name $$(test -d fuzz/corpus/$$name && echo fuzz/corpus/$$name) \
	    || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) build-fuzz
