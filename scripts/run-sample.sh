#!/usr/bin/env bash
# The main job on the bundled sample: set up and build, then show the sample definition.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh build
./build/cli/catforge-cli info examples/cluster-stars.zdd
