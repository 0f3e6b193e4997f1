#!/usr/bin/env bash
# Builds everything and runs every test: a build with coverage instrumentation (whose
# summary it prints), a build under AddressSanitizer and UndefinedBehaviorSanitizer,
# a short libFuzzer run of every fuzz target (where clang is installed), and the
# Windows builds with their tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# A /dev/null that a process run as root replaced with a plain file breaks every step
# that writes to or reads from it: put the device back where we may.
if [ ! -c /dev/null ] && [ "$(id -u)" = 0 ]; then
  echo "test: /dev/null is not the null device; making it again" >&2
  rm -f /dev/null && mknod -m 666 /dev/null c 1 3
fi
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
# The report goes to a file: gcovr tries an output file by creating and deleting it,
# which run as root would delete /dev/null.
gcovr --root . --filter 'src/' --exclude 'src/platform/win32/' --exclude-unreachable-branches \
  --exclude-throw-branches --print-summary --txt build-coverage/coverage.txt build-coverage

step "build and test under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_SANITIZE=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900

step "fuzz every target for a short while"
bash scripts/fuzz.sh "${QUILLET_FUZZ_SECONDS:-20}"

# Windows: QUILLET.dll and quillet.exe for 64-bit and 32-bit Windows. Both export
# tables are checked; the 64-bit programs also run under Wine (this machine cannot run
# 32-bit ones): the test suite, the calling example and the cross-check with the Linux
# tool built above. CTest starts Wine itself, detached from its output, and stops it at
# the end; the stop below also covers a CTest that the time limit ended.
step "Windows builds (x86_64 and i686) and their tests under Wine"
bash scripts/deps.sh windows
for arch in x86_64 i686; do
  cmake -S . -B "build-win-$arch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DQUILLET_WERROR=ON \
    -DQUILLET_LINUX_TOOL="$PWD/build-coverage/tools/quillet/quillet" >/dev/null
  cmake --build "build-win-$arch" -j "$jobs"
done
status=0
for arch in i686 x86_64; do
  timeout --kill-after=30 900 ctest --test-dir "build-win-$arch" --output-on-failure --timeout 300 || status=1
done
bash tests/windows/wine-prefix.sh stop /usr/lib/wine/wine64 "$PWD/build-win-x86_64/tests/windows/wineprefix"
step "done"
exit $status
