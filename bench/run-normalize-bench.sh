#!/usr/bin/env bash
# Normalising a 1 GB line-oriented file with catforge-cli, against cp of the same file.
# Usage: bench/run-normalize-bench.sh [path/to/catforge-cli] [size in MB, default 1024]
# Prints wall time, MB/s, peak RSS and CPU time of the normalisation, and the same for cp (and
# the wall time of cp followed by sync, since the normaliser flushes its output to disk before
# renaming it). Note: GNU cp 9 copies with copy_file_range, inside the kernel, and the output
# of the normaliser is larger than its input (lines of 40 to 140 bytes all become 140).
# On a busy machine the wall times vary a lot; the CPU times less so.
# The files live in a fresh folder under /tmp and are deleted afterwards.
set -euo pipefail
cli=${1:-build/cli/catforge-cli}
megabytes=${2:-1024}
[ -x "$cli" ] || { echo "no catforge-cli at $cli (build it first)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 2; }

work=$(mktemp -d /tmp/catforge-normalize-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

# Lines of 40 to 140 bytes (trailing blanks stripped, as VizieR ships them), LF ends.
python3 - "$work/input.dat" "$megabytes" <<'PY'
import random, sys
path, megabytes = sys.argv[1], int(sys.argv[2])
random.seed(1)
lines = []
for i in range(20000):
    n = random.randint(40, 140)
    lines.append(("%08d " % i + "x" * n)[:n].rstrip() + "\n")
chunk = "".join(lines).encode("ascii")
target = megabytes * 1024 * 1024
with open(path, "wb") as f:
    written = 0
    while written + len(chunk) <= target:
        f.write(chunk)
        written += len(chunk)
    f.write(chunk[: target - written].rsplit(b"\n", 1)[0] + b"\n")
PY
size=$(stat -c %s "$work/input.dat")
sync
cat "$work/input.dat" > /dev/null  # both runs start from a warm page cache

measure() {  # measure COMMAND...: prints "wall_seconds peak_rss_kb cpu_seconds"
    /usr/bin/time -v -o "$work/time.txt" "$@" > /dev/null
    local wall rss cpu
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$work/time.txt")
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    cpu=$(awk -F': ' '/(User|System) time/ {s+=$2} END {print s}' "$work/time.txt")
    echo "$wall $rss $cpu"
}

read -r cp_wall cp_rss cp_cpu < <(measure cp "$work/input.dat" "$work/copy.dat")
start=$(date +%s.%N); cp "$work/input.dat" "$work/copy2.dat"; sync "$work/copy2.dat"; end=$(date +%s.%N)
cp_sync_wall=$(echo "$end - $start" | bc -l)
rm -f "$work/copy.dat" "$work/copy2.dat"
read -r n_wall n_rss n_cpu < <(measure "$cli" normalize "$work/input.dat" -o "$work/output.dat")
out_size=$(stat -c %s "$work/output.dat")

mb=$(echo "$size / 1048576" | bc -l)
printf 'input:            %d bytes (%.0f MB), output %d bytes\n' "$size" "$mb" "$out_size"
printf 'normalize:        %.2f s wall, %.1f MB/s, peak RSS %.1f MB, %.2f s CPU (user+sys)\n' \
    "$n_wall" "$(echo "$mb / $n_wall" | bc -l)" "$(echo "$n_rss / 1024" | bc -l)" "$n_cpu"
printf 'cp:               %.2f s wall, %.1f MB/s, peak RSS %.1f MB, %.2f s CPU (user+sys)\n' \
    "$cp_wall" "$(echo "$mb / $cp_wall" | bc -l)" "$(echo "$cp_rss / 1024" | bc -l)" "$cp_cpu"
printf 'cp + sync:        %.2f s wall, %.1f MB/s\n' "$cp_sync_wall" \
    "$(echo "$mb / $cp_sync_wall" | bc -l)"
printf 'speed vs cp:      %.2f (target >= 0.5); vs cp + sync: %.2f\n' \
    "$(echo "$cp_wall / $n_wall" | bc -l)" "$(echo "$cp_sync_wall / $n_wall" | bc -l)"
