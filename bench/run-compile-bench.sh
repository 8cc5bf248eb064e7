#!/usr/bin/env bash
# Times the whole compile of a synthetic catalogue of 1,000,000 records with catforge-cli against
# copying its output: five alternating pairs (compile, then cp of the output over the same copy),
# the ratio taken as the median of the five.
#
# Two pairs go first untimed, so that each timed cp, like each timed compile, replaces a file
# whose blocks are on disk. On ext4 the first cp makes a new file, and the second cuts one that
# was never written out. ext4 starts writing out a file that was cut to nothing and written
# again when it is closed, so from the third cp on, each frees the blocks of the copy before
# it, as each compile frees those of the catalogue before it. The first two cps take a third to
# a half of the time of the others.
# Usage: bench/run-compile-bench.sh [BUILD_DIR] [COUNT]   (BUILD_DIR configured with
# -DCATFORGE_BUILD_BENCH=ON; default build-bench, made here from the bench preset when missing).
# CATFORGE_CLI=PATH times another catforge-cli on the same catalogue (an earlier build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
count=${2:-1000000}
pairs=5

if [ ! -x /usr/bin/time ]; then
    echo "Installing the time package (bench only)" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq time >/dev/null
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake --preset bench -B "$build" >/dev/null
fi
cmake --build "$build" -j2 --target catforge-cli catforge-bench-generate >/dev/null

cli=${CATFORGE_CLI:-$build/cli/catforge-cli}
work=$(mktemp -d "${TMPDIR:-/tmp}/catforge-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/bench/catforge-bench-generate" "$work/synthetic" "$count"
sync  # the input is on disk before timing starts, as a real catalogue would be

now() { date +%s.%N; }
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for i in 1 2; do
    "$cli" compile "$work/synthetic.zdd" -o "$work/synthetic.zdc" --quiet
    start=$(now)
    cp "$work/synthetic.zdc" "$work/copy.zdc"
    echo "untimed pair $i: cp $(echo "$(now) - $start" | bc) s"
done
for i in $(seq 1 $pairs); do
    start=$(now)
    /usr/bin/time -f '%U %S %M' -o "$work/time.$i" \
        "$cli" compile "$work/synthetic.zdd" -o "$work/synthetic.zdc" --quiet
    middle=$(now)
    cp "$work/synthetic.zdc" "$work/copy.zdc"
    end=$(now)
    read -r user sys rss < "$work/time.$i"
    echo "$middle $start $end $user $sys $rss" >> "$work/pairs.txt"
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)
out_bytes=$(stat -c %s "$work/synthetic.zdc")

awk -v n="$count" -v out="$out_bytes" '
{
    wall[NR] = $1 - $2; cp[NR] = $3 - $1; ratio[NR] = wall[NR] / cp[NR]
    user[NR] = $4; sys[NR] = $5; rss[NR] = $6
    printf "pair %d: compile %.3f s (%.2f user + %.2f system), cp %.3f s, ratio %.2f, peak RSS %.1f MB\n",
        NR, wall[NR], user[NR], sys[NR], cp[NR], ratio[NR], rss[NR] / 1024
}
function median(a, k,    i, j, t, b) {
    for (i = 1; i <= k; i++) b[i] = a[i]
    for (i = 1; i <= k; i++) for (j = i + 1; j <= k; j++) if (b[j] < b[i]) { t = b[i]; b[i] = b[j]; b[j] = t }
    return b[int((k + 1) / 2)]
}
END {
    k = NR
    w = median(wall, k)
    printf "records:            %d\n", n
    printf "compile wall time:  %.3f s (median)\n", w
    printf "records per second: %.0f\n", n / w
    printf "CPU time:           %.3f s user + %.3f s system (median)\n", median(user, k), median(sys, k)
    m = rss[1]
    for (i = 2; i <= k; i++) if (rss[i] > m) m = rss[i]
    printf "peak memory (RSS):  %.1f MB (largest)\n", m / 1024
    printf "output size:        %.1f MB\n", out / 1048576
    printf "peak RSS / output:  %.3f\n", m * 1024 / out
    printf "cp of the output:   %.3f s (median)\n", median(cp, k)
    printf "compile / cp:       %.2f (median of %d alternating pairs)\n", median(ratio, k), k
}' "$work/pairs.txt"
echo "load average:       $load_before before, $load_after after (on $(nproc) cores)"
