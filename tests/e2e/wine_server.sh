#!/bin/sh
# Starts or stops the persistent wine server of the test runs (WINEPREFIX set by the caller).
set -e
wine_dir=$(dirname "$(readlink -f "${QUENMAREL_WINE:-/usr/lib/wine/wine64}")")
wineserver=$wine_dir/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
case "$1" in
  start)
    mkdir -p "$WINEPREFIX"
    # The server and wine's helper processes outlive this script; they must not
    # hold the caller's output pipes open, or the caller waits for them forever.
    "$wineserver" -p >/dev/null 2>&1 </dev/null
    # The first program start creates the prefix; do it once, here, not in a case.
    timeout 300 "${QUENMAREL_WINE:-/usr/lib/wine/wine64}" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
    # A second drive, D:, for cases that name one.
    mkdir -p "$WINEPREFIX/drive_d"
    ln -sfn ../drive_d "$WINEPREFIX/dosdevices/d:"
    ;;
  stop)
    "$wineserver" -k || true
    ;;
esac
