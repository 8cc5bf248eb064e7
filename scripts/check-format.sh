#!/usr/bin/env bash
# Checks that every C++ source in the repository is formatted by .clang-format (clang-format 14).
# Lists the files that are not, and how to fix them. Usage: scripts/check-format.sh
set -uo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || { echo "check-format: clang-format is not installed" >&2; exit 1; }

# Tracked files when this is a git checkout, else every source under the usual folders.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h' | while read -r f; do [ -f "$f" ] && echo "$f"; done)
else
    mapfile -t files < <(find src cli tests fuzz bench -name '*.cpp' -o -name '*.h' 2>/dev/null | sort)
fi

bad=()
for f in "${files[@]}"; do
    clang-format --dry-run -Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
    echo "check-format: ${#bad[@]} of ${#files[@]} files are not formatted:" >&2
    printf '  %s\n' "${bad[@]}" >&2
    echo "fix with: clang-format -i ${bad[*]}" >&2
    exit 1
fi
echo "check-format: ${#files[@]} files formatted"
