#!/usr/bin/env bash
# The real program on a virtual display: a first start in an empty folder, then a start
# with the preferences it wrote.
set -euo pipefail
binary=$1
smoke=$2
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
export LIMENTA_PREFS_DIR=$folder
"$smoke" "$binary" "$folder/PREFS"
"$smoke" "$binary" "$folder/PREFS"
