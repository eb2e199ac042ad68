#!/usr/bin/env bash
# Runs Find Errors with the default options over synthetic GED files of
# 10,000, 100,000 and 249,999 persons with `kinmap-cli check --timing` and
# prints the seconds of the check (best of RUNS runs), its findings and its
# corrections.
#
#   bench/check-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
runs=${2:-3}

printf '%-10s %9s %9s %11s\n' persons seconds findings corrections
for persons in 10000 100000 249999; do
  file=$(generated "$persons" utf8)
  best="" counts=""
  for ((i = 0; i < runs; i++)); do
    counts=$("$cli" check "$file" --timing 2>"$data/.timing" | tail -n 1)
    seconds=$(awk '/^check:/ { print $2 }' "$data/.timing")
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
      best=$seconds
    fi
  done
  # "N errors found, M corrected"
  read -r found corrected <<<"$(printf '%s\n' "$counts" | awk '{ print $1, ($4 == "" ? 0 : $4) }')"
  printf '%-10s %9.3f %9s %11s\n' "$persons" "$best" "$found" "$corrected"
done
