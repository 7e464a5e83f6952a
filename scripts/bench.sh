#!/usr/bin/env bash
# The benchmark command: builds the shell, the stand-in runtime, the floor programs and the
# driver, runs the driver under Wine in its own session (fresh prefix, virtual display), prints the
# results table and writes it with the machine, date and commit to docs/benchmarks.md.
#   scripts/bench.sh           the full run (about ten minutes)
#   scripts/bench.sh --quick   every measurement small: checks the command works; writes
#                              build/bench/benchmarks.md instead of docs/benchmarks.md
# Build trees go to build/ (WM_BUILD_ROOT overrides it). Exits non-zero when a measurement failed.
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="$(mkdir -p "${WM_BUILD_ROOT:-$repo/build}" && cd "${WM_BUILD_ROOT:-$repo/build}" && pwd)"
quick=""
output="$repo/docs/benchmarks.md"
if [ "${1:-}" = "--quick" ]; then
  quick="--quick"
  output="$build_root/bench/benchmarks.md"
fi

bash "$repo/scripts/setup.sh" || { echo "setup failed" >&2; exit 1; }

# shellcheck source=../tests/e2e/wine_session.sh
source "$repo/tests/e2e/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM

windows="$build_root/windows"
cmake -S "$repo" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" >/dev/null || exit 1
cmake --build "$windows" -j "$(nproc)" --target bench_driver || exit 1

mkdir -p "$build_root/bench"
wine_session_start "$build_root/bench/wine" || exit 1

mkdir -p "$(dirname "$output")"
load="$(cut -d ' ' -f 1-3 /proc/loadavg)"
table="$build_root/bench/table.md"
rm -f "$table"
timeout 1800 wine "$windows/bench/bench_driver.exe" "Z:${table//\//\\}" $quick
status=$?
[ -s "$table" ] || { echo "the driver wrote no results (exit $status)" >&2; exit 1; }

load_after="$(cut -d ' ' -f 1-3 /proc/loadavg)"
commit="$(git -C "$repo" rev-parse --short HEAD)"
[ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ] && commit="$commit with uncommitted changes"
memory_kib="$(awk '/^MemTotal:/ {print $2}' /proc/meminfo)"
{
  echo "# Benchmarks"
  echo
  echo "The shell's own costs against a bare Win32 program built with the same toolchain and flags,"
  echo "under Wine with the stand-in WebView2 runtime (log off), written by \`scripts/bench.sh\`."
  echo "Ratios are wispermoth divided by the floor, per interleaved pair of runs: median (min–max)."
  echo
  echo "- machine: $(nproc) cores, $(grep -m 1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $((memory_kib / 1024)) MiB memory"
  echo "- system: $(wine --version 2>/dev/null), $(x86_64-w64-mingw32-g++-posix --version | head -n 1)"
  echo "- date: $(date -u '+%Y-%m-%d %H:%M UTC'); load average before the run: $load, after it: $load_after"
  echo "  (a load above the $(nproc) cores means other work shared the machine: absolute times grow and"
  echo "  spread, the ratios of interleaved runs much less)"
  echo "- commit: $commit"
  [ -n "$quick" ] && echo "- quick run: every measurement small; the figures are not for the record"
  echo
  cat "$table"
} >"$output"
echo
cat "$output"
echo
echo "written: $output"
exit "$status"
