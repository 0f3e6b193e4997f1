#!/usr/bin/env bash
# Builds the tool and runs the main job on a sandbox prefix in the build folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target quillet_tool
q=build/tools/quillet/quillet
sandbox="$PWD/build/sandbox"
rm -rf "$sandbox"
run() { echo "\$ quillet $*"; "$q" --prefix "$sandbox" "$@"; echo; }
run version
run init
run where
