#!/usr/bin/env bash
# Download benchmark of the HTTP client: 256 MiB from a loopback server with
# download_to_file and a progress callback, against bare WinHttp read loops,
# all under Wine in one run. Builds what it needs in the win64 tree.
#   scripts/bench-net.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}
tree=$build_root/win64
if [ ! -f "$tree/build.ninja" ]; then
  bash "$root/scripts/build.sh" win64 >/dev/null
fi
cmake --build "$tree" --target net_download_bench_win32 >/dev/null
"$tree/wine-run" exec "$tree/tests/win32/net_download_bench_win32.exe"
