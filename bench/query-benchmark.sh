#!/usr/bin/env bash
# Times islands, relationship, the four counts, the three event searches and
# a find and replace over synthetic GED files of 10,000, 100,000 and 249,999
# persons with `kinmap-cli ... --timing`, and prints the seconds of each
# command without the import (best of RUNS runs).
#
# Relationship asks for two persons in different islands: the search then
# walks the whole largest island, the most it can do. The replacement
# changes "Köln" in the birth places (15,767 fields in the largest file).
#
#   bench/query-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
runs=${2:-3}

commands=(
  "islands"
  "relationship 1 LAST"
  "count given"
  "count surname"
  "count place"
  "count events --period 10"
  "count events"
  "search births --place K"
  "search deaths --from 1800 --to 1850"
  "search marriages --place L"
  "replace --find Köln --by Cologne --kind 3"
)

printf '%-42s %10s %10s %10s\n' command 10000 100000 249999
for command in "${commands[@]}"; do
  read -r -a words <<<"$command"
  line=$(printf '%-42s' "$command")
  for persons in 10000 100000 249999; do
    file=$(generated "$persons" utf8)
    # kinmap-cli VERB [KIND] FILE ARGS...: count and search take a kind first.
    case ${words[0]} in
      count | search) args=("${words[0]}" "${words[1]}" "$file" "${words[@]:2}") ;;
      *) args=("${words[0]}" "$file" "${words[@]:1}") ;;
    esac
    args=("${args[@]/LAST/$persons}")
    best=""
    for ((i = 0; i < runs; i++)); do
      "$cli" "${args[@]}" --timing >/dev/null 2>"$data/.timing" || true
      seconds=$(awk -v step="${words[0]}:" '$1 == step { print $2 }' "$data/.timing")
      if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then
        best=$seconds
      fi
    done
    line+=$(printf ' %10.3f' "$best")
  done
  echo "$line"
done
