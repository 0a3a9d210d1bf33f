#!/usr/bin/env bash
# The main job: sets up, builds the Windows programs, prepares a program
# directory with Velmo.exe, launcher.exe and UpDate.exe in a temporary
# directory and starts launcher.exe under Wine, which records Velmo.exe in
# Config.ini and starts UpDate.exe with the access key.
# With a display the window is yours to use; close it to end the demo.
# Without one it runs on Xvfb, writes a screenshot of the window to
# build/screenshots/demo-window.png (or $1) and ends.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}
tree=$build_root/win64
out=${1:-$build_root/screenshots/demo-window.png}

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" win64

program_dir=$(mktemp -d /tmp/velmo-demo.XXXXXX)
had_display=${DISPLAY:-}
trap '"$tree/wine-run" stop; rm -rf "$program_dir"' EXIT
cp "$tree/standins/Velmo.exe" "$tree/launcher/launcher.exe" "$tree/updater/UpDate.exe" "$program_dir/"
echo "demo: program directory $program_dir"

"$tree/wine-run" start
eval "$("$tree/wine-run" env | sed 's/^/export /')"
"$tree/wine-run" exec "$program_dir/launcher.exe"
"$tree/wine-run" exec "$tree/tools/ui-driver.exe" wait-window UpDate-Velmo 30000
echo "demo: Config.ini now holds: $(tr -d '\r' <"$program_dir/Config.ini" | tr '\n' ' ')"

if [ -n "$had_display" ]; then
  echo "demo: the update window is open; close it to end the demo"
  while "$tree/wine-run" exec "$tree/tools/ui-driver.exe" wait-window UpDate-Velmo 1000 >/dev/null; do
    sleep 1
  done
else
  mkdir -p "$(dirname "$out")"
  sleep 1
  import -window root "$out"
  echo "demo: screenshot of the update window: $out"
  "$tree/wine-run" exec "$tree/tools/ui-driver.exe" close-window UpDate-Velmo 10000 >/dev/null
fi
echo "demo: done"
