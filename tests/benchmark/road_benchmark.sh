#!/usr/bin/env bash
# tests/benchmark/road_benchmark.sh [RUNS]: how long the whole road takes under Wine, from
# Vexmend's start to the first window of the tool Quillet chose, beside the 5 s of pauses the
# programs make on purpose (Vexmend waits 3 s before it starts Quillet, Quillet 2 s before the
# tool). Prints figures; it is not a test. Needs the win32 tree built (tools/test.sh or
# tools/demo.sh build it); runs in a Wine session of its own under build/benchmark/.
#
# For each road (a Silicon Motion drive -> Sarrow, a chip-query drive -> the installer's
# stand-in, nothing known -> the fallback stand-in) and each of RUNS runs (default 3) it notes
# when Vexmend's files, Quillet's tool and the tool's first window appear, and prints the
# median and the spread of each stage.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-3}
[[ $runs =~ ^[1-9][0-9]*$ ]] || { echo "usage: road_benchmark.sh [RUNS]" >&2; exit 2; }
build=$root/build/win32
windriver=$build/tests/windows/e2e/windriver.exe
for file in "$build/vexmend/VexmendSim.exe" "$windriver"; do
  [ -f "$file" ] || { echo "road_benchmark: $file is missing; build the win32 tree first" >&2; exit 2; }
done
work=$root/build/benchmark/road
session=$root/build/benchmark/road-wine
rm -rf "$work"
mkdir -p "$work"
"$root/tools/wine/session" start "$session" >/dev/null
trap '"$root/tools/wine/session" stop "$session" >/dev/null' EXIT
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }
drv() { WINE_VERSION= WINE_TIMEOUT=90 "$root/tools/wine/run" --session "$session" "$windriver" "$@"; }
now_ms() { date +%s%3N; }

# One run of ROAD: prints "files tool window" in milliseconds from the start.
one_run() {
  local road=$1 run=$2 dir=$work/$1-$2 window
  mkdir -p "$dir/temp" "$dir/rezo" "$dir/drive"
  printf 'present = no\n' >"$dir/rezo/rezo.profile"
  {
    echo "image = drive.img"
    echo "letter = F"
    case $road in
      smi) echo "device_id = 0x090C"; echo "capacity = 131072" ;;
      chip-query) echo "chip_query_reply = 16 03"; echo "capacity = 2048" ;;
      none) echo "device_id = 0x1234"; echo "capacity = 2048" ;;
    esac
  } >"$dir/drive/drive.profile"
  printf 'drive = %s\n' "$dir/drive/drive.profile" >"$dir/road.profile"
  case $road in
    smi) window="Vexmend#1014" ;;
    chip-query) window="Vexmend: vendor installer not included" ;;
    none) window="Vexmend: vendor tool not included" ;;
  esac
  cp "$build/vexmend/VexmendSim.exe" "$dir/Vexmend.exe"
  local desktop=benchmark-$road-$run start files=0 tool=0 seen
  start=$(now_ms)
  (cd "$dir" && WINDRIVER_DESKTOP=$desktop WINE_VERSION= WINE_TIMEOUT=120 "$root/tools/wine/run" --session "$session" \
     "$windriver" run --all --env "TEMP=$(winpath "$dir/temp")" --env "TMP=$(winpath "$dir/temp")" \
     --env "QUILLET_SIM_PROFILE=$(winpath "$dir/road.profile")" \
     --env "REZO_SIM_PROFILE=$(winpath "$dir/rezo/rezo.profile")" \
     --env "SARROW_SIM_PROFILE=$(winpath "$dir/drive/drive.profile")" \
     "$(winpath "$dir/Vexmend.exe")" >"$dir/program.log" 2>&1) &
  local job=$!
  (
    # The moments the stages' files appear, noted every 10 ms.
    zem=$dir/temp/ZEM_fix
    while [ ! -f "$zem/Quillet.exe" ]; do sleep 0.01; done
    echo "files $(($(now_ms) - start))" >"$dir/stages"
    while [ ! -f "$zem/QuilletV1.00.exe" ]; do sleep 0.01; done
    echo "tool $(($(now_ms) - start))" >>"$dir/stages"
  ) &
  local watcher=$!
  WINDRIVER_DESKTOP=$desktop drv wait "$window" 60000 >/dev/null || { echo "road_benchmark: no window on the $road road" >&2; exit 1; }
  seen=$(($(now_ms) - start))
  wait "$watcher" 2>/dev/null || true
  WINDRIVER_DESKTOP=$desktop drv end >/dev/null 2>&1 || true
  wait "$job" 2>/dev/null || true
  files=$(awk '$1 == "files" { print $2 }' "$dir/stages")
  tool=$(awk '$1 == "tool" { print $2 }' "$dir/stages")
  echo "$files $tool $seen"
}

median_spread() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%6d ms (%d-%d)", v[int((NR + 1) / 2)], v[1], v[NR] }'
}

printf 'Road under Wine, %d runs each; the programs pause 5000 ms on purpose (3000 + 2000).\n' "$runs"
printf '%-11s %-24s %-24s %-24s %s\n' road "Vexmend's files" "Quillet's tool file" "tool's first window" "beyond the pauses"
for road in smi chip-query none; do
  results=()
  for run in $(seq "$runs"); do
    results+=("$(one_run "$road" "$run")")
  done
  files=$(printf '%s\n' "${results[@]}" | awk '{ print $1 }' | median_spread)
  tool=$(printf '%s\n' "${results[@]}" | awk '{ print $2 }' | median_spread)
  window=$(printf '%s\n' "${results[@]}" | awk '{ print $3 }' | median_spread)
  beyond=$(printf '%s\n' "${results[@]}" | awk '{ print $3 - 5000 }' | median_spread)
  printf '%-11s %-24s %-24s %-24s %s\n' "$road" "$files" "$tool" "$window" "$beyond"
done
