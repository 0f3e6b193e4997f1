#!/usr/bin/env bash
# Builds bench/compare in build-compare/ (RelWithDebInfo, with the tool) and runs it.
#   bash bench/compare/run.sh [--install] [compare options: --size MB --format-size MB --dir DIR]
# --install first installs libxml2, xmllint, expat and pugixml from Debian when missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
if [ "${1:-}" = "--install" ]; then
  shift
  packages=(libxml2-dev libxml2-utils libexpat1-dev libpugixml-dev)
  missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
fi
lock=/tmp/quillet-build.lock
cmake -S . -B build-compare -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLET_BUILD_COMPARE=ON \
  -DQUILLET_BUILD_TESTS=OFF >/dev/null
flock "$lock" cmake --build build-compare --target quillet_compare quillet_tool >/dev/null
# One measurement at a time on a quiet machine: the same lock the builds take.
flock "$lock" build-compare/bench/compare/quillet_compare --quillet build-compare/tools/quillet/quillet "$@"
