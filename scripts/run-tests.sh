#!/usr/bin/env bash
# The whole test suite: set up, build and test, then again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the tests of everything but the desktop program under
# ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

scripts/setup.sh build -DCATFORGE_WERROR=ON
ctest --test-dir build --output-on-failure -j "$jobs"

scripts/setup.sh build-asan -DCATFORGE_WERROR=ON -DCATFORGE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

# The threaded parts (decoding, normalising) once more under ThreadSanitizer, without the
# desktop program.
scripts/setup.sh build-tsan -DCATFORGE_WERROR=ON -DCATFORGE_BUILD_GUI=OFF -DCMAKE_BUILD_TYPE=Debug \
    "-DCMAKE_CXX_FLAGS=-fsanitize=thread -O1" -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build-tsan --output-on-failure -j "$jobs"
