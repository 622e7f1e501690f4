#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts Quorl with the files
# and folders given (none: an empty window).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target quorl
paths=()
for path in "$@"; do
  paths+=("$(realpath -- "$path")")
done
exec build/release/app/quorl "${paths[@]}"
