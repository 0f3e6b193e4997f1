#!/usr/bin/env bash
# Builds the tool and runs the main job on a sandbox prefix in the build folder:
# set up HTML Help's files, install a help title under a two-level folder path, look
# at the result, remove it again and look once more.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quillet_tool
q=build/tools/quillet/quillet
sandbox="$PWD/build/sandbox"
rm -rf "$sandbox"
# Shows each command as it would be typed (arguments with a backslash or a space in
# single quotes), then runs it on the sandbox.
run() {
  local shown="\$ quillet" a
  for a in "$@"; do
    if [[ $a == *[\\\ ]* ]]; then shown+=" '$a'"; else shown+=" $a"; fi
  done
  echo "$shown"
  "$q" --prefix "$sandbox" "$@"
  echo
}
say() { echo "# $*"; }

run version
run init
run where

say "A compiled help title: small placeholder CHM and CHI files, at C:\\titles in the sandbox."
mkdir -p "$sandbox/drive_c/titles"
printf 'placeholder CHM\n' >"$sandbox/drive_c/titles/sample.chm"
printf 'placeholder CHI\n' >"$sandbox/drive_c/titles/sample.chi"
echo

say "Register it and hang it into the default collection under Tools\\Editors."
run install --id SampleGuide --chm 'C:\titles\sample.chm' --chi 'C:\titles\sample.chi' --folder 'Tools\Editors'
say "The registry's title entries (one JSON object per title):"
run titles
say "The default collection's folders; the title is the folder \"=SampleGuide\":"
run folders

say "Remove the title's entry and the Tools folder with everything in it."
run remove --id SampleGuide --folder 'Tools'
run titles
run folders
say "Both are empty again."
