#!/usr/bin/env bash
# Times editing on the 249,999-person file in the real window, offscreen:
# the edit person dialog opened and painted, an edit saved with its journal
# line, its undo, and the completion lists built (best of twenty each).
#
#   bench/edit-benchmark.sh [BUILD_DIR]
set -euo pipefail
source "$(dirname "$0")/bench-env.sh" "${1:-}"
file=$(generated 249999 utf8)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$file" "$work/edit.ged" # the journal is written beside the file
QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work" "$build/bench/kinmap-edit-benchmark" "$work/edit.ged"
