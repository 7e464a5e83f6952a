# One Wine session for a test run, sourced by scripts/test.sh: an Xvfb display large enough for
# a 144-DPI main window, a fresh prefix with every setting the end-to-end tests rely on, and a
# wineserver kept up between the short-lived test processes.
#
#   wine_session_start DIR [two_monitors]
#                            makes DIR anew and exports WINEPREFIX, DISPLAY, WINEDEBUG,
#                            WINEDLLOVERRIDES and WISPERMOTH_OPENED_LOG; with two_monitors the
#                            display is a Xephyr nested in the Xvfb with two Xinerama screens,
#                            1920x1080 at (0,0) and 1280x1024 at (1920,0)
#   wine_session_stop        ends the wineserver and the displays (call it from an exit trap)

wine_session_xvfb_pid=""
wine_session_xephyr_pid=""
wine_session_prefix=""

# wine_session_wait_for_display NAME PID FILE: waits until the server reported its display.
wine_session_wait_for_display() {
  local tries=0
  until [ -s "$3" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$2" 2>/dev/null; then
      echo "$1 did not start" >&2
      return 1
    fi
    sleep 0.1
  done
}

wine_session_start() {
  local dir="$1"
  local monitors="${2:-}"
  rm -rf "$dir"
  mkdir -p "$dir"

  # -displayfd picks a free display and reports its number once the server accepts clients.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  wine_session_xvfb_pid=$!
  wine_session_wait_for_display Xvfb "$wine_session_xvfb_pid" "$dir/display" || { cat "$dir/xvfb.log" >&2; return 1; }
  export DISPLAY=":$(head -n 1 "$dir/display")"

  local xrandr=""
  if [ "$monitors" = two_monitors ]; then
    Xephyr -displayfd 3 +xinerama -screen 1920x1080 -screen 1280x1024 -nolisten tcp \
      3>"$dir/display2" >"$dir/xephyr.log" 2>&1 &
    wine_session_xephyr_pid=$!
    wine_session_wait_for_display Xephyr "$wine_session_xephyr_pid" "$dir/display2" ||
      { cat "$dir/xephyr.log" >&2; return 1; }
    export DISPLAY=":$(head -n 1 "$dir/display2")"
    # Without XRandR, Wine takes the monitors from Xinerama.
    xrandr='"UseXRandR"="N"'
  fi

  export WINEPREFIX="$dir/prefix"
  wine_session_prefix="$WINEPREFIX"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if ! timeout 180 wineboot -i >"$dir/wineboot.log" 2>&1 || ! timeout 60 wineserver -w; then
    echo "making the Wine prefix failed:" >&2
    cat "$dir/wineboot.log" >&2
    return 1
  fi
  timeout 30 wineserver -p

  # ShellExecute hands addresses to winebrowser, which runs the registered browser or mailer
  # with the address as its argument: record it instead.
  export WISPERMOTH_OPENED_LOG="$dir/opened.log"
  : >"$WISPERMOTH_OPENED_LOG"
  cat >"$dir/record-opened.sh" <<SCRIPT
#!/bin/sh
printf '%s\n' "\$*" >>'$WISPERMOTH_OPENED_LOG'
SCRIPT
  chmod +x "$dir/record-opened.sh"

  # Managed="N": without a window manager, destroying a resizable window otherwise stalls.
  cat >"$dir/settings.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
$xrandr

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$dir/record-opened.sh"
"Mailers"="$dir/record-opened.sh"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  local windows_reg="Z:${dir//\//\\}\\settings.reg"
  # The first Wine process after the prefix was made occasionally fails to start: try again.
  local attempt
  local imported=""
  for attempt in 1 2 3; do
    timeout 60 wine reg import "$windows_reg" >"$dir/reg.log" 2>&1 && { imported=1; break; }
    sleep 1
  done
  if [ -z "$imported" ]; then
    echo "importing the Wine settings failed:" >&2
    cat "$dir/reg.log" >&2
    return 1
  fi
  [ -n "$xrandr" ] || return 0
  # The desktop read the monitors when the prefix was made: start it again with the setting,
  # and its services with it, whose output must not hold a test's pipes open.
  timeout 30 wineserver -k
  timeout 30 wineserver -w
  timeout 30 wineserver -p
  timeout 60 wineboot >"$dir/restart.log" 2>&1
}

wine_session_stop() {
  if [ -n "$wine_session_prefix" ]; then
    WINEPREFIX="$wine_session_prefix" timeout 30 wineserver -k 2>/dev/null || true
    wine_session_prefix=""
  fi
  if [ -n "$wine_session_xephyr_pid" ]; then
    kill "$wine_session_xephyr_pid" 2>/dev/null || true
    wait "$wine_session_xephyr_pid" 2>/dev/null || true
    wine_session_xephyr_pid=""
  fi
  if [ -n "$wine_session_xvfb_pid" ]; then
    kill "$wine_session_xvfb_pid" 2>/dev/null || true
    wait "$wine_session_xvfb_pid" 2>/dev/null || true
    wine_session_xvfb_pid=""
wine_session_prefix=""
  fi
}
