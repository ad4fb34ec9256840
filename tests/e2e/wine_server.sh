#!/bin/sh
# Starts or stops the persistent wine server of the test runs (WINEPREFIX set by the caller).
set -e
wine=${QUENMAREL_WINE:-/usr/lib/wine/wine64}
wine_dir=$(dirname "$(readlink -f "$wine")")
wineserver=$wine_dir/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

start_server() {
  mkdir -p "$WINEPREFIX"
  # The server and wine's helper processes outlive this script; they must not
  # hold the caller's output pipes open, or the caller waits for them forever.
  "$wineserver" -p >/dev/null 2>&1 </dev/null
}

# The first program start creates the prefix; do it once, here, not in a case.
first_program() {
  timeout 300 "$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1
}

case "$1" in
  start)
    start_server
    if ! first_program; then
      # A prefix made before wine32 was installed starts no program afterwards
      # ("could not load kernel32.dll"); it holds nothing of value, so make it anew.
      "$wineserver" -k || true
      "$wineserver" -w || true
      rm -rf "$WINEPREFIX"
      start_server
      first_program || true
    fi
    # A second drive, D:, for cases that name one.
    mkdir -p "$WINEPREFIX/drive_d"
    ln -sfn ../drive_d "$WINEPREFIX/dosdevices/d:"
    ;;
  stop)
    "$wineserver" -k || true
    ;;
esac
