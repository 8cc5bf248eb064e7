#!/usr/bin/env bash
# The main job on the bundled sample: set up and build, compile the sample catalogue into the
# build folder and show the compiled catalogue with its first five entries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default  # builds into build/
mkdir -p build/sample
./build/cli/catforge-cli compile examples/cluster-stars.zdd -o build/sample/cluster-stars.zdc
./build/cli/catforge-cli info build/sample/cluster-stars.zdc --entries 5
# With a display, also open the sample in the desktop program; the script ends when its
# window is closed (run last, so all of the above is already on the terminal).
if [ -n "${DISPLAY:-}" ]; then
    ./build/src/app/catforge examples/cluster-stars.zdd
fi
