#!/usr/bin/env bash
# Starts UpDate.exe (x86_64 build) under Wine in a fresh program directory,
# waits for its window and writes a screenshot of the screen to the named
# file (default: build/screenshots/update-window.png). Uses Xvfb when there
# is no display. The updater is started with the sample key and closed again.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}
out=${1:-$build_root/screenshots/update-window.png}
tree=$build_root/win64
[ -x "$tree/updater/UpDate.exe" ] || bash "$root/scripts/build.sh" win64 >/dev/null
mkdir -p "$(dirname "$out")"
program_dir=$(mktemp -d /tmp/velmo-shot.XXXXXX)
trap '"$tree/wine-run" stop; rm -rf "$program_dir"' EXIT
cp "$tree/updater/UpDate.exe" "$program_dir/"

"$tree/wine-run" start
eval "$("$tree/wine-run" env | sed 's/^/export /')"
"$tree/wine-run" exec "$program_dir/UpDate.exe" c47e0f9a2d51b6e8f03a7c95d2e4b1f6 &
"$tree/wine-run" exec "$tree/tools/ui-driver.exe" wait-window UpDate-Velmo 30000
sleep 1  # let the first paint settle
import -window root "$out"
"$tree/wine-run" exec "$tree/tools/ui-driver.exe" close-window UpDate-Velmo 10000 >/dev/null
wait
echo "screenshot: $out"
