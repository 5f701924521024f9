#!/usr/bin/env bash
# tools/check-layers passes the tree as it is, and fails it with a Qt include in the core or
# with two core folders that include each other.
#   check_layers_test.sh SOURCE_DIR
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
check() { "$source_dir/tools/check-layers" "$work/src" >"$work/said" 2>&1; }

cp -r "$source_dir/src" "$work/src"
check || { echo "the tree as it is fails:"; cat "$work/said"; exit 1; }

echo '#include "gui/widgets/design.h"' >>"$work/src/core/run/run.cpp"
check && { echo "a gui/ include in the core passed"; exit 1; }
grep -q "run.cpp" "$work/said" || { echo "the refusal does not name the file"; exit 1; }

rm -rf "$work/src" && cp -r "$source_dir/src" "$work/src"
echo '#include "core/display/plot_scene.h"' >>"$work/src/core/numbers/numbers.cpp"
check && { echo "a circle of includes passed"; exit 1; }
grep -q "in a circle" "$work/said" && grep -q "numbers.cpp" "$work/said" ||
  { echo "the refusal does not name the circle:"; cat "$work/said"; exit 1; }
echo "check-layers passes the tree and refuses both"
