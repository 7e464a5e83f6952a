#!/usr/bin/env bash
# Runs every fuzz target for a long time (default 600 seconds each), one after another, on the
# native build's fuzzers, keeping what they find in build/native/tests/fuzz/corpus.
#   scripts/fuzz.sh [seconds-per-target]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
native="$root/build/native"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$native" -j"$(nproc)"
for source in "$root"/tests/fuzz/*_fuzz.cpp; do
  name="$(basename "$source" .cpp)"
  args=(-max_total_time="$seconds" -timeout=5 -jobs="$(nproc)" -workers="$(nproc)")
  [ -f "$root/tests/fuzz/$name.dict" ] && args+=(-dict="$root/tests/fuzz/$name.dict")
  mkdir -p "$native/tests/fuzz/corpus/$name"
  corpus=("$native/tests/fuzz/corpus/$name")
  [ -d "$root/tests/fuzz/corpus/$name" ] && corpus+=("$root/tests/fuzz/corpus/$name")
  echo "==== $name: $seconds s"
  (cd "$native/tests/fuzz" && "./$name" "${args[@]}" "${corpus[@]}")
done
