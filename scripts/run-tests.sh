#!/usr/bin/env bash
# The whole test suite: set up, build and test (preset default), then again under
# AddressSanitizer and UndefinedBehaviorSanitizer (preset asan), and the tests of everything
# but the desktop program under ThreadSanitizer (preset tsan). The sanitizer settings of each
# run are in CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

for preset in default asan tsan; do
    scripts/setup.sh "$preset" -DCATFORGE_WERROR=ON
    ctest --preset "$preset" -j "$jobs"
done
