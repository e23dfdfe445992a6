#!/usr/bin/env bash
# tools/demo.sh [options]: the main job. Installs what the build needs, builds the win32 tree,
# makes a simulated drive (a sparse image and its profile under build/demo/) and runs Sarrow's
# device layer on it under Wine: discovery, open and lock, device, firmware and flash information,
# the capacity line, a sector read, dismount and close.
#
#   --sectors N               capacity in 512-byte sectors (default 524288: 256 MiB)
#   --letter L                drive letter (default F; the scan covers D: to W:)
#   --model M                 controller model (default SM325AB)
#   --firmware V              firmware version (default 071228-AB-)
#   --flash-id XX:XX:XX:XX    flash identifier (default EC:D5:14:B6)
#   --vendor V, --product P   vendor and product texts (default SMI, USB DISK)
#   --inquiry SMI|smi|template|none   what the drive answers to INQUIRY (default SMI)
#   --windows VERSION         the Windows version Wine reports (default winxp; win98 takes the
#                             ASPI path through the test wnaspi32.dll)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

sectors=524288 letter=F model=SM325AB firmware=071228-AB- flash_id=EC:D5:14:B6
vendor=SMI product="USB DISK" inquiry=SMI windows=winxp
usage() { awk 'NR > 1 && /^#/ { sub(/^# ?/, ""); print; next } NR > 1 { exit }' "$0"; exit "$1"; }
while [ $# -gt 0 ]; do
  case $1 in -h | --help) usage 0 ;; esac
  [ $# -ge 2 ] || { echo "demo: $1 needs a value" >&2; usage 2; }
  case $1 in
    --sectors) sectors=$2 ;;
    --letter) letter=$2 ;;
    --model) model=$2 ;;
    --firmware) firmware=$2 ;;
    --flash-id) flash_id=$2 ;;
    --vendor) vendor=$2 ;;
    --product) product=$2 ;;
    --inquiry) inquiry=$2 ;;
    --windows) windows=$2 ;;
    *) echo "demo: unknown option $1" >&2; usage 2 ;;
  esac
  shift 2
done
[[ $sectors =~ ^[0-9]+$ ]] && [ "$sectors" -gt 0 ] || { echo "demo: --sectors wants a positive number" >&2; exit 2; }
[[ $letter =~ ^[A-Za-z]$ ]] || { echo "demo: --letter wants one letter" >&2; exit 2; }
[[ $flash_id =~ ^[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){3}$ ]] || { echo "demo: --flash-id wants XX:XX:XX:XX" >&2; exit 2; }
for text in "$model" "$firmware" "$vendor" "$product"; do
  [[ $text =~ ^[[:print:]]*$ && $text != *'"'* ]] || { echo "demo: texts must be printable, without quotes" >&2; exit 2; }
done

bash "$root/tools/setup.sh"

build=$root/build/win32
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$build" -j4

demo=$root/build/demo
mkdir -p "$demo"
rm -f "$demo/drive.img" "$demo/commands.log"
truncate -s $((sectors * 512)) "$demo/drive.img"
cat >"$demo/drive.profile" <<PROFILE
# The simulated drive of tools/demo.sh
image = drive.img
capacity = $sectors
letter = ${letter^^}
inquiry = $inquiry
controller = "$model"
firmware = "$firmware"
flash_id = ${flash_id//:/ }
vendor = "$vendor"
product = "$product"
log = commands.log
PROFILE

session=$build/wine
"$root/tools/wine/session" start "$session" >/dev/null
trap '"$root/tools/wine/session" stop "$session" >/dev/null' EXIT

if [ "$windows" = win98 ] || [ "$windows" = win95 ] || [ "$windows" = winme ]; then
  # The legacy path: ASPI through our wnaspi32.dll beside the program instead of Wine's own.
  "$root/tools/wine/run" --session "$session" reg add \
    'HKCU\Software\Wine\AppDefaults\device_demo.exe\DllOverrides' /v wnaspi32 /d native /f >/dev/null
fi
echo "== Sarrow device layer on a simulated drive (Wine, $windows) =="
status=0
SARROW_SIM_PROFILE="Z:${demo//\//\\}\\drive.profile" WINE_VERSION=$windows WINE_TIMEOUT=60 \
  "$root/tools/wine/run" --session "$session" "$build/tests/windows/device/device_demo.exe" \
  | tr -d '\r' || status=$?
commands=0
[ -f "$demo/commands.log" ] && commands=$(wc -l <"$demo/commands.log")
echo "== $commands commands reached the drive (build/demo/commands.log) =="
exit $status
