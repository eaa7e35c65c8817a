# The two commands of the README. Both install what is missing first.
#   make demo   builds and runs the example host, printing the solver input it writes
#   make test   builds and runs every test suite, in a release build and under
#               AddressSanitizer and UndefinedBehaviorSanitizer

JOBS ?= $(shell nproc 2>/dev/null || echo 2)
RELEASE_DIR := build/release
SANITIZE_DIR := build/sanitize

.PHONY: all deps demo test test-release test-sanitize format clean

all: test

deps:
	@./scripts/install-deps.sh

$(RELEASE_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(RELEASE_DIR) -DCMAKE_BUILD_TYPE=Release

$(SANITIZE_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=Debug -DTAV_SANITIZE=ON -DTAV_BUILD_EXAMPLES=OFF

demo: deps $(RELEASE_DIR)/CMakeCache.txt
	cmake --build $(RELEASE_DIR) -j $(JOBS) --target tav_demo
	cd $(RELEASE_DIR)/examples && ./tav_demo

test: test-release test-sanitize

test-release: deps $(RELEASE_DIR)/CMakeCache.txt
	cmake --build $(RELEASE_DIR) -j $(JOBS)
	ctest --test-dir $(RELEASE_DIR) --output-on-failure -j $(JOBS)

test-sanitize: deps $(SANITIZE_DIR)/CMakeCache.txt
	cmake --build $(SANITIZE_DIR) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)

format:
	find src tests examples \( -name '*.cpp' -o -name '*.h' \) | xargs -r clang-format -i

clean:
	rm -rf build
