#!/usr/bin/env bash
# Builds everything and runs every test: a build with coverage instrumentation (whose
# summary it prints), a build under AddressSanitizer and UndefinedBehaviorSanitizer,
# a short libFuzzer run of every fuzz target (where clang is installed), and the
# Windows cross build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
started=$SECONDS
step() { echo "== $* ($((SECONDS - started)) s)"; }

step "build and test, with coverage"
cmake -S . -B build-coverage -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_COVERAGE=ON -DQUILLET_BUILD_BENCH=ON \
  -DQUILLET_WERROR=ON >/dev/null
cmake --build build-coverage -j "$jobs"
find build-coverage -name '*.gcda' -delete
ctest --test-dir build-coverage --output-on-failure -j "$jobs" --timeout 900
step "coverage of src/"
gcovr --root . --filter 'src/' --exclude 'src/platform/win32/' --exclude-unreachable-branches \
  --exclude-throw-branches --print-summary --txt /dev/null build-coverage

step "build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900

step "fuzz every target for a short while"
bash scripts/fuzz.sh "${QUILLET_FUZZ_SECONDS:-20}"

step "Windows cross build (x86_64-w64-mingw32)"
cmake -S . -B build-mingw -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DQUILLET_WERROR=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_TOOL=OFF >/dev/null
cmake --build build-mingw -j "$jobs"
ls -l build-mingw/src/QUILLET.dll
step "done"
