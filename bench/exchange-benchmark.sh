#!/usr/bin/env bash
# Output to File and Input from File on the 249,999-person file: the
# default template's table of every person (`kinmap-cli output --timing`),
# then that table with a value changed in every row read back into a copy
# of the file (`kinmap-cli input --timing`: reading and planning, printing
# the preview, writing the file). Best of RUNS runs of each step.
#
#   bench/exchange-benchmark.sh [BUILD_DIR] [RUNS]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
runs=${2:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best() { sort -g | head -1; }
printf '%-12s %10s %12s %12s %12s %10s\n' encoding output_s read_plan_s preview_s write_s persons_changed
for coding in utf8 ansel utf16; do
  file=$(generated 249999 "$coding")
  : >"$work/output"; : >"$work/read"; : >"$work/preview"; : >"$work/write"
  for ((i = 0; i < runs; i++)); do
    "$cli" output "$file" --out "$work/table.txt" --timing 2>"$work/steps" >/dev/null
    awk '/^output:/ { print $2 }' "$work/steps" >>"$work/output"
    # Every row gets an occupation it did not have.
    python3 - "$work/table.txt" <<'PY'
import sys
rows = open(sys.argv[1], encoding="utf-8-sig", newline="").read().split("\r\n")
header = rows[0].split("\t")
at = header.index("1 OCCU")
out = [rows[0]]
for row in rows[1:]:
    if row:
        cells = row.split("\t")
        cells[at] = "Benchmark"
        out.append("\t".join(cells))
open(sys.argv[1], "w", encoding="utf-8-sig", newline="").write("\r\n".join(out) + "\r\n")
PY
    cp "$file" "$work/copy.ged"
    XDG_STATE_HOME="$work/state" "$cli" input "$work/copy.ged" "$work/table.txt" --timing 2>"$work/steps" >"$work/printed"
    awk '/^input read:/ { print $3 }' "$work/steps" >>"$work/read"
    awk '/^input preview:/ { print $3 }' "$work/steps" >>"$work/preview"
    awk '/^input write:/ { print $3 }' "$work/steps" >>"$work/write"
    changed=$(grep -c '^RIN ' "$work/printed" || true)
    rm -f "$work"/copy.*
  done
  printf '%-12s %10.3f %12.3f %12.3f %12.3f %10d\n' "$coding" "$(best <"$work/output")" "$(best <"$work/read")" \
    "$(best <"$work/preview")" "$(best <"$work/write")" "$changed"
done
