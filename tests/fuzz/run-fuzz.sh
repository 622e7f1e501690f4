#!/usr/bin/env bash
# Builds the fuzz targets with clang in a folder of their own and runs the song-list target on
# the seed corpus for a while. Fails on a crash, a sanitizer report, a leak, an input that takes
# more than 10 seconds or a run that needs more than 2 GiB.
# Usage: run-fuzz.sh BUILD_FOLDER [SECONDS]
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?usage: run-fuzz.sh BUILD_FOLDER [SECONDS]}"
seconds="${2:-60}"

if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_tsv -j2

# New inputs go to a scratch corpus; the seeds in the source tree are only read.
work="$build/run"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"
"$build/fuzz_tsv" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "$work/corpus" "$here/corpus"
