#!/usr/bin/env bash
# Times the Pedigree and Branches tabs on the 249,999-person file in the real
# window, offscreen: the core builds, then each tab shown and painted.
#
#   bench/views-benchmark.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
file=$(generated 249957 utf8) # with the 42 persons added below: 249,999
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The generated file with one couple of 40 children more.
python3 - "$file" "$work/views.ged" <<'PY'
import sys
text = open(sys.argv[1], encoding="utf-8").read()
extra = ["0 @BENCHH@ INDI\n1 NAME Vater /Vielkind/\n1 SEX M\n1 FAMS @BENCHF@\n",
         "0 @BENCHW@ INDI\n1 NAME Mutter /Vielkind/\n1 SEX F\n1 FAMS @BENCHF@\n"]
extra += [f"0 @BENCHC{i}@ INDI\n1 NAME Kind{i} /Vielkind/\n1 BIRT\n2 DATE {1900 + i}\n1 FAMC @BENCHF@\n" for i in range(40)]
extra.append("0 @BENCHF@ FAM\n1 HUSB @BENCHH@\n1 WIFE @BENCHW@\n" + "".join(f"1 CHIL @BENCHC{i}@\n" for i in range(40)))
end = text.rindex("0 TRLR")
open(sys.argv[2], "w", encoding="utf-8").write(text[:end] + "".join(extra) + text[end:])
PY
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work" "$build/bench/kinmap-views-benchmark" "$work/views.ged"

# The generated file's longest pedigree is short: a second file whose
# ancestry is as wide as a generation may be (255 couples, 510 new persons a
# generation, 30 generations) gives a table that ends at 20,000 rows.
python3 - "$work/wide.ged" <<'PY'
import sys
out = ["0 HEAD\n1 CHAR UTF-8\n0 @I1@ INDI\n1 NAME P /Q/\n1 FAMC @F1@\n"]
fam, width, generations = 1, 1, 30
for g in range(generations):
    nxt = min(255, width * 2)
    for i in range(width):
        f = fam + i
        for side in (0, 1):
            parents = fam + width + (2 * i + side) % nxt if g + 1 < generations else 0
            out.append(f"0 @I{f * 2 + side}@ INDI\n1 NAME A /B/\n1 SEX {'F' if side else 'M'}\n1 FAMS @F{f}@\n")
            if parents:
                out.append(f"1 FAMC @F{parents}@\n")
        out.append(f"0 @F{f}@ FAM\n1 HUSB @I{f * 2}@\n1 WIFE @I{f * 2 + 1}@\n")
    fam += width
    width = nxt
out.append("0 TRLR\n")
open(sys.argv[1], "w").write("".join(out))
PY
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work" "$build/bench/kinmap-views-benchmark" "$work/wide.ged" | head -4
