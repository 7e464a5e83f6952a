#!/usr/bin/env bash
# Installs what is missing, builds wispermoth.exe and starts it under Wine with the stand-in
# WebView2 runtime, on this display ($DISPLAY), or on a virtual one when there is none.
#   scripts/run.sh                    run until the window is closed
#   scripts/run.sh --screenshot FILE  take a screenshot of the running shell, then close it
# STANDIN_REDIRECT=<address> sends the first page elsewhere (tests/standin/PROTOCOL.md), e.g. to
# see the strip a window shows over a page that is not the application's.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
screenshot=""
if [ "${1:-}" = "--screenshot" ]; then screenshot="${2:-$root/build/screenshot.png}"; fi

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

export WINEPREFIX="$root/build/wine-run"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=""
cleanup() {
  timeout 30 wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ -n "$screenshot" ]; then
  mkdir -p "$root/build"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$root/build/run-display" >/dev/null 2>&1 &
  xvfb_pid=$!
  until [ -s "$root/build/run-display" ]; do sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$root/build/run-display")"
  echo "no display of yours: running on the virtual display $DISPLAY"
fi

if [ ! -d "$WINEPREFIX" ]; then
  echo "making the Wine prefix (once)"
  timeout 180 wineboot -i >/dev/null 2>&1
  timeout 60 wineserver -w
fi

standin="$root/build/windows/standin/120.0.2210.91"
export WEBVIEW2_BROWSER_EXECUTABLE_FOLDER="Z:${standin//\//\\}"
echo "starting wispermoth.exe"
if [ -z "$screenshot" ]; then
  exec timeout 86400 wine "$root/build/windows/wispermoth.exe"
fi

timeout 60 wine "$root/build/windows/wispermoth.exe" &
shell_pid=$!
sleep 5
import -window root "$screenshot"
echo "screenshot: $screenshot"
kill "$shell_pid" 2>/dev/null || true
