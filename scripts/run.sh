#!/usr/bin/env bash
# Installs what is missing, builds the release configuration and starts Quorl.
# Until the desktop window exists this reads a folder with quorl-cli: the folder given as the
# first argument, or the user's music folder.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
folder="${1:-$(xdg-user-dir MUSIC 2>/dev/null || echo "$HOME/Music")}"
exec build/release/cli/quorl-cli read "$folder"
