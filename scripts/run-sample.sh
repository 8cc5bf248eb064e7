#!/usr/bin/env bash
# The main job on the bundled sample: set up and build, then show the sample definition.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
./build/cli/catforge-cli info examples/cluster-stars.zdd
# With a display, also open the sample in the desktop program; the script ends when its
# window is closed (run last, so all of the above is already on the terminal).
if [ -n "${DISPLAY:-}" ]; then
    ./build/src/app/catforge examples/cluster-stars.zdd
fi
