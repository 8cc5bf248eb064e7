#!/usr/bin/env bash
# Times the data check of a synthetic catalogue of 1,000,000 records (the one the compile
# benchmark uses) with catforge-cli check.
# Usage: bench/run-check-bench.sh [BUILD_DIR] [COUNT]   (BUILD_DIR configured with
# -DCATFORGE_BUILD_BENCH=ON; default build-bench, made here when missing)
#
# Measured once (Release build, 2-core machine shared with other builds, load average 20):
# 1,000,000 records of 100 bytes, 0 problems: 0.29 s user + 0.03 s system CPU, 8.2 MB peak
# memory, 3.0 s wall; the wall time was the wait for a core under that load, the CPU time is
# what the check costs.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
count=${2:-1000000}

if [ ! -x /usr/bin/time ]; then
    echo "Installing the time package (bench only)" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCATFORGE_BUILD_BENCH=ON \
          -DCATFORGE_BUILD_GUI=OFF -DCATFORGE_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j2 --target catforge-cli catforge-bench-generate >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/catforge-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/catforge-bench-generate" "$work/synthetic" "$count"
sync

/usr/bin/time -v -o "$work/time.txt" \
    "$build/cli/catforge-cli" check "$work/synthetic.zdd" >"$work/problems.txt"
wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
seconds=$(echo "$wall" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
user_s=$(awk -F': ' '/User time \(seconds\)/ {print $2}' "$work/time.txt")
sys_s=$(awk -F': ' '/System time \(seconds\)/ {print $2}' "$work/time.txt")
rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
awk -v n="$count" -v s="$seconds" -v rss="$rss_kb" -v user="$user_s" -v sys="$sys_s" 'BEGIN {
    printf "records:            %d\n", n
    printf "check wall time:    %.3f s\n", s
    printf "records per second: %.0f\n", n / s
    printf "CPU time:           %.3f s user + %.3f s system\n", user, sys
    printf "peak memory (RSS):  %.1f MB\n", rss / 1024
}'
echo "problems reported:  $(grep -c '^record ' "$work/problems.txt" || true)"
tail -n 7 "$work/problems.txt"
echo "load average:       $(cut -d' ' -f1-3 /proc/loadavg) (on $(nproc) cores)"
