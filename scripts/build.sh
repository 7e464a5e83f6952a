#!/usr/bin/env bash
# Builds wispermoth.exe and the stand-in WebView2 runtime into build/windows.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root" -B "$root/build/windows" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/windows" -j"$(nproc)" --target wispermoth standin_runtime
