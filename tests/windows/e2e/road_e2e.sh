#!/usr/bin/env bash
# tests/windows/e2e/road_e2e.sh SCENARIO: the whole road of one repair under Wine, in the
# simulation flavour: VexmendSim writes REZO.dll, msvcp60.dll and QuilletSim into its work folder
# and starts it; QuilletSim probes the drives and devices of the scenario's road profile, writes
# the chosen tool and starts it. Each scenario has work folders of its own (TEMP is
# E2E_WORK/temp), checks the files each stage leaves there and which tool ends up running.
# E2E_VEXMEND_SIM, E2E_QUILLET_SIM, E2E_SARROW_SIM, E2E_USBEST_SIM, E2E_SKY, E2E_OTI, E2E_REZO_SIM,
# and E2E_MSVCP60 come from CMake.
set -euo pipefail
scenario=${1:?scenario}
export E2E_WORK=${E2E_WORK_ROOT:?}/$scenario E2E_ARTIFACTS=${E2E_ARTIFACT_ROOT:?}/road-$scenario
. "$(dirname "$0")/e2e_lib.sh"

ZEM=$E2E_WORK/temp/ZEM_fix
TOOL=QuilletV1.00.exe
SKY_TITLE="Vexmend: vendor installer not included"
OTI_TITLE="Vexmend: vendor tool not included"
SPLASH="Vexmend#1014"
LICENCE="Vexmend#1017"
REPAIR="Vexmend#1008"
SUCCESS="#1022"
INFORMATION="Information#100"
# The exception box of the form programs: captioned with the application's title, its text in
# the box's static control.
MESSAGE="Vexmend#65535"
MESSAGE_TEXT=65535
VERSION_TEXT="The application only runs on Windows XP and Vista."
VERSION_TEXT_ZH="本程式只能在 Windows XP 及 Vista 上執行。"
DISK_INI=$'[Disk]\r\nCardType=3\r\nClearAll=1\r\nRelink=0\r\nRelink-Solo=0\r\n[FORMAT]\r\nLabel=\r\n'
# Vexmend waits 3 s before it starts Quillet, Quillet 2 s before it starts the tool.
ROAD_WAIT=40000

ROAD_PROFILE=$E2E_WORK/road.profile
REZO_PROFILE=$E2E_WORK/rezo/rezo.profile
SMI_PROFILE=
: >"$ROAD_PROFILE"

# road LINES...: lines of the road profile (drive = ..., hardware_id = ...).
road() {
  printf '%s\n' "$@" >>"$ROAD_PROFILE"
}

# rezo_device yes|no [key = value...]: what the simulating REZO.dll presents; its call log is
# rezo/calls.log.
rezo_device() {
  local present=$1
  shift
  mkdir -p "$(dirname "$REZO_PROFILE")"
  { echo "present = $present"; echo "log = calls.log"; printf '%s\n' "$@"; } >"$REZO_PROFILE"
}
rezo_device no

# probe_drive NAME LETTER [key = value...]: a drive the probes reach; prints its profile.
probe_drive() {
  local name=$1 letter=$2
  shift 2
  local profile
  profile=$(drive "$name" "letter = $letter" "capacity = 2048" "$@")
  road "drive = $profile"
  echo "$profile"
}

# The launcher, with everything the road's programs find their simulations by. The programs
# after it see the scenario's Windows version too (--version, winxp by default), set here and
# never left from an earlier scenario: Quillet, the tool it writes, and the copy Brimlet makes of
# itself in RadAva.
vexmend() {
  local version=winxp options=("$@") i program
  for ((i = 0; i + 1 < ${#options[@]}; i++)); do
    [ "${options[i]}" = --version ] && version=${options[i + 1]}
  done
  local settings=(--all --env "QUILLET_SIM_PROFILE=$(win_path "$ROAD_PROFILE")"
    --env "REZO_SIM_PROFILE=$(win_path "$REZO_PROFILE")")
  for program in Quillet.exe "$TOOL" Brimlet.exe; do
    settings+=(--app-version "$program=$version")
  done
  [ -n "$SMI_PROFILE" ] && settings+=(--env "SARROW_SIM_PROFILE=$(win_path "$SMI_PROFILE")")
  start "${settings[@]}" "$@" "$E2E_VEXMEND_SIM"
}

# The work folder holds exactly these files.
expect_files() {
  local got expected
  got=$(ls "$ZEM" 2>/dev/null | sort | tr '\n' ' ')
  expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
  [ "$got" = "$expected" ] || fail "the work folder holds '$got', expected '$expected'"
}

same_bytes() {
  cmp -s "$1" "$2" || fail "$(basename "$1") is not $(basename "$2")"
}

# What Vexmend wrote: the simulating REZO.dll, our msvcp60.dll, QuilletSim.
expect_vexmend_files() {
  same_bytes "$ZEM/REZO.dll" "$E2E_REZO_SIM"
  same_bytes "$ZEM/msvcp60.dll" "$E2E_MSVCP60"
  same_bytes "$ZEM/Quillet.exe" "$E2E_QUILLET_SIM"
}

expect_disk_ini() {
  printf '%s' "$DISK_INI" >"$E2E_WORK/expected-Disk.ini"
  [ "$(wc -c <"$E2E_WORK/expected-Disk.ini")" = 75 ] || fail "the expected template is not 75 bytes"
  cmp -s "$ZEM/Disk.ini" "$E2E_WORK/expected-Disk.ini" ||
    fail "Disk.ini is not the 75-byte template: $(od -c "$ZEM/Disk.ini" | head -6)"
}

# Waits for window SELECTOR of the tool Quillet started (the program QuilletV1.00.exe), pictured.
tool_window() {
  drv wait "$1" "$ROAD_WAIT" >/dev/null || fail "no window $1"
  picture "$1" "$2"
  drv list | grep -F "\"${1%%#*}\"" | grep -qF "$TOOL" ||
    fail "window $1 does not belong to $TOOL: $(drv list)"
}

# Presses OK on a stand-in's box, then every program of the road has ended with status 0.
close_box_and_end() {
  drv click "$1" 1
  wait_exit 0 30
}

# Quillet asked the device library and let the device go (REZO_DestroyCUSBDevice) or kept it.
rezo_calls() {
  grep '^Quillet\.exe ' "$E2E_WORK/rezo/calls.log" | grep -o 'REZO_[A-Za-z]*' | tr '\n' ' '
}

# Sarrow from its splash to the licence, declined: the program ends without touching a drive.
decline_sarrow() {
  tool_window "$SPLASH" 3-sarrow-splash
  WINDRIVER_WAIT=0 drv key "$SPLASH" 0x1B >/dev/null 2>&1 || true
  drv wait "$LICENCE" 20000 >/dev/null || fail "no licence"
  drv click "$LICENCE" 1006
  wait_exit 0 30
}

# The refusal dialog: text and Chinese line, nothing written, nothing started.
refused() {
  local version=$1 language=${2:-}
  local options=(--version "$version")
  [ -n "$language" ] && options+=(--language "$language")
  vexmend "${options[@]}"
  drv wait "$INFORMATION" 20000 >/dev/null || fail "no information dialog"
  picture "$INFORMATION" 1-refused
  local expected got
  # The driver's output ends lines in CR LF; text_of takes the CRs out.
  expected=$(printf '%s\n%s\n' "$VERSION_TEXT" "$(python3 -c 'import sys; sys.stdout.buffer.write(sys.argv[1].encode("cp950"))' "$VERSION_TEXT_ZH")" | od -An -tx1)
  got=$(drv text "$INFORMATION" 100 | tr -d '\r' | od -An -tx1)
  [ "$got" = "$expected" ] || fail "the dialog reads $got, expected $expected"
  expect_text "$INFORMATION" 0 "Information"
  expect_text "$INFORMATION" 1 "OK"
  sleep 1
  [ ! -e "$ZEM" ] || fail "the work folder was made: $(ls "$ZEM")"
  drv click "$INFORMATION" 1
  wait_exit 0 30
  [ ! -e "$ZEM" ] || fail "the work folder was made after the dialog"
  [ ! -s "$E2E_WORK/rezo/calls.log" ] || fail "Quillet ran: $(cat "$E2E_WORK/rezo/calls.log")"
}

# Nothing found on the drives, nothing listed: the fallback tool.
fallback_road() {
  probe_drive e E "device_id = 0x1234" >/dev/null
  vexmend "$@"
  tool_window "$OTI_TITLE" 2-fallback
  expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL"
  expect_vexmend_files
  same_bytes "$ZEM/$TOOL" "$E2E_OTI"
  [ "$(rezo_calls)" = "REZO_CreateCUSBDevice REZO_DeviceExist REZO_DestroyCUSBDevice " ] ||
    fail "device library calls: $(rezo_calls)"
  close_box_and_end "$OTI_TITLE"
}

case $scenario in
  smi)
    # A Silicon Motion drive with the old firmware and a known flash chip: identifier 0x090C.
    probe_drive e E "device_id = 0x1234" >/dev/null
    SMI_PROFILE=$(drive smi "letter = F" "device_id = 0x090C" "capacity = 131072" \
      "firmware = 071228-AB-" "flash_id = EC D5 14 B6")
    road "drive = $SMI_PROFILE"
    vexmend
    tool_window "$SPLASH" 3-sarrow-splash
    expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL" Disk.ini
    expect_vexmend_files
    same_bytes "$ZEM/$TOOL" "$E2E_SARROW_SIM"
    expect_disk_ini
    # Quillet: three chip queries and one device-information command on each drive.
    [ "$(commands "$SMI_PROFILE" device-info)" = 1 ] || fail "the SMI drive's identifier was not read once"
    [ "$(commands "$E2E_WORK/e/drive.profile" 'unknown|chip-query')" = 3 ] || fail "drive E had no three chip queries"
    WINDRIVER_WAIT=0 drv key "$SPLASH" 0x1B >/dev/null 2>&1 || true
    shot "$LICENCE" 4-licence
    drv click "$LICENCE" 1004
    shot "$REPAIR" 5-repair
    drv click "$REPAIR" 1004
    drv wait "$SUCCESS" 180000 >/dev/null || fail "no success box"
    picture "$SUCCESS" 6-result
    expect_text "$SUCCESS" 1022 "Recovery Completed, Please Re-Plug The Flash Disk."
    [ "$(commands "$SMI_PROFILE" isp-write-bank)" = 64 ] || fail "the firmware was not uploaded"
    check_volume "$E2E_WORK/smi/drive.img"
    drv click "$SUCCESS" 2
    drv gone "$SUCCESS" 10000 || fail "the result box stayed"
    drv click "$REPAIR" 1006
    wait_exit 0 60
    ;;

  chip-query)
    # E answers the chip query; F answers the identifier too, but the chip-query pass comes first.
    probe_drive e E "chip_query_reply = 16 03" "inquiry = none" >/dev/null
    probe_drive f F "device_id = 0x090C" >/dev/null
    vexmend
    tool_window "$SKY_TITLE" 2-sky
    expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL"
    expect_vexmend_files
    same_bytes "$ZEM/$TOOL" "$E2E_SKY"
    # E decides in the chip-query pass: F takes no command at all.
    [ "$(commands "$E2E_WORK/e/drive.profile" chip-query)" = 2 ] || fail "E did not answer probes A and B"
    [ ! -e "$E2E_WORK/f/commands.log" ] || fail "F was probed: $(cat "$E2E_WORK/f/commands.log")"
    close_box_and_end "$SKY_TITLE"
    ;;

  none)
    fallback_road
    ;;

  hardware-id-smi)
    # Nothing answers, but a present device is a Silicon Motion USB device: Sarrow with Disk.ini.
    probe_drive e E "device_id = 0x1234" >/dev/null
    road 'hardware_id = ROOT\LEGACY_BEEP\0000' 'hardware_id = USB\VID_090C&PID_1000\5&2A1F3B&0&2'
    vexmend
    decline_sarrow
    expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL" Disk.ini
    same_bytes "$ZEM/$TOOL" "$E2E_SARROW_SIM"
    expect_disk_ini
    ;;

  hardware-id-lower-case)
    # The vendor text is compared byte for byte: usb\vid_090c is no Silicon Motion device.
    probe_drive e E "device_id = 0x1234" >/dev/null
    road 'hardware_id = usb\vid_090c&pid_1000\0001'
    vexmend
    tool_window "$OTI_TITLE" 2-fallback
    expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL"
    close_box_and_end "$OTI_TITLE"
    ;;

  usbest | usbest-and-drive)
    # REZO.dll reports a USBest device: Brimlet, and no Disk.ini, whatever the drives answer.
    # Brimlet moves itself to RadAva\Brimlet.exe, and the copy repairs the device.
    rezo_device yes "description = USBest UT163 USB Flash Disk" "progress_step = 50" "step_ms = 100" \
      "finish_ms = 200" "error_code = 0x13"
    if [ "$scenario" = usbest-and-drive ]; then
      probe_drive e E "chip_query_reply = 28 06 00 00" >/dev/null
      probe_drive f F "device_id = 0x090C" >/dev/null
    fi
    vexmend
    # Brimlet's splash and licence have no title; the licence is the window with the text box.
    drv wait "#1011" "$ROAD_WAIT" >/dev/null || fail "no licence of Brimlet: $(drv list)"
    expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL"
    same_bytes "$ZEM/$TOOL" "$E2E_USBEST_SIM"
    same_bytes "$E2E_WORK/temp/RadAva/Brimlet.exe" "$E2E_USBEST_SIM"
    picture "#1011" 2-brimlet-licence
    drv click "#1011" 1 >/dev/null
    drv wait "Brimlet#1016" 20000 >/dev/null || fail "no repair dialog of Brimlet"
    picture "Brimlet#1016" 3-brimlet-repair
    drv click "Brimlet#1016" 1 >/dev/null
    drv wait "#1012" 60000 >/dev/null || fail "no result message of Brimlet"
    picture "#1012" 4-brimlet-result
    result=$(text_of "#1012" 1012)
    [ "$result" = "Repair complete, Please un-plug device" ] || fail "Brimlet's result: $result"
    drv click "#1012" 1013 >/dev/null
    wait_exit 0
    brimlet_repairs=$(grep '^Brimlet\.exe ' "$E2E_WORK/rezo/calls.log" | grep -c 'REZO_RunRepairDevice(.*mode=0xC0) -> running') ||
      true
    [ "$brimlet_repairs" = 1 ] || fail "Brimlet ran $brimlet_repairs repairs in mode 0xC0"
    [ "$(rezo_calls)" = "REZO_CreateCUSBDevice REZO_DeviceExist REZO_GetDeviceKind " ] ||
      fail "Quillet's device library calls: $(rezo_calls)"
    if [ "$scenario" = usbest-and-drive ]; then
      [ ! -f "$E2E_WORK/e/commands.log" ] || fail "drive E was probed: $(cat "$E2E_WORK/e/commands.log")"
    fi
    ;;

  refused-win2k) refused win2k ;;
  refused-win2003) refused win2003 ;;
  refused-nt40) refused nt40 ;;
  refused-win98) refused win98 zh_TW ;;

  admitted-winxp) fallback_road --version winxp ;;
  admitted-vista) fallback_road --version vista ;;
  admitted-win7) fallback_road --version win7 ;;

  overwrite)
    # Files of an earlier run, larger than the new ones, are replaced whole.
    mkdir -p "$ZEM"
    for file in REZO.dll msvcp60.dll Quillet.exe "$TOOL" Disk.ini; do
      head -c 30000000 /dev/zero | tr '\0' 'x' >"$ZEM/$file"
    done
    probe_drive e E "device_id = 0x1234" >/dev/null
    road 'hardware_id = USB\VID_090C&PID_1000\0001'
    vexmend
    decline_sarrow
    expect_files REZO.dll msvcp60.dll Quillet.exe "$TOOL" Disk.ini
    expect_vexmend_files
    same_bytes "$ZEM/$TOOL" "$E2E_SARROW_SIM"
    expect_disk_ini
    ;;

  temp-too-long | quillet-temp-too-long | temp-unavailable)
    # The work folder would leave no room for its files within 260 characters, or Windows gives
    # no temporary path at all (one longer than 260): a message that says why, nothing written,
    # nothing started, the program ends with status 1.
    case $scenario in
      temp-too-long) length=245 program=$E2E_VEXMEND_SIM why="leaves no room for its files" ;;
      quillet-temp-too-long) length=240 program=$E2E_QUILLET_SIM why="leaves no room for its files" ;;
      temp-unavailable) length=270 program=$E2E_QUILLET_SIM why="temporary folder's path could not be read" ;;
    esac
    # The Windows form of the folder, with the backslash GetTempPathA ends it with, is `length` long.
    base=$E2E_WORK/t/
    temp=$base$(printf 'x%.0s' $(seq $((length - ${#base} - 3))))
    mkdir -p "$temp"
    [ $(($(win_path "$temp" | wc -c) + 1)) = "$length" ] || fail "the temporary path is not $length long"
    [ "$program" = "$E2E_QUILLET_SIM" ] && cp "$E2E_REZO_SIM" "$E2E_WORK/REZO.dll"  # bound when Quillet loads
    start --all --env "TEMP=$(win_path "$temp")" --env "TMP=$(win_path "$temp")" \
      --env "QUILLET_SIM_PROFILE=$(win_path "$ROAD_PROFILE")" --env "REZO_SIM_PROFILE=$(win_path "$REZO_PROFILE")" \
      "$program"
    drv wait "$MESSAGE" 20000 >/dev/null || fail "no message"
    picture "$MESSAGE" 1-message
    text_of "$MESSAGE" "$MESSAGE_TEXT" | grep -qF "$why" || fail "the message reads: $(text_of "$MESSAGE" "$MESSAGE_TEXT")"
    text_of "$MESSAGE" "$MESSAGE_TEXT" | grep -qF "nothing was written" || fail "the message does not say nothing was written"
    drv click "$MESSAGE" 1
    wait_exit 1 30
    [ -z "$(ls -A "$temp")" ] || fail "something was written: $(ls -A "$temp")"
    [ -z "$(ls -A "$base" | grep -v '^x*$')" ] || fail "something was written beside the folder"
    ;;

  vexmend-cannot-create)
    # msvcp60.dll cannot be created (a folder has its name): the files go in their order, so
    # REZO.dll is written and stays, Quillet.exe is not, and nothing starts.
    mkdir -p "$ZEM/msvcp60.dll"
    vexmend
    drv wait "$MESSAGE" 20000 >/dev/null || fail "no message"
    picture "$MESSAGE" 1-cannot-create
    expect_text "$MESSAGE" "$MESSAGE_TEXT" "Cannot create file $(win_path "$ZEM/msvcp60.dll")"
    drv click "$MESSAGE" 1
    wait_exit 1 30
    same_bytes "$ZEM/REZO.dll" "$E2E_REZO_SIM"
    [ ! -e "$ZEM/Quillet.exe" ] || fail "Quillet.exe was written"
    [ ! -s "$E2E_WORK/rezo/calls.log" ] || fail "Quillet ran: $(cat "$E2E_WORK/rezo/calls.log")"
    ;;

  tool-still-running)
    # The tool of an earlier run still runs from the work folder: Quillet cannot replace it, shows
    # "Cannot create file" with the path in the exception box, starts nothing and ends.
    probe_drive e E "device_id = 0x1234" >/dev/null
    vexmend
    tool_window "$OTI_TITLE" 2-fallback
    first=$PROGRAM_PID
    before=$(md5sum <"$ZEM/$TOOL")
    PROGRAM_PID=
    start --env "QUILLET_SIM_PROFILE=$(win_path "$ROAD_PROFILE")" --env "REZO_SIM_PROFILE=$(win_path "$REZO_PROFILE")" \
      --in-place "$ZEM/Quillet.exe"
    drv wait "$MESSAGE" 20000 >/dev/null || fail "no message"
    picture "$MESSAGE" 3-cannot-create
    expect_text "$MESSAGE" "$MESSAGE_TEXT" "Cannot create file $(win_path "$ZEM/$TOOL")"
    drv click "$MESSAGE" 1
    wait_exit 1 30
    [ "$(md5sum <"$ZEM/$TOOL")" = "$before" ] || fail "the running tool's file changed"
    [ "$(drv list | grep -c "$OTI_TITLE")" = 1 ] || fail "a second tool started: $(drv list)"
    # The first run waits for every program of the desktop's job, the second Quillet among them.
    PROGRAM_PID=$first
    drv click "$OTI_TITLE" 1
    wait_exit 1 30
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
