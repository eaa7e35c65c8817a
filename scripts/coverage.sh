#!/usr/bin/env bash
# Line coverage of the library and the programs (src/ and apps/) by every
# test suite:
#   scripts/coverage.sh [BUILD_DIR]      (default build/coverage)
# Builds a Debug tree instrumented with --coverage, runs every test and
# prints lcov's summary of src/ and of apps/; the report is
# BUILD_DIR/coverage.info (genhtml turns it into pages).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/coverage}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DTAV_BUILD_EXAMPLES=OFF \
  -DCMAKE_CXX_FLAGS="--coverage" -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$build" -j "$jobs"
lcov --quiet --zerocounters --directory "$build"
# The package test builds a host against the installed library, which an
# instrumented library cannot serve; it proves nothing about coverage.
ctest --test-dir "$build" -j "$jobs" --output-on-failure -E package_consumer >/dev/null
lcov --quiet --capture --directory "$build" --output-file "$build/all.info"
root=$(pwd)
lcov --quiet --extract "$build/all.info" "$root/src/*" "$root/apps/*" --output-file "$build/coverage.info"
for part in src apps; do
  lcov --quiet --extract "$build/coverage.info" "$root/$part/*" --output-file "$build/$part.info"
  echo "$part: $(lcov --summary "$build/$part.info" 2>&1 | grep -E '^ *lines')"
done
