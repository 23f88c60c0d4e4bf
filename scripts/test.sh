#!/usr/bin/env bash
# Installs what is missing, then builds and runs every check, timing each step:
#   1. the program and its tests (build/), all tests
#   2. that build installed into a scratch prefix and checked there (scripts/install-check.sh)
#   3. the same under AddressSanitizer and UBSan (build-asan/), all tests; a finding fails
#   4. each fuzz target for a short bounded time (build-fuzz/)
#   5. formatting (clang-format) and lint (clang-tidy)
# KIVO_QUICK=1 runs steps 1 and 2 only.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

step() {
    local name=$1
    shift
    local t0=$SECONDS
    echo "== $name"
    "$@"
    echo "== $name: $((SECONDS - t0)) s"
}

build_and_test() {
    local dir=$1
    shift
    KIVO_BUILD_DIR=$dir "$root/scripts/build.sh" "$@"
    ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}

step "build and test" build_and_test "${KIVO_BUILD_DIR:-$root/build}"
step "install check" "$root/scripts/install-check.sh" "${KIVO_BUILD_DIR:-$root/build}"
[ "${KIVO_QUICK:-0}" = 1 ] && exit 0
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
step "sanitizers" build_and_test "$root/build-asan" -DKIVO_SANITIZE=ON -DKIVO_BENCH=OFF
step "fuzz (${KIVO_FUZZ_SECONDS:-20} s per target)" "$root/scripts/fuzz.sh" "${KIVO_FUZZ_SECONDS:-20}"
step "format and lint" "$root/scripts/lint.sh"
