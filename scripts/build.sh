#!/usr/bin/env bash
# Configures and builds the three trees under build/ (or $VELMO_BUILD_ROOT):
#   native  the portable core, its tests and the server, under ASan and UBSan
#   win64   x86_64 Windows programs and tests (the ones that run under Wine)
#   win32   i686 Windows programs (the shipped build; compiled and linked only)
# Pass tree names to build only those: scripts/build.sh native win64
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}
trees=("$@")
[ ${#trees[@]} -gt 0 ] || trees=(native win64 win32)

configure() {  # tree, cmake arguments...
  local tree=$1; shift
  local dir=$build_root/$tree
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$dir" --parallel "$(nproc)"
}

for tree in "${trees[@]}"; do
  echo "== build $tree"
  case "$tree" in
    native) configure native -DCMAKE_BUILD_TYPE=Debug -DVELMO_SANITIZE=ON ;;
    release) configure release -DCMAKE_BUILD_TYPE=Release ;;
    win64) configure win64 -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-x86_64.cmake" ;;
    win32) configure win32 -DCMAKE_BUILD_TYPE=Release -DVELMO_RUN_WINDOWS_TESTS=OFF \
             -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" ;;
    *) echo "build.sh: unknown tree $tree" >&2; exit 2 ;;
  esac
done
