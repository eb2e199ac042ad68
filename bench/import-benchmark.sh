#!/usr/bin/env bash
# Imports synthetic GED files of 10,000, 100,000 and 249,999 persons with
# kinmap-cli and prints wall time, CPU time and peak memory of each (the
# best of RUNS runs). Files are generated once into bench/data.
#
#   bench/import-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
runs=${2:-5}

printf '%-10s %-10s %9s %9s %9s %10s\n' persons coding MB wall_s cpu_s peak_MB
for spec in 10000:utf8 100000:utf8 249999:utf8 249999:utf8-nobom 249999:ansi 249999:ansel 249999:latin1 249999:utf16; do
  persons=${spec%%:*}
  coding=${spec##*:}
  file=$(generated "$persons" "$coding")
  best=""
  for ((i = 0; i < runs; i++)); do
    # wall, user + system, peak resident kilobytes
    /usr/bin/time -o "$data/.time" -f '%e %U %S %M' "$cli" import "$file" >/dev/null 2>&1
    read -r wall user sys rss <"$data/.time"
    if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$wall $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }') $rss"
    fi
  done
  read -r wall cpu rss <<<"$best"
  printf '%-10s %-10s %9.1f %9.2f %9.2f %10.1f\n' "$persons" "$coding" \
    "$(awk -v b="$(stat -c %s "$file")" 'BEGIN { print b / 1e6 }')" "$wall" "$cpu" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')"
done
