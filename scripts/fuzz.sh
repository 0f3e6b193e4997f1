#!/usr/bin/env bash
# Fuzzes every target in fuzz/ for SECONDS each (default 60) with libFuzzer, under
# AddressSanitizer and UndefinedBehaviorSanitizer. Needs clang++ and its runtime
# (Debian's clang-14 and libclang-rt-14-dev); without them it says so and does
# nothing. Each run starts from the target's corpus in fuzz/corpus/ and, for the
# reader's targets, from the W3C XML conformance suite when ../shared has it; new
# inputs go to build-fuzz/corpus/, never into the source tree. A crash leaves its
# input in build-fuzz/ and makes the script fail: add it to the corpus with the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
clang=$(command -v clang++-14 || command -v clang++ || true)
# The probe links into a file of its own: a linker replaces its output file, and run
# as root it would replace /dev/null with a plain file.
mkdir -p build-fuzz
if [ -z "$clang" ] || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
    "$clang" -x c++ -fsanitize=fuzzer - -o build-fuzz/probe 2>/dev/null; then
  echo "fuzz: no clang++ with libFuzzer here; skipped (the corpora still run as tests)"
  exit 0
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER="$clang" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILLET_SANITIZE=ON -DQUILLET_BUILD_FUZZ=ON -DQUILLET_BUILD_TESTS=OFF -DQUILLET_BUILD_TOOL=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)"

seeds=""
if [ -f ../shared/testdata/xmlts20130923.zip ]; then
  seeds=build-fuzz/w3c-seeds
  if [ ! -d "$seeds" ]; then
    mkdir -p build-fuzz/w3c && unzip -q -o ../shared/testdata/xmlts20130923.zip -d build-fuzz/w3c
    mkdir -p "$seeds"
    # The suite's documents, each behind a switches byte of 0 (the loader's settings).
    find build-fuzz/w3c -name '*.xml' -size -16k | head -2000 | while read -r f; do
      { printf '\0'; cat "$f"; } >"$seeds/$(echo "$f" | md5sum | cut -c1-16)"
    done
  fi
fi

status=0
for target in load_write_fuzz roundtrip_fuzz dtd_fuzz declaration_fuzz registry_fuzz api_fuzz path_fuzz; do
  work="build-fuzz/corpus/$target"
  mkdir -p "$work"
  extra=()
  case "$target" in load_write_fuzz | roundtrip_fuzz) [ -n "$seeds" ] && extra=("$seeds") ;; esac
  echo "== fuzz $target for ${seconds}s"
  if ! (cd build-fuzz && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
        "fuzz/$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 \
        -print_final_stats=1 "corpus/$target" "../fuzz/corpus/$target" "${extra[@]/#/../}" 2>&1 |
        grep -E 'stat::number_of_executed_units|Done|ERROR|SUMMARY|==[0-9]+==|fuzz check failed|Test unit' ); then
    :
  fi
  found=$(find build-fuzz -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \))
  if [ -n "$found" ]; then
    echo "fuzz: $target found a failing input:"; echo "$found"
    status=1
    break
  fi
done
exit $status
