#!/usr/bin/env bash
# tools/demo.sh [options]: the main job. Installs what the build needs, builds the win32 tree,
# makes a simulated drive (a sparse image and its profile under build/demo/) and runs Sarrow on
# it under Wine, from the warning splash to the result box. With a display of your own ($DISPLAY)
# you click through Sarrow yourself; without one it runs on a virtual display and clicks through
# by itself. At the end it prints the result box's text, what fsck.fat says of the new volume and
# where the screenshots are.
#
#   --sectors N               capacity in 512-byte sectors (default 524288: 256 MiB)
#   --firmware V              firmware version (default 071228-AB-: the one Sarrow replaces)
#   --flash-id XX:XX:XX:XX    flash identifier (default EC:D5:14:B6, a chip the upload knows)
#   --model M                 controller model (default SM325AB)
#   --complete                choose Complete (zero fill first) instead of Fast
#   --windows VERSION         the Windows version Wine reports (default winxp; win98 takes the
#                             ASPI path of the production Sarrow through the test wnaspi32.dll)
#   --auto                    click through by itself even when a display is there
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

sectors=524288 firmware=071228-AB- flash_id=EC:D5:14:B6 model=SM325AB windows=winxp
complete=no auto=no
usage() { awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit "$1"; }
while [ $# -gt 0 ]; do
  case $1 in
    -h | --help) usage 0 ;;
    --complete) complete=yes; shift; continue ;;
    --auto) auto=yes; shift; continue ;;
  esac
  [ $# -ge 2 ] || { echo "demo: $1 needs a value" >&2; usage 2; }
  case $1 in
    --sectors) sectors=$2 ;;
    --firmware) firmware=$2 ;;
    --flash-id) flash_id=$2 ;;
    --model) model=$2 ;;
    --windows) windows=$2 ;;
    *) echo "demo: unknown option $1" >&2; usage 2 ;;
  esac
  shift 2
done
[[ $sectors =~ ^[0-9]+$ ]] && [ "$sectors" -gt 0 ] && [ "$sectors" -le 4294967295 ] ||
  { echo "demo: --sectors wants a number from 1 to 4294967295" >&2; exit 2; }
[[ $flash_id =~ ^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){3}$ ]] || { echo "demo: --flash-id wants XX:XX:XX:XX" >&2; exit 2; }
for text in "$model" "$firmware"; do
  [[ $text =~ ^[[:print:]]*$ && $text != *'"'* ]] || { echo "demo: texts must be printable, without quotes" >&2; exit 2; }
done
[ -z "${DISPLAY:-}" ] && auto=yes

bash "$root/tools/setup.sh"

build=$root/build/win32
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)"

demo=$root/build/demo
shots=$demo/screenshots
rm -rf "$demo"
mkdir -p "$shots"
truncate -s $((sectors * 512)) "$demo/drive.img"
cat >"$demo/drive.profile" <<PROFILE
# The simulated drive of tools/demo.sh
image = drive.img
capacity = $sectors
controller = "$model"
firmware = "$firmware"
flash_id = ${flash_id//:/ }
log = commands.log
firmware_area = firmware.bin
PROFILE

session=$build/wine
if [ "$auto" = no ]; then
  WINE_SESSION_DISPLAY=$DISPLAY "$root/tools/wine/session" start "$session" >/dev/null
else
  "$root/tools/wine/session" start "$session" >/dev/null
fi
trap '"$root/tools/wine/session" stop "$session" >/dev/null' EXIT
run() { "$root/tools/wine/run" --session "$session" "$@"; }
drv() { WINE_VERSION= WINE_TIMEOUT=${DRV_TIMEOUT:-30} run "$build/tests/windows/e2e/windriver.exe" "$@"; }
winpath() { local p=${1//\//\\}; printf 'Z:%s' "$p"; }

program=$build/sarrow/SarrowSim.exe
if [ "$windows" = win98 ] || [ "$windows" = win95 ] || [ "$windows" = winme ]; then
  # The production program on the legacy path: ASPI through our wnaspi32.dll beside it.
  cp "$build/sarrow/Sarrow.exe" "$build/tests/windows/wnaspi32/wnaspi32.dll" "$demo/"
  program=$demo/Sarrow.exe
  run reg add 'HKCU\Software\Wine\AppDefaults\Sarrow.exe\DllOverrides' /v wnaspi32 /d native /f >/dev/null
fi

echo "== Sarrow on a simulated drive of $sectors sectors (Wine, $windows) =="
[ "$auto" = no ] && echo "   Click through Sarrow on your display; the demo waits until it ends."
# A user at the display gets an hour; clicking by itself it needs minutes.
limit=900
[ "$auto" = no ] && limit=3600
(cd "$demo" && SARROW_SIM_PROFILE=$(winpath "$demo/drive.profile") WINE_VERSION=$windows WINE_TIMEOUT=$limit \
   run "$program" >"$demo/program.log" 2>&1) &
sarrow=$!

shot() { drv wait "$1" 20000 >/dev/null && sleep 0.5 && drv shot "$1" "$(winpath "$shots/$2.bmp")" >/dev/null || true; }
result=""
if [ "$auto" = yes ]; then
  shot "Vexmend#1014" 1-splash
  drv gone "Vexmend#1014" 10000
  shot "Vexmend#1017" 2-licence
  drv click "Vexmend#1017" 1004
  shot "Vexmend#1008" 3-repair
  [ "$complete" = yes ] && drv click "Vexmend#1008" 1007 && sleep 0.3
  drv click "Vexmend#1008" 1004
fi
# The result box: the success box shows its text in control 1022, the failure box in 1021.
while kill -0 "$sarrow" 2>/dev/null; do
  for box in 1022 1021; do
    if drv wait "#$box" 200 >/dev/null 2>&1; then
      shot "#$box" 4-result
      result=$(drv text "#$box" "$box" | tr -d '\r')
      [ "$auto" = yes ] && drv click "#$box" 2
      DRV_TIMEOUT=$((limit + 60)) drv gone "#$box" $((limit * 1000))
      break 2
    fi
  done
  sleep 0.3
done
if [ "$auto" = yes ] && kill -0 "$sarrow" 2>/dev/null; then
  sleep 0.5
  shot "Vexmend#1008" 5-after
  drv click "Vexmend#1008" 1006
fi
wait "$sarrow" || true

for f in "$shots"/*.bmp; do
  [ -f "$f" ] && [ -x /usr/bin/convert ] && /usr/bin/convert "$f" "${f%.bmp}.png" && rm -f "$f"
done
echo "Result box:   ${result:-(none: Sarrow ended before a repair)}"
commands=0
# Lines of the drive's commands; the log also names what happened to its volume.
[ -f "$demo/commands.log" ] && commands=$(awk '$2 !~ /-volume$/' "$demo/commands.log" | wc -l)
uploads=$(awk '$2 == "isp-write-bank"' "$demo/commands.log" 2>/dev/null | wc -l)
echo "Drive:        $commands commands, $uploads firmware banks written (build/demo/commands.log)"
start=$(od -An -tu4 -j $((446 + 8)) -N4 "$demo/drive.img" | tr -d ' ')
if [ "$(od -An -tx1 -j 510 -N2 "$demo/drive.img" | tr -d ' ')" = 55aa ] && [ "${start:-0}" -gt 0 ]; then
  dd if="$demo/drive.img" of="$demo/partition.img" bs=512 skip="$start" conv=sparse status=none
  if verdict=$(fsck.fat -n "$demo/partition.img" 2>&1); then
    echo "fsck.fat:     clean, $(tail -1 <<<"$verdict" | sed 's/.*: //')"
  else
    echo "fsck.fat:     problems:"
    sed 's/^/    /' <<<"$verdict"
  fi
else
  echo "fsck.fat:     no partition table on the drive"
fi
echo "Screenshots:  $shots"
