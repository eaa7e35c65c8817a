# The two commands of the README. Both install what is missing first.
#   make demo   builds the tav tool and runs it on the bundled example: solver
#               inputs, archive, analysis and a summary of the results
#   make test   checks the formatting of every source and the layering of
#               the library's folders, then builds and runs
#               every test suite, in a release build and under
#               AddressSanitizer and UndefinedBehaviorSanitizer, and the
#               threaded suites once more under ThreadSanitizer
#   make fuzz   builds the fuzz targets with clang and libFuzzer and fuzzes
#               each for FUZZ_SECONDS (fuzz/README.md)
#   make coverage  line coverage of src/ and apps/ by every test
#               (scripts/coverage.sh, in build/coverage)

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE_DIR := build/release
SANITIZE_DIR := build/sanitize
THREAD_DIR := build/thread
# The suites that run threads, built a third time under ThreadSanitizer.
THREAD_SUITES := tav_platform_tests tav_solver_tests tav_apps_tests tav_test_child tav_tool_window_tests tav_qt_tests

.PHONY: bench coverage all deps format-check layer-check configure-release configure-sanitize configure-thread configure-fuzz demo fuzz test test-release test-sanitize test-thread format clean

all: test

deps:
	@./scripts/install-deps.sh

# Configuring is cheap when nothing changed, so every run configures.
configure-release: deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null

configure-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DTAV_SANITIZE=ON -DTAV_BUILD_EXAMPLES=OFF >/dev/null

configure-thread: deps
	cmake -S . -B $(THREAD_DIR) -DCMAKE_BUILD_TYPE=Debug -DTAV_SANITIZE_THREAD=ON -DTAV_BUILD_EXAMPLES=OFF >/dev/null

demo: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target tav_tool
	cd $(RELEASE_DIR) && ./bin/tav demo

test: format-check layer-check test-release test-sanitize test-thread

# No folder of the library includes one above it (scripts/check-layers.sh).
layer-check:
	./scripts/check-layers.sh

# Every C++ source of the tree as .clang-format lays it out.
SOURCES = find src tests examples apps bench fuzz \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null

format-check: deps
	$(SOURCES) | xargs -r clang-format --dry-run -Werror

test-release: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	ctest --test-dir $(RELEASE_DIR) --output-on-failure -j $(JOBS)

test-sanitize: configure-sanitize
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

test-thread: configure-thread
	cmake --build $(THREAD_DIR) -j $(JOBS) --target $(THREAD_SUITES)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
	  ctest --test-dir $(THREAD_DIR) --output-on-failure -j $(JOBS) -L 'threads$$'

# Fuzzing: every reader of outside data under libFuzzer, ASan and UBSan.
FUZZ_DIR := build/fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := import_tav_output import_sap_output import_modes model_archive model_json analysis_input import_responses

configure-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_FUZZ=ON \
	  -DTAV_BUILD_TESTS=OFF -DTAV_BUILD_EXAMPLES=OFF >/dev/null

fuzz: configure-fuzz
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	./fuzz/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

coverage: deps
	JOBS=$(JOBS) ./scripts/coverage.sh build/coverage

bench: configure-release
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target tav_frame_bench
	$(RELEASE_DIR)/bench/tav_frame_bench
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target tav_writers_bench tav_results_bench tav_runs_bench
	$(RELEASE_DIR)/bench/tav_writers_bench
	$(RELEASE_DIR)/bench/tav_results_bench
	$(RELEASE_DIR)/bench/tav_runs_bench

format:
	$(SOURCES) | xargs -r clang-format -i

clean:
	rm -rf build
