#!/usr/bin/env bash
# The test command: installs what is missing, then runs every tier and prints a summary.
#   1. native build with clang: unit tests under ASan/UBSan and the fuzz targets, bounded
#   2. cross build for Windows with Clang and LLD on mingw-w64, and the executable's hardening marks
#   3. the Windows-side tests under Wine: one fresh prefix and display for the whole run
#   4. the cases that need two monitors, in a second Wine session of their own
#   and first the include check and the checks of the artwork's generator; after the native build, the page kit's
#   type declarations and the reference page in headless Chromium
# Build trees go to build/ (WM_BUILD_ROOT overrides it). Exits non-zero on any failure.
set -uo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_root="$(mkdir -p "${WM_BUILD_ROOT:-$repo/build}" && cd "${WM_BUILD_ROOT:-$repo/build}" && pwd)"
jobs="$(nproc)"

bash "$repo/scripts/setup.sh" || { echo "setup failed" >&2; exit 1; }

# shellcheck source=../tests/e2e/wine_session.sh
source "$repo/tests/e2e/wine_session.sh"
trap wine_session_stop EXIT
trap 'exit 130' INT TERM

summary=()
passed_total=0
failed_total=0
status=0

# step NAME COMMAND...: runs one step, remembers its outcome and time.
step() {
  local name="$1"
  shift
  echo
  echo "==== $name"
  local started=$SECONDS
  "$@"
  local code=$?
  local outcome="ok"
  [ "$code" -eq 0 ] || { outcome="FAILED ($code)"; status=1; }
  summary+=("$(printf '%-18s %-12s %4ds' "$name" "$outcome" $((SECONDS - started)))")
  return "$code"
}

not_run() {
  summary+=("$(printf '%-18s %s' "$1" "not run")")
}

# run_ctest LOG ARGS...: ctest with its output kept, counts added to the totals.
run_ctest() {
  local log="$1"
  shift
  timeout 1500 ctest --output-on-failure "$@" 2>&1 | tee "$log"
  local code=${PIPESTATUS[0]}
  local counts
  counts="$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)"
  if [ -n "$counts" ]; then
    local failed="${counts%% *}" total="${counts##* }"
    passed_total=$((passed_total + total - failed))
    failed_total=$((failed_total + failed))
  elif [ "$code" -ne 0 ]; then
    failed_total=$((failed_total + 1))
  fi
  return "$code"
}

# The cases that need two monitors, in a Wine session of their own (prefix, server, displays)
# that ends with the subshell; the totals come back through a file.
two_monitor_tests() (
  trap wine_session_stop EXIT
  local code=1
  if wine_session_start "$build_root/wine-monitors" two_monitors; then
    run_ctest "$windows/ctest-monitors.log" --test-dir "$windows" -R '^TwoMonitors[.]'
    code=$?
  else
    failed_total=$((failed_total + 1))
  fi
  echo "$passed_total $failed_total" >"$windows/ctest-monitors.counts"
  exit "$code"
)

# Includes under src/ run one way down the layers.
step "include check" python3 "$repo/tools/check_includes.py"

# The artwork's generator: its codecs and drawings, and that the committed files match it.
step "art checks" bash -c "cd '$repo' && python3 -m unittest discover -q -s tools/art && python3 tools/art/draw_icons.py --check >/dev/null"

# The page kit: npm packages from the committed lock file, the type declarations compiled with
# a usage file and the reference page's script, then the reference page in headless Chromium
# with the scripts the native build's page_scripts prints.
page_kit() {
  local dir="$repo/tests/page" log="$build_root/page/test.log"
  mkdir -p "$build_root/page"
  if ! (cd "$dir" && npm ci --no-audit --no-fund --loglevel=error) || ! "$dir/node_modules/.bin/tsc" -p "$dir"; then
    failed_total=$((failed_total + 1))
    return 1
  fi
  PAGE_SCRIPTS="$native/tests/page/page_scripts" PAGE_SCREENSHOT="$build_root/page/reference-page.png" \
    timeout 300 node --test --test-reporter=tap "$dir/page_test.mjs" 2>&1 | tee "$log"
  local code=${PIPESTATUS[0]} pass fail
  pass="$(sed -n 's/^# pass //p' "$log")"
  fail="$(sed -n 's/^# fail //p' "$log")"
  passed_total=$((passed_total + ${pass:-0}))
  failed_total=$((failed_total + ${fail:-1}))
  return "$code"
}

native="$build_root/native"
windows="$build_root/windows"

if step "native configure" cmake -S "$repo" -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ &&
   step "native build" cmake --build "$native" -j "$jobs"; then
  step "native tests" run_ctest "$native/ctest.log" --test-dir "$native" -j "$jobs"
  step "page kit" page_kit
else
  not_run "native tests"
  not_run "page kit"
fi

if step "windows configure" cmake -S "$repo" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
     -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" &&
   step "windows build" cmake --build "$windows" -j "$jobs"; then
  if step "wine session" wine_session_start "$build_root/wine"; then
    step "wine tests" run_ctest "$windows/ctest.log" --test-dir "$windows" -j "$jobs" -E '^TwoMonitors[.]'
  else
    not_run "wine tests"
  fi
  step "two monitors" two_monitor_tests
  read -r passed_total failed_total <"$windows/ctest-monitors.counts"
else
  not_run "wine tests"
  not_run "two monitors"
fi

echo
echo "==== summary"
printf '%s\n' "${summary[@]}"
echo "wall time: ${SECONDS}s"
echo "total: $passed_total passed, $failed_total failed"
exit "$status"
