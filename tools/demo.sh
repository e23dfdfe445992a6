#!/usr/bin/env bash
# tools/demo.sh [options]: the main job. Installs what the build needs, builds the win32 tree and
# runs the whole road of one repair under Wine in the simulation flavour: Vexmend checks Windows
# and the user's rights and writes REZO.dll, msvcp60.dll and Quillet into its work folder;
# Quillet probes the simulated drive, writes the matching tool and starts it; the tool repairs
# the drive. Everything lands under build/demo/ (TEMP is build/demo/temp, so the work folder is
# build/demo/temp/ZEM_fix). With a display of your own ($DISPLAY) you click through the tool
# yourself; without one it runs on a virtual display and clicks through by itself. At the end it
# prints what each stage did, the result message, what fsck.fat says of the new volume and where
# the pictures are.
#
#   --drive KIND              the drive the road meets (default smi):
#                               smi         a Silicon Motion drive -> Sarrow, with Disk.ini
#                               usbest      a USBest device that REZO.dll reports -> Brimlet
#                               chip-query  a drive that answers the chip query -> the vendor
#                                           installer's stand-in
#                               none        nothing Quillet knows -> the fallback tool's stand-in
#   --tool sarrow             Sarrow alone on the simulated drive, without the road
#   --tool brimlet            Brimlet alone from its first stage (it copies itself into
#                             build/demo/temp/RadAva and starts the copy) against a simulated
#                             USBest device, without the road
#   --error-code C            what the simulated USBest device reports after its repair (default
#                             0: success; 0x4 or 0x100 end in the failure message)
#   --sectors N               the drive's capacity in 512-byte sectors (default 524288: 256 MiB)
#   --firmware V              firmware version (default 071228-AB-: the one Sarrow replaces)
#   --flash-id XX:XX:XX:XX    flash identifier (default EC:D5:14:B6, a chip the upload knows)
#   --model M                 controller model (default SM325AB)
#   --complete                choose Complete (zero fill first) instead of Fast in Sarrow
#   --windows VERSION         the Windows version Wine reports (default winxp). On the road it is
#                             Vexmend's: win2k, win2003, nt40 or win98 show its refusal. With
#                             --tool sarrow, win98 takes the ASPI path of the production Sarrow
#                             through the test wnaspi32.dll
#   --auto                    click through by itself even when a display is there
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

sectors=524288 firmware=071228-AB- flash_id=EC:D5:14:B6 model=SM325AB windows=winxp
complete=no auto=no drive_kind=smi tool=road error_code=0
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
    --drive) drive_kind=$2 ;;
    --tool) tool=$2 ;;
    --error-code) error_code=$2 ;;
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
case $drive_kind in smi | usbest | chip-query | none) ;; *) echo "demo: --drive wants smi, usbest, chip-query or none" >&2; exit 2 ;; esac
case $tool in road | sarrow | brimlet) ;; *) echo "demo: --tool wants sarrow or brimlet" >&2; exit 2 ;; esac
[[ $error_code =~ ^(0x[0-9A-Fa-f]{1,8}|[0-9]{1,10})$ ]] || { echo "demo: --error-code wants a number (0x4)" >&2; exit 2; }
[[ $windows =~ ^[a-z0-9]+$ ]] || { echo "demo: --windows wants a Wine version name (winxp, win98, ...)" >&2; exit 2; }
[ -z "${DISPLAY:-}" ] && auto=yes

bash "$root/tools/setup.sh" --quiet-probe
# The demo is Wine through and through: where it cannot start, say why before building anything.
"$root/tools/wine/probe" || exit 1

build=$root/build/win32
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$build" -j "$(nproc)"

demo=$root/build/demo
shots=$demo/screenshots
rm -rf "$demo"
mkdir -p "$shots"

# drive_profile FOLDER [key = value...]: a simulated drive (core/sim's profile) in build/demo/FOLDER.
drive_profile() {
  local folder=$demo/$1
  shift
  mkdir -p "$folder"
  {
    echo "# A simulated drive of tools/demo.sh"
    echo "image = drive.img"
    echo "log = commands.log"
    echo "firmware_area = firmware.bin"
    printf '%s\n' "$@"
  } >"$folder/drive.profile"
  echo "$folder/drive.profile"
}

# The Silicon Motion drive of the options: Sarrow's drive, and on the road the one at F:.
smi_drive() {
  local profile
  profile=$(drive_profile smi "capacity = $sectors" "controller = \"$model\"" "firmware = \"$firmware\"" \
    "flash_id = ${flash_id//:/ }" "$@")
  truncate -s $((sectors * 512)) "$(dirname "$profile")/drive.img"
  echo "$profile"
}

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
shot() { drv wait "$1" "${2:-20000}" >/dev/null && sleep 0.5 && drv shot "$1" "$(winpath "$shots/$3.bmp")" >/dev/null || true; }
# A user at the display gets an hour; clicking by itself it needs minutes.
limit=900
[ "$auto" = no ] && limit=3600

SPLASH="Vexmend#1014" LICENCE="Vexmend#1017" REPAIR="Vexmend#1008"
SKY_TITLE="Vexmend: vendor installer not included"
OTI_TITLE="Vexmend: vendor tool not included"

# Sarrow from its splash to the result box (clicking only on the virtual display); prints the
# result box's text.
sarrow_run() {
  local program=$1 first_wait=$2 result=""
  if [ "$auto" = yes ]; then
    shot "$SPLASH" "$first_wait" 1-splash
    drv gone "$SPLASH" 10000 >/dev/null || true
    shot "$LICENCE" 20000 2-licence
    drv click "$LICENCE" 1004 >/dev/null
    shot "$REPAIR" 20000 3-repair
    [ "$complete" = yes ] && drv click "$REPAIR" 1007 >/dev/null && sleep 0.3
    drv click "$REPAIR" 1004 >/dev/null
  fi
  # The result box: the success box shows its text in control 1022, the failure box in 1021.
  while kill -0 "$program" 2>/dev/null; do
    for box in 1022 1021; do
      if drv wait "#$box" 200 >/dev/null 2>&1; then
        shot "#$box" 1000 4-result
        result=$(drv text "#$box" "$box" | tr -d '\r')
        [ "$auto" = yes ] && drv click "#$box" 2 >/dev/null
        DRV_TIMEOUT=$((limit + 60)) drv gone "#$box" $((limit * 1000)) >/dev/null || true
        break 2
      fi
    done
    sleep 0.3
  done
  if [ "$auto" = yes ] && kill -0 "$program" 2>/dev/null; then
    sleep 0.5
    shot "$REPAIR" 1000 5-after
    drv click "$REPAIR" 1006 >/dev/null || true
  fi
  echo "$result"
}

# Brimlet (the copy in RadAva) from its splash to its result (clicking only on the virtual
# display): the licence, the repair dialog, the Repair button, then the message dialog or a plain
# message box. Prints the result's text.
brimlet_run() {
  local program=$1 result="" selector
  if [ "$auto" = yes ]; then
    shot "#1011" 20000 1-licence
    drv click "#1011" 1 >/dev/null || true
    shot "Brimlet#1016" 10000 2-repair
    drv click "Brimlet#1016" 1 >/dev/null || true
  fi
  while kill -0 "$program" 2>/dev/null; do
    for selector in "#1012" "Brimlet#65535"; do
      if drv wait "$selector" 200 >/dev/null 2>&1; then
        shot "Brimlet#1016" 500 3-repair-done
        shot "$selector" 1000 4-result
        result=$(drv text "$selector" "${selector##*#}" | tr -d '\r' | tr '\n' ' ' | sed 's/ *$//')
        if [ "$auto" = yes ]; then
          if [ "$selector" = "#1012" ]; then drv click "$selector" 1013 >/dev/null; else drv key "$selector" 0x0D >/dev/null; fi
        fi
        DRV_TIMEOUT=$((limit + 60)) drv gone "$selector" $((limit * 1000)) >/dev/null || true
        break 2
      fi
    done
    sleep 0.3
  done
  echo "$result"
}

# What Brimlet asked of the simulating REZO.dll (its call log): each function with its count, the
# repair's mode byte and how it ended.
rezo_summary() {
  local log=$1
  [ -s "$log" ] || { echo "no call (the library was not loaded)"; return; }
  tr -d '\r' <"$log" | awk '$1 == "Brimlet.exe" && $3 ~ /^REZO_/ {
      if ($3 ~ /^REZO_RunRepairDevice/ && $0 ~ /-> 0 state=/) { ended = $0; sub(/.*-> 0 /, "", ended); next }
      name = $3; sub(/\(.*/, "", name)
      if (!(name in count)) order[n++] = name
      count[name]++
      if (name == "REZO_RunRepairDevice" && match($0, /mode=0x[0-9A-F]+/)) mode = substr($0, RSTART + 5, RLENGTH - 5)
    }
    END {
      for (i = 0; i < n; i++) printf "%s%s x%d", (i ? ", " : ""), order[i], count[order[i]]
      if (mode != "") printf "\n              repair mode %s, ended with %s", mode, ended
      printf "\n"
    }'
}

# What fsck.fat says of the volume the MBR of IMAGE names.
volume_verdict() {
  local image=$1 start
  start=$(od -An -tu4 -j $((446 + 8)) -N4 "$image" | tr -d ' ')
  if [ "$(od -An -tx1 -j 510 -N2 "$image" | tr -d ' ')" = 55aa ] && [ "${start:-0}" -gt 0 ]; then
    dd if="$image" of="$demo/partition.img" bs=512 skip="$start" conv=sparse status=none
    local verdict
    if verdict=$(fsck.fat -n "$demo/partition.img" 2>&1); then
      echo "fsck.fat:     clean, $(tail -1 <<<"$verdict" | sed 's/.*: //')"
    else
      echo "fsck.fat:     problems:"
      sed 's/^/    /' <<<"$verdict"
    fi
  else
    echo "fsck.fat:     no partition table on the drive"
  fi
}

# The commands of the repair: on the road, those after Quillet's (each process numbers from 1).
# The log also names what happened to the volume (lock-volume, dismount-volume ...): not commands.
drive_summary() {
  local log=$1/commands.log first_run=${2:-1} commands=0 uploads=0
  if [ -f "$log" ]; then
    commands=$(awk -v from="$first_run" '$1 == 1 { run++ } run >= from && $2 !~ /-volume$/' "$log" | wc -l)
    uploads=$(awk -v from="$first_run" '$1 == 1 { run++ } run >= from && $2 == "isp-write-bank"' "$log" | wc -l)
  fi
  echo "$commands commands, $uploads firmware banks written (${log#"$root"/})"
}

pictures() {
  for f in "$shots"/*.bmp; do
    [ -f "$f" ] && [ -x /usr/bin/convert ] && /usr/bin/convert "$f" "${f%.bmp}.png" && rm -f "$f"
  done
  echo "Pictures:     $shots"
}

# ---- Sarrow alone -----------------------------------------------------------------------------
if [ "$tool" = sarrow ]; then
  profile=$(smi_drive)
  program=$build/sarrow/SarrowSim.exe
  if [ "$windows" = win98 ] || [ "$windows" = win95 ] || [ "$windows" = winme ]; then
    # The production program on the legacy path: ASPI through our wnaspi32.dll beside it.
    cp "$build/sarrow/Sarrow.exe" "$build/tests/windows/wnaspi32/wnaspi32.dll" "$demo/"
    program=$demo/Sarrow.exe
    run reg add 'HKCU\Software\Wine\AppDefaults\Sarrow.exe\DllOverrides' /v wnaspi32 /d native /f >/dev/null
  fi
  echo "== Sarrow on a simulated drive of $sectors sectors (Wine, $windows) =="
  [ "$auto" = no ] && echo "   Click through Sarrow on your display; the demo waits until it ends."
  (cd "$demo/smi" && SARROW_SIM_PROFILE=$(winpath "$profile") WINE_VERSION=$windows WINE_TIMEOUT=$limit \
     run "$program" >"$demo/program.log" 2>&1) &
  sarrow=$!
  result=$(sarrow_run "$sarrow" 20000)
  wait "$sarrow" || true
  echo "Result box:   ${result:-(none: Sarrow ended before a repair)}"
  echo "Drive:        $(drive_summary "$demo/smi")"
  volume_verdict "$demo/smi/drive.img"
  pictures
  exit 0
fi

# ---- Brimlet alone ----------------------------------------------------------------------------
if [ "$tool" = brimlet ]; then
  temp=$demo/temp
  mkdir -p "$temp" "$demo/rezo"
  cat >"$demo/rezo/usbest.profile" <<PROFILE
# The USBest device the simulating REZO.dll presents in tools/demo.sh --tool brimlet
description = "USBest UT165 USB Flash Disk"
firmware = CS0650
chip_id = 355
progress_step = 2
step_ms = 60
finish_ms = 500
error_code = $error_code
bad_blocks = 40
total_blocks = 4096
log = calls.log
PROFILE
  run reg add 'HKCU\Software\Wine\AppDefaults\Brimlet.exe' /v Version /d "$windows" /f >/dev/null 2>&1
  cp "$build/brimlet/BrimletSim.exe" "$demo/Brimlet.exe"
  echo "== Brimlet from its first stage against a simulated USBest device (Wine, $windows) =="
  [ "$auto" = no ] && echo "   Click through Brimlet on your display; the demo waits until it ends."
  (cd "$demo" && WINE_VERSION= WINE_TIMEOUT=$limit run "$build/tests/windows/e2e/windriver.exe" run --all \
     --version "$windows" --env "TEMP=$(winpath "$temp")" --env "TMP=$(winpath "$temp")" \
     --env "REZO_SIM_PROFILE=$(winpath "$demo/rezo/usbest.profile")" "$(winpath "$demo/Brimlet.exe")" \
     >"$demo/program.log" 2>&1) &
  brimlet=$!
  result=$(brimlet_run "$brimlet")
  wait "$brimlet" || true
  radava=$temp/RadAva
  echo "First stage:  copied itself to ${radava#"$root"/}/Brimlet.exe and started the copy"
  if [ -d "$radava/Boot" ]; then
    echo "Second stage: wrote $(cd "$radava" && ls REZO.dll Device.ini deft63.esp Agreement.chs Agreement.cht Agreement.eng BootCode.r 2>/dev/null | wc -l) carried files, unpacked $(find "$radava/Boot" -type f | wc -l) images into ${radava#"$root"/}/Boot"
  fi
  echo "Result:       ${result:-(none: Brimlet ended before a result)}"
  echo "REZO.dll:     $(rezo_summary "$demo/rezo/calls.log")"
  echo "              (the whole log: ${demo#"$root"/}/rezo/calls.log)"
  pictures
  exit 0
fi

# ---- the whole road -----------------------------------------------------------------------------
temp=$demo/temp
zem=$temp/ZEM_fix
mkdir -p "$temp" "$demo/rezo"
road=$demo/road.profile
{
  echo "# The machine QuilletSim sees in tools/demo.sh: the drives its probes reach"
  echo "# and the first hardware id of each present device."
} >"$road"
rezo_present=no
smi_profile=
case $drive_kind in
  smi)
    smi_profile=$(smi_drive "letter = F" "device_id = 0x090C")
    echo "drive = $smi_profile" >>"$road"
    echo 'hardware_id = USB\VID_090C&PID_1000\5&2A1F3B&0&2' >>"$road"
    ;;
  usbest)
    rezo_present=yes
    echo 'hardware_id = USB\VID_1307&PID_0165\5&1C3D&0&1' >>"$road"
    ;;
  chip-query)
    echo "drive = $(drive_profile chip "letter = E" "capacity = 2048" "inquiry = none" "chip_query_reply = 16 03" "device_id = 0x1234")" >>"$road"
    ;;
  none)
    echo "drive = $(drive_profile other "letter = E" "capacity = 2048" "inquiry = none" "device_id = 0x1234")" >>"$road"
    ;;
esac
printf '# The device the simulating REZO.dll presents\npresent = %s\nlog = calls.log\n' "$rezo_present" >"$demo/rezo/rezo.profile"

# Every program of the road sees the same Windows version, whatever an earlier run left.
settings=(--all --version "$windows" --app-version "Quillet.exe=$windows" --app-version "QuilletV1.00.exe=$windows"
  --app-version "Brimlet.exe=$windows"
  --env "TEMP=$(winpath "$temp")" --env "TMP=$(winpath "$temp")"
  --env "QUILLET_SIM_PROFILE=$(winpath "$road")"
  --env "REZO_SIM_PROFILE=$(winpath "$demo/rezo/rezo.profile")")
[ -n "$smi_profile" ] && settings+=(--env "SARROW_SIM_PROFILE=$(winpath "$smi_profile")")
cp "$build/vexmend/VexmendSim.exe" "$demo/Vexmend.exe"

echo "== The whole road under Wine ($windows): Vexmend -> Quillet -> the tool for a '$drive_kind' drive =="
[ "$auto" = no ] && echo "   Click through the tool on your display; the demo waits until every program has ended."
started=$(date +%s)
(cd "$demo" && WINE_VERSION= WINE_TIMEOUT=$limit run "$build/tests/windows/e2e/windriver.exe" run "${settings[@]}" \
   "$(winpath "$demo/Vexmend.exe")" >"$demo/program.log" 2>&1) &
road_job=$!

# The first window of the road: Vexmend's refusal, an error box, or the tool Quillet started.
first="" result=""
for _ in $(seq 600); do
  kill -0 "$road_job" 2>/dev/null || break
  for selector in "Information#100" "Vexmend#65535" "$SPLASH" "$SKY_TITLE" "$OTI_TITLE"; do
    if drv wait "$selector" 100 >/dev/null 2>&1; then
      first=$selector
      break 2
    fi
  done
  # Brimlet runs as the copy it makes of itself in build/demo/temp/RadAva.
  if drv list 2>/dev/null | tr -d '\r' | grep -q ' Brimlet\.exe$'; then
    first=Brimlet
    break
  fi
done
tool_seconds=$(($(date +%s) - started))
case $first in
  "$SPLASH")
    result="Sarrow: $(sarrow_run "$road_job" 1000)"
    ;;
  "")
    result="(no window: the road ended early; see build/demo/program.log)"
    ;;
  Brimlet)
    result="Brimlet (from build/demo/temp/RadAva): $(brimlet_run "$road_job")"
    ;;
  *)
    # A message box: its text is in its static control (65535), or in the dialog's control 100.
    id=65535
    [ "$first" = "Information#100" ] && id=100
    shot "$first" 1000 1-message
    # The launcher's refusal carries a line of Big5 text.
    result="$(drv text "$first" 0 | tr -d '\r'): $(drv text "$first" "$id" | tr -d '\r' | tr '\n' ' ' |
      iconv -f CP950 -t UTF-8 2>/dev/null)"
    [ "$auto" = yes ] && drv click "$first" 1 >/dev/null
    ;;
esac
wait "$road_job" || true

# What each stage left.
describe_file() {
  local file=$1 candidate
  for candidate in "REZO.dll (the simulating library):$build/rezo/sim/REZO.dll" \
    "msvcp60.dll (our placeholder):$build/vexmend/payload/msvcp60.dll" \
    "QuilletSim:$build/quillet/QuilletSim.exe" \
    "SarrowSim (EXESMI):$build/sarrow/SarrowSim.exe" \
    "the vendor installer's stand-in (EXESKY):$build/quillet/standins/SkyInstallerStandIn.exe" \
    "the fallback tool's stand-in (EXEOTI):$build/quillet/standins/OtiToolStandIn.exe" \
    "BrimletSim (EXEUSBEST):$build/brimlet/BrimletSim.exe"; do
    if [ -f "${candidate#*:}" ] && cmp -s "$file" "${candidate#*:}"; then
      echo "${candidate%%:*}"
      return
    fi
  done
  echo "$(wc -c <"$file") bytes"
}
echo "Vexmend:      $(head -1 "$demo/program.log" | tr -d '\r')"
if [ -d "$zem" ]; then
  for file in REZO.dll msvcp60.dll Quillet.exe; do
    [ -f "$zem/$file" ] && echo "              wrote ${zem#"$root"/}/$file = $(describe_file "$zem/$file")"
  done
else
  echo "              wrote nothing"
fi
if [ -s "$demo/rezo/calls.log" ]; then
  calls=$(grep '^Quillet\.exe ' "$demo/rezo/calls.log" | grep -o 'REZO_[A-Za-z]*' | tr '\n' ' ')
  echo "Quillet:      asked REZO.dll: $calls"
  # Each process numbers a drive's commands from 1: Quillet's are the first run of numbers.
  for log in "$demo"/*/commands.log; do
    [ -f "$log" ] || continue
    echo "              drive $(awk '/^letter/ { print $3 }' "$(dirname "$log")/drive.profile"): $(awk '
      $1 == 1 { run++ } run == 1 { kind = substr($3, 1, 2) == "CA" ? "chip query" : $2; count[kind " " ($5 == "ok" ? "answered" : "not answered")]++ }
      END { for (k in count) { printf "%s%s x%d", sep, k, count[k]; sep = ", " } }' "$log")"
  done
  [ -f "$zem/QuilletV1.00.exe" ] &&
    echo "              wrote QuilletV1.00.exe = $(describe_file "$zem/QuilletV1.00.exe")$([ -f "$zem/Disk.ini" ] && echo ", and Disk.ini")"
fi
echo "First window: ${first%%#*} after ${tool_seconds} s (Vexmend waits 3 s before it starts Quillet, Quillet 2 s before the tool)"
echo "Result:       ${result:-(none)}"
if [ "$first" = Brimlet ]; then
  echo "REZO.dll:     Brimlet's calls: $(rezo_summary "$demo/rezo/calls.log")"
fi
if [ "$first" = "$SPLASH" ] && [ -n "$smi_profile" ]; then
  echo "Drive:        Sarrow's repair: $(drive_summary "$demo/smi" 2)"
  volume_verdict "$demo/smi/drive.img"
fi
pictures
