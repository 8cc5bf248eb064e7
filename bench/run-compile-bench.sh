#!/usr/bin/env bash
# Times the whole compile of a synthetic catalogue of 1,000,000 records with catforge-cli and
# compares it with copying a file as large as the output.
# Usage: bench/run-compile-bench.sh [BUILD_DIR] [COUNT]   (BUILD_DIR configured with
# -DCATFORGE_BUILD_BENCH=ON; default build-bench, made here from the bench preset when missing)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
count=${2:-1000000}

if [ ! -x /usr/bin/time ]; then
    echo "Installing the time package (bench only)" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset bench -B "$build" >/dev/null
fi
cmake --build "$build" -j2 --target catforge-cli catforge-bench-generate >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/catforge-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/catforge-bench-generate" "$work/synthetic" "$count"
sync  # the input is on disk before timing starts, as a real catalogue would be

/usr/bin/time -v -o "$work/time.txt" \
    "$build/cli/catforge-cli" compile "$work/synthetic.zdd" -o "$work/synthetic.zdc" --quiet
wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$work/time.txt")
seconds=$(echo "$wall" | awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
user_s=$(awk -F': ' '/User time \(seconds\)/ {print $2}' "$work/time.txt")
sys_s=$(awk -F': ' '/System time \(seconds\)/ {print $2}' "$work/time.txt")
rss_kb=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
out_bytes=$(stat -c %s "$work/synthetic.zdc")

start=$(date +%s.%N)
cp "$work/synthetic.zdc" "$work/copy.zdc"
end=$(date +%s.%N)
load=$(cut -d' ' -f1-3 /proc/loadavg)

awk -v n="$count" -v s="$seconds" -v rss="$rss_kb" -v out="$out_bytes" \
    -v user="$user_s" -v sys="$sys_s" -v cps="$start" -v cpe="$end" 'BEGIN {
    printf "records:            %d\n", n
    printf "compile wall time:  %.3f s\n", s
    printf "records per second: %.0f\n", n / s
    printf "CPU time:           %.3f s user + %.3f s system\n", user, sys
    printf "peak memory (RSS):  %.1f MB\n", rss / 1024
    printf "output size:        %.1f MB\n", out / 1048576
    printf "peak RSS / output:  %.3f\n", rss * 1024 / out
    printf "cp of the output:   %.3f s\n", cpe - cps
}'
echo "load average:       $load (on $(nproc) cores)"
