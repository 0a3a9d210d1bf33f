#!/usr/bin/env bash
# Runs every test: setup, build of all trees, the native tests (sanitized),
# the Windows tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" native win64 win32

echo "== native tests"
ctest --test-dir "$build_root/native" --output-on-failure --parallel "$(nproc)"
echo "== Windows tests under Wine"
ctest --test-dir "$build_root/win64" --output-on-failure
