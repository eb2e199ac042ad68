#!/usr/bin/env bash
# Runs the duplicate search in automatic mode over synthetic GED files of
# 10,000, 100,000 and 249,999 persons (each seeded with one duplicate pair
# of each kind per thousand persons) with `kinmap-cli duplicates --timing`:
# the persons search under each name method and the families search. Prints
# the seconds of the search and merges (best of RUNS runs) and the merges
# made.
#
#   bench/duplicates-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
runs=${2:-3}

# options: persons (1), method exact 2 / soundex 4 / other 6, same date (8), automatic (64)
printf '%-10s %-26s %9s %8s\n' persons search seconds mergers
for persons in 10000 100000 249999; do
  file=$(generated "$persons" utf8)
  for spec in "75:persons, exact" "77:persons, soundex" "79:persons, other matching" "74:families, exact"; do
    options=${spec%%:*}
    best="" mergers=""
    for ((i = 0; i < runs; i++)); do
      out=$("$cli" duplicates "$file" --options "$options" --timing 2>"$data/.timing")
      seconds=$(awk '/^duplicates:/ { print $2 }' "$data/.timing")
      mergers=$(printf '%s\n' "$out" | awk '/ mergers$/ { n = $1 } END { print n + 0 }')
      if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
        best=$seconds
      fi
    done
    printf '%-10s %-26s %9.3f %8s\n' "$persons" "${spec#*:}" "$best" "$mergers"
  done
done
