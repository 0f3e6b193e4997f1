#!/usr/bin/env bash
# Starts and stops the Wine prefix that the Windows tests run in.
#
#   wine-prefix.sh start WINE PREFIX   # make the prefix if needed; start its server
#   wine-prefix.sh stop WINE PREFIX    # stop the server and every program of the prefix
#
# WINE is Wine's loader for the tests' architecture (/usr/lib/wine/wine64 on Debian).
# The server is started persistent and detached from this script's output: Wine's
# helper programs (services.exe and the like) live as long as it does, and any of them
# holding CTest's output pipe would keep CTest waiting after the last test.
set -euo pipefail
action=${1:?start or stop} wine=${2:?Wine loader} prefix=${3:?prefix directory}
# Wine takes its ANSI code page from the locale: C gives 1252, which the tests expect.
export LC_ALL=C.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml="
unset DISPLAY WAYLAND_DISPLAY
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver

case $action in
  start)
    mkdir -p "$prefix"
    "$server" -p </dev/null >/dev/null 2>&1 || true  # fails when it runs already
    # wineboot makes a new prefix (about ten seconds; without a 32-bit Wine it reports
    # that syswow64\rundll32.exe is missing, which does not matter to 64-bit programs)
    # and starts the helper programs of an existing one, here, with their output in a
    # log instead of the first test's.
    init=()
    [ -d "$prefix/drive_c/windows/system32" ] || init=(-i)
    if ! timeout 300 "$wine" wineboot "${init[@]}" </dev/null >"$prefix/wineboot.log" 2>&1; then
      cat "$prefix/wineboot.log" >&2
      echo "wine-prefix.sh: wineboot failed for $prefix" >&2
      exit 1
    fi
    ;;
  stop)
    "$server" -k </dev/null >/dev/null 2>&1 || true  # nothing to stop is fine
    ;;
  *)
    echo "wine-prefix.sh: unknown action '$action'" >&2
    exit 2
    ;;
esac
