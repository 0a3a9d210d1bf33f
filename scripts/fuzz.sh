#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each for the
# given number of seconds (default 5), one after the other.
#   scripts/fuzz.sh [seconds] [target...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_root=${VELMO_BUILD_ROOT:-$root/build}
seconds=${1:-5}
shift || true
dir=$build_root/fuzz
if [ ! -f "$dir/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMO_FUZZ=ON >/dev/null
fi
cmake --build "$dir" --parallel "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find "$dir/tests/fuzz" -maxdepth 1 -type f -name '*_fuzz' -perm -u+x -printf '%f\n' | sort)
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets"; exit 0; }
for target in "${targets[@]}"; do
  corpus=$dir/corpus/$target
  mkdir -p "$corpus"
  seeds=$root/tests/fuzz/seeds/${target%_fuzz}
  [ -d "$seeds" ] || seeds=
  echo "== fuzz $target for ${seconds}s"
  log=$dir/$target.log
  if ! "$dir/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
      -print_final_stats=1 "$corpus" $seeds >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz: $target failed (log: $log)" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units' "$log" || true
done
