#!/usr/bin/env bash
# Times the List tab on the 249,999-person file in the real window,
# offscreen: first painted rows, the background sort, column clicks.
#
#   bench/list-benchmark.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
file=$here/data/p249999-utf8.ged
mkdir -p "$here/data"
[ -f "$file" ] || "$build/bench/kinmap-generate" 249999 utf8 "$file"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$file" "$work/list.ged" # the journal is written beside the file
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work" "$build/bench/kinmap-list-benchmark" "$work/list.ged"
