#!/usr/bin/env bash
# Normalising a 1 GB line-oriented file with catforge-cli, against cp of the same file.
# Usage: bench/run-normalize-bench.sh [path/to/catforge-cli] [size in MB, default 1024]
# (default: build-bench/cli/catforge-cli, built with the bench preset:
#  cmake --preset bench && cmake --build --preset bench)
#
# Two inputs of the same size:
#   varied:    lines of 40 to 140 bytes, all padded to 140: the output is about 1.55 times
#              the input, so the normaliser writes far more than cp does;
#   catalogue: the lines of tests/data/cds/table1.dat (a VizieR table, lines of 91 to 103
#              bytes) over and over: the output is about 1.05 times the input.
# Each is timed in five rounds of cp, then the normaliser, and the medians are compared. On a
# virtual machine, writing into memory the system has not used lately costs far more than
# into memory just freed, and that difference alone can change a time four-fold; so before
# each timed command a 2 GB scratch file is written and deleted, and both commands start from
# the same state. Neither cp nor the normaliser flushes its output to disk.
# The files live in a fresh folder under /tmp and are deleted afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build-bench/cli/catforge-cli}
megabytes=${2:-1024}
[ -x "$cli" ] || { echo "no catforge-cli at $cli (build it first)" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 2; }

work=$(mktemp -d /tmp/catforge-normalize-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

make_input() {  # make_input KIND PATH
    python3 - "$1" "$2" "$megabytes" tests/data/cds/table1.dat <<'PY'
import random, sys
kind, path, megabytes, sample = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
if kind == "varied":
    random.seed(1)
    lines = []
    for i in range(20000):
        n = random.randint(40, 140)
        lines.append(("%08d " % i + "x" * n)[:n].rstrip() + "\n")
    chunk = "".join(lines).encode("ascii")
else:
    chunk = open(sample, "rb").read()
target = megabytes * 1024 * 1024
with open(path, "wb") as f:
    written = 0
    while written + len(chunk) <= target:
        f.write(chunk)
        written += len(chunk)
    f.write(chunk[: target - written].rsplit(b"\n", 1)[0] + b"\n")
PY
}

warm() {  # leaves 2 GB of just-freed memory for the next command
    dd if=/dev/zero of="$work/scratch" bs=1M count=2048 status=none
    rm -f "$work/scratch"
}

measure() {  # measure COMMAND...: prints "wall_seconds peak_rss_kb cpu_seconds"
    /usr/bin/time -v -o "$work/time.txt" "$@" > /dev/null
    local wall rss cpu
    wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {n=split($2,p,":"); s=0; for(i=1;i<=n;i++) s=s*60+p[i]; print s}' "$work/time.txt")
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$work/time.txt")
    cpu=$(awk -F': ' '/(User|System) time/ {s+=$2} END {printf "%.2f", s}' "$work/time.txt")
    echo "$wall $rss $cpu"
}

median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

for kind in varied catalogue; do
    make_input "$kind" "$work/input.dat"
    size=$(stat -c %s "$work/input.dat")
    sync
    cat "$work/input.dat" > /dev/null  # both commands read from a warm page cache
    cp_walls=() n_walls=() n_rss=0 n_cpus=() cp_cpus=()
    for round in 1 2 3 4 5; do
        warm
        read -r wall _ cpu < <(measure cp "$work/input.dat" "$work/copy.dat")
        cp_walls+=("$wall"); cp_cpus+=("$cpu")
        rm -f "$work/copy.dat"
        warm
        read -r wall rss cpu < <(measure "$cli" normalize "$work/input.dat" -o "$work/output.dat")
        n_walls+=("$wall"); n_cpus+=("$cpu")
        [ "$rss" -gt "$n_rss" ] && n_rss=$rss
        out_size=$(stat -c %s "$work/output.dat")
        rm -f "$work/output.dat"
    done
    cp_med=$(median "${cp_walls[@]}")
    n_med=$(median "${n_walls[@]}")
    mb=$(echo "$size / 1048576" | bc -l)
    printf '%s input: %d bytes (%.0f MB), output %d bytes (%.2f times)\n' "$kind" "$size" "$mb" \
        "$out_size" "$(echo "$out_size / $size" | bc -l)"
    printf '  cp:        %s s wall (CPU %s s); median %.2f s, %.0f MB/s\n' "${cp_walls[*]}" \
        "${cp_cpus[*]}" "$cp_med" "$(echo "$mb / $cp_med" | bc -l)"
    printf '  normalize: %s s wall (CPU %s s); median %.2f s, %.0f MB/s, peak RSS %.1f MB\n' \
        "${n_walls[*]}" "${n_cpus[*]}" "$n_med" "$(echo "$mb / $n_med" | bc -l)" \
        "$(echo "$n_rss / 1024" | bc -l)"
    printf '  speed vs cp (medians): %.2f (target >= 0.5)\n' "$(echo "$cp_med / $n_med" | bc -l)"
    rm -f "$work/input.dat"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg) (on $(nproc) cores)"
