#!/usr/bin/env bash
# Installs what is missing, builds Sowrow and runs every test headless: the
# plain build, then again under AddressSanitizer with UndefinedBehaviorSanitizer,
# the connection tests under ThreadSanitizer, and the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
fuzz_seconds=${SOWROW_FUZZ_SECONDS:-60}

# Tests need no sound card and no GPU, and Mesa's software renderer should
# not take every core while it draws. The end-to-end tests start
# X servers of their own, on free displays from $SOWROW_TEST_DISPLAY on.
export ALSOFT_DRIVERS=null
export LP_NUM_THREADS=1
export LIBGL_ALWAYS_SOFTWARE=1

build_and_test() {
  local dir=$1
  shift
  cmake -S . -B "$dir" "$@" > /dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -j "$jobs")
}

# The end-to-end tests of the plain build keep a screenshot of every screen
# they pass through.
echo "== plain build"
artefacts="$PWD/build/artefacts"
rm -rf "$artefacts"
SOWROW_ARTEFACTS="$artefacts" build_and_test build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "screenshots of the end-to-end tests: $artefacts"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
build_and_test build/asan -DCMAKE_BUILD_TYPE=Debug -DSOWROW_SANITIZE=address -DSOWROW_BENCHMARKS=OFF

echo "== ThreadSanitizer, connection tests"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Debug -DSOWROW_SANITIZE=thread -DSOWROW_BENCHMARKS=OFF > /dev/null
if compgen -G "tests/connection/*_test.cpp" > /dev/null; then
  cmake --build build/tsan -j "$jobs" --target sowrow_connection_tests
  (cd build/tsan && ctest --output-on-failure -R '^connection_')
fi

echo "== fuzzers, ${fuzz_seconds} s each"
CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSOWROW_FUZZERS=ON \
  -DSOWROW_TESTS=OFF -DSOWROW_BENCHMARKS=OFF > /dev/null
cmake --build build/fuzz -j "$jobs" --target fuzzers
for fuzzer in build/fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  corpus="build/fuzz/corpus/$(basename "$fuzzer")"
  mkdir -p "$corpus"
  "$fuzzer" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" \
    "fuzz/seeds/$(basename "$fuzzer")" 2>&1 | tail -n 3
done

echo "== all tests passed"
