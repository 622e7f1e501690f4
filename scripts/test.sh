#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test through CTest. Extra arguments go to ctest (for example -L corpus). QUORL_PRESET
# picks another preset of CMakePresets.json (CI uses "ci": the same build, warnings as errors).
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${QUORL_PRESET:-asan}"
scripts/install-deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" "$@"
