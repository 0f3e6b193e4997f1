#!/usr/bin/env bash
# The Linux quillet (on the Wine prefix through --prefix) and quillet.exe under Wine
# take turns on one prefix: installing, listing and removing help titles, names in code
# page 1252 among them. Every step is run by both tools from the same two files, and
# the two must agree byte for byte: the collection registry and the default collection
# they leave, what they print, and their exit code. The next step starts from the files
# one of them wrote, each tool in turn, so each reads what the other wrote.
#
#   cross-check.sh LINUX_QUILLET QUILLET_EXE WINE PREFIX
#
# WINE is Wine's loader for quillet.exe; PREFIX a Wine prefix (made when missing). The
# prefix's HTML Help files and settings are replaced by new ones.
set -euo pipefail
linux=${1:?the Linux quillet} exe=${2:?quillet.exe} wine=${3:?Wine loader} prefix=${4:?Wine prefix}
here=$(cd "$(dirname "$0")" && pwd)
# Wine takes its ANSI code page from the locale: C gives 1252, which the tests expect.
export LC_ALL=C.UTF-8 WINEPREFIX=$prefix WINEDEBUG=-all
unset DISPLAY WAYLAND_DISPLAY
server=$(dirname "$wine")/wineserver
[ -x "$server" ] || server=wineserver
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
  echo "FAILED: $*" >&2
  failures=$((failures + 1))
}

# A fresh HTML Help set-up, made by the Linux tool's init. Wine keeps the registry in
# its server while it runs and writes it back when it stops, so init edits system.reg
# only while the server is stopped.
"$here/wine-prefix.sh" start "$wine" "$prefix"
"$wine" reg delete 'HKLM\SOFTWARE\Microsoft\HTML Help Collections' /f </dev/null >/dev/null 2>&1 || true
"$server" -k </dev/null >/dev/null 2>&1 || true
help=$prefix/drive_c/windows/help  # Wine makes it in lower case
rm -f "$help"/hhcolreg.* "$help"/HHCOLREG.* "$help"/quillet.col "$help"/quillet.bak
"$linux" --prefix "$prefix" init >/dev/null 2>"$work/init.err" || { cat "$work/init.err" >&2; exit 1; }
"$here/wine-prefix.sh" start "$wine" "$prefix"
registry=$help/hhcolreg.dat
collection=$help/quillet.col
titles=$prefix/drive_c/titles
mkdir -p "$titles"
for name in guide Übersicht; do
  printf 'compiled help\n' >"$titles/$name.chm"
  printf 'index\n' >"$titles/$name.chi"
done

run_linux() { "$linux" --prefix "$prefix" "$@"; }
# Windows programs end their lines with CR LF.
run_windows() { timeout 120 "$wine" "$exe" "$@" </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# Runs one step with both tools, from the same files; keeps the files of `keep`.
turn=0
both() {
  turn=$((turn + 1))
  local tool code shown="quillet $*"
  cp "$registry" "$work/before.dat"
  cp "$collection" "$work/before.col"
  for tool in linux windows; do
    cp "$work/before.dat" "$registry"
    cp "$work/before.col" "$collection"
    code=0
    "run_$tool" "$@" >"$work/$tool.out" 2>"$work/$tool.err" || code=$?
    echo "$code" >"$work/$tool.code"
    cp "$registry" "$work/$tool.dat"
    cp "$collection" "$work/$tool.col"
  done
  local keep=linux
  [ $((turn % 2)) -eq 0 ] && keep=windows
  cp "$work/$keep.dat" "$registry"
  cp "$work/$keep.col" "$collection"

  echo "== $shown (exit code $(cat "$work/linux.code"); files kept from the $keep tool)"
  cat "$work/linux.out"
  cmp -s "$work/linux.code" "$work/windows.code" ||
    fail "$shown: exit code $(cat "$work/linux.code") on Linux, $(cat "$work/windows.code") on Windows"
  diff -u --label Linux --label Windows "$work/linux.out" "$work/windows.out" ||
    fail "$shown: the tools print different things"
  cmp "$work/linux.dat" "$work/windows.dat" || fail "$shown: the registries differ"
  cmp "$work/linux.col" "$work/windows.col" || fail "$shown: the collections differ"
  if [ "$(cat "$work/linux.code")" != "${expect:-0}" ]; then
    cat "$work/linux.err" "$work/windows.err" >&2
    fail "$shown: exit code $(cat "$work/linux.code"), expected ${expect:-0}"
  fi
}

both titles
both install --id Guide --chm 'C:\titles\guide.chm' --chi 'C:\titles\guide.chi' --folder 'Tools\Editors'
both install --id 'Über €' --chm 'C:\titles\Übersicht.chm' --chi 'C:\titles\Übersicht.chi' --folder 'Café\Œuvre'
both titles
both folders --json
both install --id Guide --chm 'C:\titles\guide.chm' --chi 'C:\titles\guide.chi' --folder 'Tools\Other'
expect=2 both install --id 'Д' --chm 'C:\titles\guide.chm' --chi 'C:\titles\guide.chi'
expect=7 both install --id Missing --chm 'C:\titles\missing.chm' --chi 'C:\titles\guide.chi'
both remove --id Guide --folder 'Tools\Editors'
both folders
both remove --id 'Über €' --folder 'Café'
both titles
both folders --json
# Nothing but the two files: no temporary left behind, no second file whose name
# differs only in letter case.
leftover=$(cd "$help" && ls -A | grep -i -E '^(hhcolreg|quillet)\.' | grep -v -x -E 'hhcolreg\.(dat|lck)|quillet\.col' || true)
[ -z "$leftover" ] || fail "files left in C:\\windows\\help: $leftover"

if [ "$failures" -gt 0 ]; then
  echo "cross-check: $failures failures" >&2
  exit 1
fi
echo "cross-check: the Linux tool and quillet.exe agree on all $turn steps"
