#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are missing.
#   bash scripts/deps.sh            # the Linux build, its tests and the 64-bit DLL
#   bash scripts/deps.sh windows    # also the Windows builds' tests: both -posix mingw
#                                   # compilers, clang (Microsoft's export names) and Wine
set -euo pipefail
packages=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
          libcli11-dev nlohmann-json3-dev g++-mingw-w64-x86-64-posix python3 unzip gcovr
          clang-14 libclang-rt-14-dev)
if [ "${1:-}" = "windows" ]; then
  # wine64 alone runs 64-bit programs; the 32-bit loader (wine32) is not wanted.
  packages+=(g++-mingw-w64-i686-posix clang wine wine64)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
