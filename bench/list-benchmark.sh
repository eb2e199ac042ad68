#!/usr/bin/env bash
# Times the List tab on the 249,999-person file in the real window,
# offscreen: first painted rows, the background sort, column clicks.
#
#   bench/list-benchmark.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
file=$(generated 249999 utf8)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$file" "$work/list.ged" # the journal is written beside the file
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work" "$build/bench/kinmap-list-benchmark" "$work/list.ged"
