#!/usr/bin/env bash
# Installs what the build needs (Debian 12 packages, only those missing), then configures and
# builds. Usage: scripts/setup.sh PRESET [extra CMake arguments...]
# PRESET is a configure preset of CMakePresets.json (default, asan, tsan, fuzz, bench); a
# folder name instead configures that folder with the default settings.
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

target=${1:?usage: scripts/setup.sh PRESET [cmake args...]}
shift
case "$target" in
    default|asan|tsan|fuzz|bench)
        cmake --preset "$target" "$@" >/dev/null
        cmake --build --preset "$target" -j "$(nproc)" ;;
    *)
        cmake -S . -B "$target" -G Ninja "$@" >/dev/null
        cmake --build "$target" -j "$(nproc)" ;;
esac
