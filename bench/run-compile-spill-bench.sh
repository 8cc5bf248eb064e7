#!/usr/bin/env bash
# Compiles a synthetic catalogue larger than the memory it is allowed (default 20,000,000
# records with --max-memory 256M), then the same catalogue with enough memory, and checks that
# both give the same bytes. Prints wall and CPU time, records per second, peak memory, the
# bytes spilled to the temporary file, the ratio to cp of the output and the load average.
# Usage: bench/run-compile-spill-bench.sh [BUILD_DIR] [COUNT] [MAX_MEMORY]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
count=${2:-20000000}
memory=${3:-256M}

for tool in /usr/bin/time /usr/bin/strace; do
    if [ ! -x "$tool" ]; then
        echo "Installing $(basename "$tool") (bench only)" >&2
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$(basename "$tool")" >/dev/null
    fi
done
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset bench -B "$build" >/dev/null
fi
cmake --build "$build" -j2 --target catforge-cli catforge-bench-generate >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/catforge-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/catforge-bench-generate" "$work/synthetic" "$count"
sync

now() { date +%s.%N; }
# compile LABEL OUTPUT [OPTIONS...]: one timed compile, its figures in $work/LABEL.txt
compile() {
    local label=$1 output=$2
    shift 2
    local start end
    start=$(now)
    /usr/bin/time -f '%U %S %M' -o "$work/$label.time" \
        "$build/cli/catforge-cli" compile "$work/synthetic.zdd" -o "$output" --quiet "$@"
    end=$(now)
    echo "$(echo "$end - $start" | bc) $(cat "$work/$label.time")" > "$work/$label.txt"
}
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
compile spilled "$work/spilled.zdc" --max-memory "$memory"
cp_start=$(now)
cp "$work/spilled.zdc" "$work/copy.zdc"
cp_end=$(now)
rm -f "$work/copy.zdc"
compile whole "$work/whole.zdc" --max-memory 1000G
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
cmp "$work/spilled.zdc" "$work/whole.zdc" && same=yes || same=NO
out_bytes=$(stat -c %s "$work/spilled.zdc")

# Bytes spilled: everything the compile writes, less the output (a separate, untimed run).
strace -f -qq -e trace=write -e signal=none -o "$work/writes.txt" \
    "$build/cli/catforge-cli" compile "$work/synthetic.zdd" -o "$work/traced.zdc" --quiet \
    --max-memory "$memory"
written=$(awk -F'= ' '/^[0-9]+ +write\(/ { if ($NF > 0) s += $NF } END { printf "%.0f", s }' \
          "$work/writes.txt")

read -r s_wall s_user s_sys s_rss < "$work/spilled.txt"
read -r w_wall w_user w_sys w_rss < "$work/whole.txt"
awk -v n="$count" -v mem="$memory" -v out="$out_bytes" -v cps="$cp_start" -v cpe="$cp_end" \
    -v sw="$s_wall" -v su="$s_user" -v ss="$s_sys" -v sr="$s_rss" \
    -v ww="$w_wall" -v wu="$w_user" -v ws="$w_sys" -v wr="$w_rss" -v written="$written" 'BEGIN {
    printf "records:              %d (output %.1f MB)\n", n, out / 1048576
    printf "--max-memory %s:    %.2f s wall, %.2f s user + %.2f s system, %.0f records/s, peak RSS %.1f MB\n", mem, sw, su, ss, n / sw, sr / 1024
    printf "spilled:              %.1f MB\n", (written - out) / 1048576
    printf "in memory:            %.2f s wall, %.2f s user + %.2f s system, %.0f records/s, peak RSS %.1f MB\n", ww, wu, ws, n / ww, wr / 1024
    printf "spilled / in memory:  %.2f\n", sw / ww
    printf "cp of the output:     %.2f s (spilled compile / cp %.2f)\n", cpe - cps, sw / (cpe - cps)
}'
echo "same bytes:           $same"
echo "load average:         $load_before before, $load_after after (on $(nproc) cores)"
