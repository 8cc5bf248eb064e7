#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages, only those missing), then configures and
# builds. Usage: scripts/setup.sh BUILD_DIR [extra CMake arguments...]
set -euo pipefail
cd "$(dirname "$0")/.."

# locales: the charmaps with which a test builds a decimal-comma locale.
packages=(g++ cmake ninja-build pkg-config
          qt6-base-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
          libcli11-dev nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
          zlib1g-dev libpng-dev clang-format locales)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

build=${1:?usage: scripts/setup.sh BUILD_DIR [cmake args...]}
shift
cmake -S . -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" -j "$(nproc)"
