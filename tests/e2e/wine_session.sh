# One Wine session for a test run, sourced by scripts/test.sh: an Xvfb display large enough for
# a 144-DPI main window, a fresh prefix with every setting the end-to-end tests rely on, and a
# wineserver kept up between the short-lived test processes.
#
#   wine_session_start DIR   makes DIR anew and exports WINEPREFIX, DISPLAY, WINEDEBUG,
#                            WINEDLLOVERRIDES and WISPERMOTH_OPENED_LOG
#   wine_session_stop        ends the wineserver and the display (call it from an exit trap)

wine_session_xvfb_pid=""
wine_session_prefix=""

wine_session_start() {
  local dir="$1"
  rm -rf "$dir"
  mkdir -p "$dir"

  # -displayfd picks a free display and reports its number once the server accepts clients.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 &
  wine_session_xvfb_pid=$!
  local tries=0
  until [ -s "$dir/display" ]; do
    tries=$((tries + 1))
    if [ "$tries" -gt 100 ] || ! kill -0 "$wine_session_xvfb_pid" 2>/dev/null; then
      echo "Xvfb did not start:" >&2
      cat "$dir/xvfb.log" >&2
      return 1
    fi
    sleep 0.1
  done
  export DISPLAY=":$(head -n 1 "$dir/display")"

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

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$dir/record-opened.sh"
"Mailers"="$dir/record-opened.sh"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
REG
  local windows_reg="Z:${dir//\//\\}\\settings.reg"
  # The first Wine process after the prefix was made occasionally fails to start: try again.
  local attempt
  for attempt in 1 2 3; do
    timeout 60 wine reg import "$windows_reg" >"$dir/reg.log" 2>&1 && return 0
    sleep 1
  done
  echo "importing the Wine settings failed:" >&2
  cat "$dir/reg.log" >&2
  return 1
}

wine_session_stop() {
  if [ -n "$wine_session_prefix" ]; then
    WINEPREFIX="$wine_session_prefix" timeout 30 wineserver -k 2>/dev/null || true
    wine_session_prefix=""
  fi
  if [ -n "$wine_session_xvfb_pid" ]; then
    kill "$wine_session_xvfb_pid" 2>/dev/null || true
    wait "$wine_session_xvfb_pid" 2>/dev/null || true
    wine_session_xvfb_pid=""
wine_session_prefix=""
  fi
}
