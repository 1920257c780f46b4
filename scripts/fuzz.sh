#!/usr/bin/env bash
# scripts/fuzz.sh [SECONDS]: builds the libFuzzer targets of fuzz/ with clang, address and
# undefined-behaviour sanitizers (build-fuzz/), then runs each for SECONDS (default 20) from its
# corpus in fuzz/corpus/<target>/. Any finding (crash, sanitizer report, leak, timeout, out of
# memory) fails the run; the input that caused it is kept in build-fuzz/findings/<target>/.
# FUZZ_TARGETS="fuzz_bitmap fuzz_jpeg" runs only those. New inputs found on the way go to
# build-fuzz/new-corpus/<target>/, never into the committed corpus. TOLMAR_ART_FROM (a folder of the
# game's pictures another build drew, as test.sh sets it) spares drawing them again.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/deps.sh"
tolmar_need_packages $TOLMAR_BUILD_PACKAGES $TOLMAR_FUZZ_PACKAGES

SECONDS_EACH="${1:-20}"
BUILD="$TOLMAR_ROOT/build-fuzz"
ALL_TARGETS="fuzz_msg_decoder fuzz_config_file fuzz_bitmap fuzz_jpeg fuzz_saved_game fuzz_stream fuzz_color_scheme\
    fuzz_font fuzz_archive fuzz_piece_set fuzz_dialog"
TARGETS="${FUZZ_TARGETS:-$ALL_TARGETS}"

echo "=== fuzz build ($(date +%T))"
CC=clang-14 CXX=clang++-14 tolmar_configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLMAR_WERROR=ON \
    -DTOLMAR_FUZZ=ON -DTOLMAR_SANITIZE=address,undefined \
    -DTOLMAR_BUILD_TESTS=OFF -DTOLMAR_BUILD_BENCH=OFF -DTOLMAR_ART_FROM="${TOLMAR_ART_FROM:-}"
cmake --build "$BUILD" -j "$TOLMAR_JOBS" --target fuzz_targets

export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=""
for target in $TARGETS; do
    echo "=== $target for ${SECONDS_EACH}s ($(date +%T))"
    corpus="$TOLMAR_ROOT/fuzz/corpus/$target"
    fresh="$BUILD/new-corpus/$target"
    findings="$BUILD/findings/$target"
    mkdir -p "$fresh" "$findings"
    if ! "$BUILD/fuzz/$target" "$fresh" "$corpus" -max_total_time="$SECONDS_EACH" -timeout=10 \
            -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=70000 -print_final_stats=1 \
            -artifact_prefix="$findings/" >"$BUILD/$target.log" 2>&1; then
        tail -n 60 "$BUILD/$target.log"
        failed="$failed $target"
    fi
    grep -E "^#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec" "$BUILD/$target.log" || true
done
if [ -n "$failed" ]; then
    echo "=== fuzz findings in:$failed (inputs in $BUILD/findings/)"
    exit 1
fi
echo "=== fuzzing found nothing ($(date +%T))"
