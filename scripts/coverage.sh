#!/usr/bin/env bash
# Builds with gcov instrumentation, runs every test and prints a summary of the lines
# and branches of src/ that the tests reach (gcovr). Pass --html DIR for a report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
html=""
[ "${1:-}" = "--html" ] && html="${2:?--html needs a folder}"
cmake -S . -B build-coverage -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLET_COVERAGE=ON -DQUILLET_WERROR=ON >/dev/null
cmake --build build-coverage -j "$(nproc)"
find build-coverage -name '*.gcda' -delete
ctest --test-dir build-coverage -j "$(nproc)" --output-on-failure --timeout 600 >/dev/null
# Only the portable backend runs here; the Win32 one is measured under Wine, if at all.
args=(--root . --filter 'src/' --exclude 'src/platform/win32/' --exclude-unreachable-branches
      --exclude-throw-branches --print-summary build-coverage)
if [ -n "$html" ]; then
  mkdir -p "$html"
  gcovr "${args[@]}" --html-details "$html/index.html"
else
  gcovr "${args[@]}" --txt build-coverage/coverage.txt  # not /dev/null: gcovr deletes the file it tries
fi
