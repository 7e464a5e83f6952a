#!/usr/bin/env bash
# Runs a Windows test program under Wine for ctest. Wine now and then fails to start a process at
# all: the program then ends at once without printing a line, which a test program that ran
# never does. Only that is retried, once, and said; a second such failure, or any other, stands.
set -u
output="$(mktemp)"
trap 'rm -f "$output"' EXIT
for attempt in 1 2; do
  wine "$@" 2>&1 | tee "$output"
  code=${PIPESTATUS[0]}
  if [ "$code" -eq 0 ] || [ -s "$output" ]; then exit "$code"; fi
  [ "$attempt" -eq 1 ] && echo "Wine did not start $1 (exit $code, no output); starting it once more"
done
echo "Wine did not start $1 the second time either"
exit "$code"
