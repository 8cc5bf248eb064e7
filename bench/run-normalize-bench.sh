#!/usr/bin/env bash
# Normalising a 1 GB line-oriented file with catforge-cli, against cp of the same file.
# Usage: bench/run-normalize-bench.sh [path/to/catforge-cli] [size in MB, default 1024]
# Prints wall time, MB/s and peak RSS of the normalisation, and the wall time of cp (and of
# cp followed by sync, since the normaliser flushes its output to disk before renaming it).
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

measure() {  # measure LABEL COMMAND...: prints "wall_seconds peak_rss_kb"
    /usr/bin/time -v -o "$work/time.txt" "$@" > /dev/null
    local wall rss
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$work/time.txt")
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    echo "$wall $rss"
}

read -r cp_wall cp_rss < <(measure cp "$work/input.dat" "$work/copy.dat")
start=$(date +%s.%N); cp "$work/input.dat" "$work/copy2.dat"; sync "$work/copy2.dat"; end=$(date +%s.%N)
cp_sync_wall=$(echo "$end - $start" | bc -l)
rm -f "$work/copy.dat" "$work/copy2.dat"
read -r n_wall n_rss < <(measure "$cli" normalize "$work/input.dat" -o "$work/output.dat")
out_size=$(stat -c %s "$work/output.dat")

mb=$(echo "$size / 1048576" | bc -l)
printf 'input:            %d bytes (%.0f MB), output %d bytes\n' "$size" "$mb" "$out_size"
printf 'normalize:        %.2f s wall, %.1f MB/s, peak RSS %.1f MB\n' "$n_wall" \
    "$(echo "$mb / $n_wall" | bc -l)" "$(echo "$n_rss / 1024" | bc -l)"
printf 'cp:               %.2f s wall, %.1f MB/s, peak RSS %.1f MB\n' "$cp_wall" \
    "$(echo "$mb / $cp_wall" | bc -l)" "$(echo "$cp_rss / 1024" | bc -l)"
printf 'cp + sync:        %.2f s wall, %.1f MB/s\n' "$cp_sync_wall" \
    "$(echo "$mb / $cp_sync_wall" | bc -l)"
printf 'speed vs cp:      %.2f (target >= 0.5); vs cp + sync: %.2f\n' \
    "$(echo "$cp_wall / $n_wall" | bc -l)" "$(echo "$cp_sync_wall / $n_wall" | bc -l)"
