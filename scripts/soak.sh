#!/usr/bin/env bash
# The long soak: the end-to-end soak case with many more page messages than the test command
# sends (default 100,000), in a Wine session of its own, without ctest's time limit.
#   scripts/soak.sh [messages]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
messages="${1:-100000}"
windows="$root/build/windows"
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$windows" -j"$(nproc)"
# shellcheck source=../tests/e2e/wine_session.sh
source "$root/tests/e2e/wine_session.sh"
trap wine_session_stop EXIT
wine_session_start "$root/build/wine-soak"
WISPERMOTH_SOAK_MESSAGES="$messages" "$root/tests/e2e/run_under_wine.sh" \
  "$windows/tests/e2e/e2e_tests.exe" --gtest_filter='Soak.*'
