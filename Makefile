# The two commands of the README: make run, make test. Everything else serves them.
BUILD      ?= build
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
FUZZ_SECONDS ?= 30

# Targets rebuilt with AddressSanitizer+UBSan (readers of outside bytes) and ThreadSanitizer (the link threads).
ASAN_TARGETS ?= os_tests settings_tests fuzz_impet mapeditor_tests fuzz_clip_paste fuzz_settings_reader fuzz_diffreport
TSAN_TARGETS ?=
# Fuzz targets run for FUZZ_SECONDS each under clang's libFuzzer.
FUZZ_TARGETS ?= fuzz_impet fuzz_clip_paste fuzz_settings_reader fuzz_diffreport
# The link: its readers under ASan and fuzzing, its threads under TSan (on their own lines, so that other
# folders can add theirs above without conflicts).
ASAN_TARGETS += link_tests link_pty_tests fuzz_frames
TSAN_TARGETS += link_tests link_pty_tests
TSAN_TARGETS += shell_pty_tests
# The map editor control against hostile shapes and clipboard texts.
ASAN_TARGETS += mapeditor_gui_tests
FUZZ_TARGETS += fuzz_frames
# The simulated unit's program: its command-line tests run in every stage.
ASAN_TARGETS += kelvora-unitsim
TSAN_TARGETS += kelvora-unitsim
# The list classes: each object deleted once.
ASAN_TARGETS += shell_list_tests
# The live recording's reader.
ASAN_TARGETS += fuzz_ignlog
FUZZ_TARGETS += fuzz_ignlog
# The settings pages: bindings index the image, the lambda scale its colour table.
ASAN_TARGETS += pages_tests
# The pickup sample path: blocks from the unit into the ring and its analysis; the monitor-set file reader and
# the pictures it holds.
ASAN_TARGETS += monitors_tests
ASAN_TARGETS += fuzz_monset
FUZZ_TARGETS += fuzz_monset

export QT_QPA_PLATFORM ?= offscreen
export CTEST_OUTPUT_ON_FAILURE = 1

.PHONY: all deps build run test unit-tests asan tsan fuzz clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DKELVORA_WERROR=ON $(CMAKE_ARGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

run: build
	env -u QT_QPA_PLATFORM ./$(BUILD)/kelvora

unit-tests: build
	ctest --test-dir $(BUILD) -j $(JOBS) --timeout 300

test: unit-tests asan tsan fuzz
	@echo "make test: all tests passed"

asan: deps
	@if [ -n "$(strip $(ASAN_TARGETS))" ]; then \
	  cmake -S . -B build-asan -G Ninja -DKELVORA_WERROR=ON -DKELVORA_SANITIZE=address -DCMAKE_BUILD_TYPE=Debug >/dev/null && \
	  cmake --build build-asan -j $(JOBS) --target $(ASAN_TARGETS) && \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build-asan -j $(JOBS) -E '_NOT_BUILT' --timeout 600 --no-tests=error; fi

tsan: deps
	@if [ -n "$(strip $(TSAN_TARGETS))" ]; then \
	  cmake -S . -B build-tsan -G Ninja -DKELVORA_WERROR=ON -DKELVORA_SANITIZE=thread -DCMAKE_BUILD_TYPE=Debug >/dev/null && \
	  cmake --build build-tsan -j $(JOBS) --target $(TSAN_TARGETS) && \
	  TSAN_OPTIONS=halt_on_error=1 \
	  ctest --test-dir build-tsan -j $(JOBS) -E '_NOT_BUILT|_replay' --timeout 600 --no-tests=error; fi

fuzz: deps
	@if [ -n "$(strip $(FUZZ_TARGETS))" ]; then \
	  CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKELVORA_FUZZ=ON -DKELVORA_SANITIZE=address -DCMAKE_BUILD_TYPE=Debug >/dev/null && \
	  cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS) && \
	  for t in $(FUZZ_TARGETS); do \
	    mkdir -p build-fuzz/corpus/$$t && \
	    ./build-fuzz/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
	      build-fuzz/corpus/$$t tests/fuzz/corpus/$$t 2>build-fuzz/$$t.log || { tail -50 build-fuzz/$$t.log; exit 1; }; \
	    echo "fuzz $$t: $$(grep -c . build-fuzz/$$t.log) log lines, no crash"; \
	  done; fi

clean:
	rm -rf $(BUILD) build-asan build-tsan build-fuzz
