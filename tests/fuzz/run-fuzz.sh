#!/usr/bin/env bash
# Builds a fuzz target with clang in a folder of its own and runs it on its seeds for a while.
# Fails on a crash, a sanitizer report, a leak, an input that takes more than 10 seconds or a run
# that needs more than 2 GiB.
#
# Usage: run-fuzz.sh BUILD_FOLDER TARGET SECONDS [OPTION...] [SEED_FOLDER...]
#   --ext=mp3,flac   take only seed files with one of these extensions (any case)
#   -name=value      passed on to the fuzzer (e.g. -max_len=262144)
# Seed folders are read where they are, recursively, and never written; a missing one is skipped
# with a message. New inputs go to a scratch corpus in the build folder.
set -euo pipefail

usage="usage: run-fuzz.sh BUILD_FOLDER TARGET SECONDS [--ext=LIST] [-option=value...] [SEED_FOLDER...]"
here="$(cd "$(dirname "$0")" && pwd)"
build="${1:?$usage}"
target="${2:?$usage}"
seconds="${3:?$usage}"
shift 3

extensions=""
options=()
seeds=()
for argument in "$@"; do
  case "$argument" in
    --ext=*) extensions="${argument#--ext=}" ;;
    -*) options+=("$argument") ;;
    *)
      if [ -d "$argument" ]; then
        seeds+=("$argument")
      else
        echo "seed folder $argument is missing: skipped" >&2
      fi
      ;;
  esac
done

if ! command -v clang++ >/dev/null; then
  echo "clang++ is missing: scripts/install-deps.sh installs it" >&2
  exit 1
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "$target" -j2

work="$build/run-$target"
rm -rf "$work"
mkdir -p "$work/corpus" "$work/artifacts"

# The seed files, listed for the fuzzer (comma-separated) rather than copied.
list="$work/seeds.txt"
: >"$list"
for folder in "${seeds[@]}"; do
  if [ -n "$extensions" ]; then
    find "$folder" -type f -iregex ".*\.\(${extensions//,/\\|}\)" -size +0 >>"$list"
  else
    find "$folder" -type f -size +0 >>"$list"
  fi
done
if grep -q , "$list"; then
  echo "seed files with a comma in their name are skipped:" >&2
  grep , "$list" >&2
fi
grep -v , "$list" | paste -sd, - >"$work/seeds.arg" || true
count=$(grep -vc , "$list" || true)
echo "$target: $count seed files from ${#seeds[@]} folders"
seedOption=()
if [ "$count" -gt 0 ]; then
  seedOption=(-seed_inputs="@$work/seeds.arg")
fi

"$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work/artifacts/" "${options[@]}" "${seedOption[@]}" "$work/corpus"
