#!/usr/bin/env bash
# Builds everything and runs every test: the normal build (warnings are errors), then the tests again
# under AddressSanitizer with UndefinedBehaviorSanitizer, then the threaded tests under ThreadSanitizer,
# then each fuzz target for TOLMAR_FUZZ_SECONDS seconds (scripts/fuzz.sh; default 10, 0 leaves it out).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
tolmar_need_packages $TOLMAR_BUILD_PACKAGES $TOLMAR_TEST_PACKAGES
FUZZ_SECONDS="${TOLMAR_FUZZ_SECONDS:-10}"

# No display is needed: SDL draws through EGL into an offscreen surface.
export SDL_VIDEODRIVER=offscreen
export CTEST_OUTPUT_ON_FAILURE=1

step() { echo; echo "=== $* ($(date +%T))"; }

step "build"
tolmar_configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLMAR_WERROR=ON
cmake --build "$TOLMAR_ROOT/build" -j "$TOLMAR_JOBS"
step "tests"
ctest --test-dir "$TOLMAR_ROOT/build" -j "$TOLMAR_JOBS"

# The sanitizer and fuzz builds take the game's pictures from this build: drawing them again with the
# sanitized generator takes minutes (the generator's own tests still run in every build).
export TOLMAR_ART_FROM="$TOLMAR_ROOT/build/apps/tolmar/art"

step "build with address and undefined-behaviour sanitizers"
tolmar_configure build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLMAR_WERROR=ON \
    -DTOLMAR_SANITIZE=address,undefined -DTOLMAR_BUILD_BENCH=OFF -DTOLMAR_ART_FROM="$TOLMAR_ART_FROM"
cmake --build "$TOLMAR_ROOT/build-asan" -j "$TOLMAR_JOBS"
step "tests with address and undefined-behaviour sanitizers"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$TOLMAR_ROOT/build-asan" -j "$TOLMAR_JOBS" -LE no-sanitizer

step "build with thread sanitizer"
tolmar_configure build-tsan -DCMAKE_BUILD_TYPE=Debug -DTOLMAR_WERROR=ON \
    -DTOLMAR_SANITIZE=thread -DTOLMAR_BUILD_BENCH=OFF -DTOLMAR_ART_FROM="$TOLMAR_ART_FROM"
# Only the programs whose tests run threads (label "threads") are built here.
cmake --build "$TOLMAR_ROOT/build-tsan" -j "$TOLMAR_JOBS" --target threaded_tests
step "threaded tests with thread sanitizer"
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$TOLMAR_ROOT/tests/tsan.supp \
    ctest --test-dir "$TOLMAR_ROOT/build-tsan" -j "$TOLMAR_JOBS" -L threads

if [ "$FUZZ_SECONDS" -gt 0 ]; then
    step "fuzz targets, ${FUZZ_SECONDS}s each"
    "$TOLMAR_ROOT/scripts/fuzz.sh" "$FUZZ_SECONDS"
fi

step "all tests passed"
