#!/usr/bin/env bash
# Builds everything and runs every test: a normal build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows cross build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_BENCH=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== Windows cross build (x86_64-w64-mingw32)"
cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUILLET_WERROR=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_TOOL=OFF >/dev/null
cmake --build build-mingw -j "$jobs"
ls -l build-mingw/src/QUILLET.dll
