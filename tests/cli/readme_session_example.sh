#!/usr/bin/env bash
# The README's session example, run as it stands: it must print what the README shows.
set -euo pipefail
readme=$1
sim_folder=$(cd "$2" && pwd)
# The first python block after the session heading, and the text block after it.
block() {
    awk -v kind="$1" '/^### A run from a lab.s own script/ { found = 1 }
        found && $0 == "```" kind { inside = 1; next }
        inside && $0 == "```" { exit }
        inside { print }' "$readme"
}
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
block python > "$folder/example.py"
expected=$(block text)
printed=$(cd "$folder" && PATH="$sim_folder:$PATH" timeout 60 python3 example.py)
if [ "$printed" != "$expected" ]; then
    printf 'The example printed:\n%s\nThe README shows:\n%s\n' "$printed" "$expected" >&2
    exit 1
fi
