#!/usr/bin/env bash
# Exports every person of synthetic GED files of 10,000, 100,000 and 249,999
# persons with `kinmap-cli export --timing` and prints the seconds of the
# export step (best of RUNS runs) and the whole run's wall time, CPU time and
# peak memory (import included). Files are generated once into bench/data.
#
#   bench/export-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
runs=${2:-5}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

printf '%-10s %-10s %9s %9s %9s %9s %10s\n' persons coding MB export_s wall_s cpu_s peak_MB
for spec in 10000:utf8 100000:utf8 249999:utf8 249999:utf8-nobom 249999:ansi 249999:ansel 249999:latin1 249999:utf16; do
  persons=${spec%%:*}
  coding=${spec##*:}
  file=$(generated "$persons" "$coding")
  best=""
  for ((i = 0; i < runs; i++)); do
    rm -f "$out"/*
    /usr/bin/time -o "$out/time" -f '%e %U %S %M' "$cli" export "$file" "$out/out.ged" --timing >/dev/null 2>"$out/steps"
    step=$(awk '/^export:/ { print $2 }' "$out/steps")
    read -r wall user sys rss <"$out/time"
    if [ -z "$best" ] || awk -v a="$step" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$step $wall $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }') $rss"
    fi
  done
  read -r step wall cpu rss <<<"$best"
  printf '%-10s %-10s %9.1f %9.3f %9.2f %9.2f %10.1f\n' "$persons" "$coding" \
    "$(awk -v b="$(stat -c %s "$file")" 'BEGIN { print b / 1e6 }')" "$step" "$wall" "$cpu" "$(awk -v k="$rss" 'BEGIN { print k / 1024 }')"
done
