#!/usr/bin/env bash
# tests/windows/e2e/brimlet_e2e.sh SCENARIO: Brimlet from its first stage to its last window, under
# Wine, against the simulating REZO.dll, driven by messages (BM_CLICK, keys, WM_GETTEXT,
# WM_DEVICECHANGE) like a user and Windows would.
# E2E_SIM_EXE, E2E_PRODUCTION_EXE, E2E_REZO_SIM, E2E_REZO, E2E_CARRIED (the folder of the carried
# text files) and E2E_BOOTCODE come from CMake.
#
# Brimlet's single-instance mutex is one name for the whole Wine session, so its scenarios run one
# after another (ctest RESOURCE_LOCK), each with a TEMP (and so a RadAva folder) of its own.
set -euo pipefail
scenario=${1:?scenario}
export E2E_WORK=${E2E_WORK_ROOT:?}/$scenario E2E_ARTIFACTS=${E2E_ARTIFACT_ROOT:?}/brimlet-$scenario
. "$(dirname "$0")/e2e_lib.sh"

RADAVA=$E2E_WORK/temp/RadAva
CALLS=$E2E_WORK/calls.log
PROFILE=$E2E_WORK/usbest.profile
# The splash and the licence have no title; the licence is the window with the text box. The
# splash is the one without it, so that a key meant for a splash that has closed by itself
# never reaches the licence.
SPLASH="#!1011"
LICENCE="#1011"
REPAIR="Brimlet#1016"
MESSAGE="#1012"
BOX="Brimlet#65535"  # AfxMessageBox: captioned with the program's name, its text in static 0xFFFF
SUCCESS_TEXT="Repair complete, Please un-plug device"
NO_DEVICE_TEXT="Device not found, please insert device"

# usbest [key = value...]: the simulated device's profile, with its call log beside it.
usbest() {
  {
    echo "log = calls.log"
    for line in "$@"; do echo "$line"; done
  } >"$PROFILE"
}

# brimlet [--version V] [--language L] [PROGRAM]: the first stage of PROGRAM (the simulation
# flavour by default), waiting for every process it starts. The copy in RadAva is named
# Brimlet.exe, so its Windows version goes by that name: set here, never left from an earlier
# scenario.
brimlet() {
  local version=winxp args=() program=$E2E_SIM_EXE
  while [ $# -gt 0 ]; do
    case $1 in
      --version) version=$2; shift 2 ;;
      --language) args+=("$1" "$2"); shift 2 ;;
      *) program=$1; shift ;;
    esac
  done
  start --all --version "$version" --app-version "Brimlet.exe=$version" --env "REZO_SIM_PROFILE=$(win_path "$PROFILE")" "${args[@]}" "$program"
}

# The call log without its line ends' carriage returns (empty when the library was never loaded).
call_log() {
  [ -f "$CALLS" ] && tr -d '\r' <"$CALLS" || true
}

# expect_calls FUNCTION OP COUNT MESSAGE: the lines of the call log whose function (third field)
# matches the regular expression FUNCTION number OP (test's -eq, -ge, ...) COUNT, or the scenario
# fails with MESSAGE. No log is no answer: the library was never loaded. (Not a $(...) function:
# a failure there would end only the subshell.)
expect_calls() {
  [ -f "$CALLS" ] || fail "no call log: the library was never loaded"
  local count
  count=$(call_log | awk -v f="$1" '$3 ~ "^(" f ")\\("' | wc -l)
  [ "$count" "$2" "$3" ] || fail "$4 ($count calls of $1)"
}

# The mode bytes of the repairs the library started.
repair_modes() {
  call_log | awk '$3 ~ /^REZO_RunRepairDevice\(/ && /-> running$/' | sed -E 's/.*mode=(0x[0-9A-F]+).*/\1/'
}

splash_then_licence() {
  shot "$SPLASH" 1-splash
  drv key "$SPLASH" 0x1B || true  # it may have closed by itself
  shot "$LICENCE" 2-licence
}

to_repair_dialog() {
  splash_then_licence
  drv click "$LICENCE" 1
  shot "$REPAIR" 3-repair
}

# Repair, then the result message: prints its text (its line break gone).
run_repair() {
  drv click "$REPAIR" 1
  drv wait "$MESSAGE" 60000 >/dev/null || fail "no result message"
  picture "$MESSAGE" 5-result
  text_of "$MESSAGE" 1012
}

close_message() {
  drv click "$MESSAGE" 1013
  drv gone "$MESSAGE" 10000 || fail "the message stayed"
}

# The files of a second stage: the seven carried files, byte for byte, and the 65 images.
check_second_stage_files() {
  cmp -s "$E2E_REZO_SIM" "$RADAVA/REZO.dll" || fail "REZO.dll is not the simulating library"
  for f in Device.ini deft63.esp Agreement.chs Agreement.cht Agreement.eng; do
    cmp -s "$E2E_CARRIED/$f" "$RADAVA/$f" || fail "$f differs from the carried file"
  done
  cmp -s "$E2E_BOOTCODE" "$RADAVA/BootCode.r" || fail "BootCode.r differs from the carried archive"
  [ -x "$RADAVA/Brimlet.exe" ] || [ -f "$RADAVA/Brimlet.exe" ] || fail "no Brimlet.exe in RadAva"
  cmp -s "$E2E_SIM_EXE" "$RADAVA/Brimlet.exe" || fail "Brimlet.exe in RadAva is not the program"
  local count
  count=$(find "$RADAVA/Boot" -type f | wc -l)
  [ "$count" = 65 ] || fail "$count files unpacked under Boot, not 65"
  tag() { dd if="$RADAVA/Boot/$1" bs=1 skip=$((0xEFF0)) count=8 status=none; }
  [ "$(tag A1/ur.bin)" = A1BAR665 ] || fail "A1/ur.bin carries the tag '$(tag A1/ur.bin)'"
  [ "$(tag A2C/us.bin)" = A2CS0677 ] || fail "A2C/us.bin carries the tag '$(tag A2C/us.bin)'"
  [ "$(tag BCD/us.bin)" = A2Q00667 ] || fail "BCD/us.bin carries the tag '$(tag BCD/us.bin)'"
  [ "$(tag U65/A0/us.bin)" = A0AS0678 ] || fail "U65/A0/us.bin carries the tag '$(tag U65/A0/us.bin)'"
  # Every image (all but the font) carries a tag of the same form: 8 letters and digits.
  local bad
  bad=$(cd "$RADAVA/Boot" && find . -type f ! -name font.bin | while read -r f; do
    t=$(dd if="$f" bs=1 skip=$((0xEFF0)) count=8 status=none)
    [[ $t =~ ^[A-Z0-9]{8}$ ]] || echo "$f"
  done)
  [ -z "$bad" ] || fail "images without a tag: $bad"
  [ "$(stat -c %s "$RADAVA/Boot/BCD/us.bin")" = 131072 ] || fail "BCD/us.bin is not 131072 bytes"
  [ "$(stat -c %s "$RADAVA/Boot/BCD/font.bin")" = 1052 ] || fail "BCD/font.bin is not 1052 bytes"
}

# Two pictures (24-bit BMP) of the repair dialog, while the library held at 100 and once it said
# the repair ended: within rows y0..y1 (the bar) they differ, and only in the last tenth of the
# width, the bar's final step.
bar_moved_only_at_its_end() {
  python3 - "$1" "$2" "$3" "$4" <<'EOF'
import struct, sys
def picture(path):
    data = open(path, 'rb').read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height = struct.unpack_from('<ii', data, 18)
    stride = (width * 3 + 3) & ~3
    rows = [data[offset + stride * (abs(height) - 1 - y):][:width * 3] for y in range(abs(height))]
    return width, abs(height), rows
w1, h1, a = picture(sys.argv[1])
w2, h2, b = picture(sys.argv[2])
if (w1, h1) != (w2, h2):
    sys.exit('sizes differ')
columns = {x for y in range(int(sys.argv[3]), int(sys.argv[4]) + 1)
           for x in range(w1) if a[y][3 * x:3 * x + 3] != b[y][3 * x:3 * x + 3]}
if not columns:
    sys.exit('the bar did not move')
if min(columns) < w1 * 9 // 10:
    sys.exit('the bar moved from column %d on' % min(columns))
EOF
}

# A copy of the simulation flavour whose carried archive is damaged: "truncated" claims more data
# for its last entry than the archive holds, "corrupt" changes a byte inside a gzip member. Prints
# the copy's path.
damaged_program() {
  local copy=$E2E_WORK/BrimletSim-damaged.exe
  python3 - "$E2E_SIM_EXE" "$E2E_BOOTCODE" "$copy" "$1" <<'EOF'
import struct, sys
program, archive, copy, how = sys.argv[1:5]
data = bytearray(open(program, 'rb').read())
carried = open(archive, 'rb').read()
start = data.find(carried)
if start < 0 or data.find(carried, start + 1) >= 0:
    sys.exit('the archive is not carried exactly once')
marker = b' \\~#$&* '
if how == 'truncated':
    last = carried.rfind(marker) + len(marker)
    length, = struct.unpack_from('<I', carried, last)
    struct.pack_into('<I', data, start + last, length + 1000)
else:
    first = carried.find(marker) + len(marker)
    length, = struct.unpack_from('<I', carried, first)
    data[start + first + 4 + length // 2] ^= 0x55
open(copy, 'wb').write(data)
EOF
  echo "$copy"
}

case $scenario in
  decline)
    # The first stage copies itself into RadAva and starts the copy; the copy writes its files and
    # unpacks the archive; declining the licence ends it before the library is touched.
    usbest
    brimlet
    splash_then_licence
    check_second_stage_files
    drv click "$LICENCE" 2
    wait_exit 0
    [ ! -f "$CALLS" ] || fail "the library was used: $(cat "$CALLS")"
    ;;

  licence-escape | licence-close)
    usbest
    brimlet
    splash_then_licence
    if [ "$scenario" = licence-escape ]; then
      drv key "$LICENCE" 0x1B
    else
      drv click "$LICENCE" 1013
    fi
    wait_exit 0
    [ ! -f "$CALLS" ] || fail "the library was used after the licence was declined"
    ;;

  success)
    # A whole repair: the bar stops at 99 while the library reports 100 and holds, and shows 100
    # once the state reads 0xFF; then the success message.
    usbest "description = USBest UT163 USB Flash Disk" "firmware = S00650" "progress_step = 25" \
      "step_ms = 100" "finish_ms = 3000" "error_code = 0x13" "bad_blocks = 40" "total_blocks = 4096"
    brimlet
    splash_then_licence
    drv key "$LICENCE" 0x0D  # Enter accepts
    shot "$REPAIR" 3-repair
    expect_text "$REPAIR" 1007 "$(printf 'USBest UT163 USB Flash Disk\n\nFW Ver:S00650')"
    expect_text "$REPAIR" 1009 "New FW Ver:CS0677"
    expect_text "$REPAIR" 1 Update
    expect_text "$REPAIR" 2 Close
    expect_text "$REPAIR" 1002 "Device Information"
    expect_text "$REPAIR" 1003 "Repair Option"
    [ "$(drv checked "$REPAIR" 1005 | tr -d '\r')" = 1 ] || fail "Complete is not selected"
    [ "$(drv enabled "$REPAIR" 1004 | tr -d '\r')" = 0 ] || fail "Fast is enabled"
    [ "$(drv checked "$REPAIR" 1008 | tr -d '\r')" = 1 ] || fail "the firmware switch is not ticked"
    drv click "$REPAIR" 1
    # Hold: the library says 100 and keeps running for 3 s.
    for _ in $(seq 100); do
      call_log | grep -q 'REZO_GetCurrentProgress(0x[0-9A-F]*) -> 100$' && break
      sleep 0.1
    done
    sleep 0.5
    drv shot "$REPAIR" "$(win_path "$E2E_ARTIFACTS/4-holding.bmp")" || fail "no picture while holding"
    drv wait "$MESSAGE" 30000 >/dev/null || fail "no result message"
    drv shot "$REPAIR" "$(win_path "$E2E_ARTIFACTS/5-finished.bmp")" || fail "no picture when finished"
    picture "$MESSAGE" 6-result
    [ "$(text_of "$MESSAGE" 1012)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    # The bar's last step (99 to 100) came only when the state read 0xFF.
    height=$(python3 -c "import struct;d=open('$E2E_ARTIFACTS/4-holding.bmp','rb').read();print(abs(struct.unpack_from('<i',d,22)[0]))")
    bar_moved_only_at_its_end "$E2E_ARTIFACTS/4-holding.bmp" "$E2E_ARTIFACTS/5-finished.bmp" \
      $((height - 155)) $((height - 130)) || fail "the bar did not stop short of the end while the library held at 100"
    close_message
    wait_exit 0
    [ "$(repair_modes)" = 0xC0 ] || fail "repair modes: $(repair_modes)"
    expect_calls REZO_GetBADBlockInfomation -eq 1 "the bad blocks were not read once"
    expect_calls REZO_GetErrorCode -eq 1 "the error code was not read once"
    # The state was polled until it read 0xFF, and never after.
    [ "$(call_log | awk '$3 ~ /^REZO_GetCurrentState/' | tail -1 | awk '{print $NF}')" = 0xFF ] ||
      fail "the last state read is not 0xFF"
    ;;

  failure | failure-0x100)
    code=0x4
    [ "$scenario" = failure-0x100 ] && code=0x100
    usbest "error_code = $code" "progress_step = 50" "step_ms = 50"
    brimlet
    to_repair_dialog
    [ "$(run_repair)" = "Repair fail, ErrCode=$code" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    close_message
    wait_exit 0
    [ "$(repair_modes)" = 0xC0 ] || fail "repair modes: $(repair_modes)"
    ;;

  no-firmware)
    usbest "firmware = FFFFFF" "chip_id = 353" "chip_version = 2"
    brimlet
    to_repair_dialog
    expect_text "$REPAIR" 1007 "$(printf 'USBest UT165 USB Flash Disk\n\nFW Ver:NO FIRMWARE')"
    [ "$(drv checked "$REPAIR" 1008 | tr -d '\r')" = 1 ] || fail "the firmware switch is not ticked"
    [ "$(drv enabled "$REPAIR" 1008 | tr -d '\r')" = 0 ] || fail "the firmware switch is enabled"
    [ "$(run_repair)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    close_message
    wait_exit 0
    # Chip 353: complete repair, no firmware update bit.
    [ "$(repair_modes)" = 0x40 ] || fail "repair modes: $(repair_modes)"
    ;;

  no-device)
    usbest "present = no"
    brimlet
    splash_then_licence
    drv click "$LICENCE" 1
    shot "$MESSAGE" 3-no-device
    expect_text "$MESSAGE" 1012 "$NO_DEVICE_TEXT"
    ! drv wait "$REPAIR" 300 >/dev/null 2>&1 || fail "the repair dialog showed"
    close_message
    wait_exit 0
    expect_calls REZO_DeviceExist -eq 1 "the presence was not tested once"
    expect_calls REZO_RunRepairDevice -eq 0 "a repair ran"
    ;;

  production-no-device)
    # The shipped program carries the REZO.dll that presents no device.
    brimlet "$E2E_PRODUCTION_EXE"
    splash_then_licence
    cmp -s "$E2E_REZO" "$RADAVA/REZO.dll" || fail "REZO.dll is not the shipped library"
    drv click "$LICENCE" 1
    shot "$MESSAGE" 3-no-device
    expect_text "$MESSAGE" 1012 "$NO_DEVICE_TEXT"
    close_message
    wait_exit 0
    ;;

  chip-360 | chip-353-17-win7 | chip-353-17-winxp)
    case $scenario in
      chip-360) usbest "chip_id = 360"; brimlet; expected="The Recovery Utility do not support this device." ;;
      chip-353-17-win7) usbest "chip_id = 353" "chip_version = 17"; brimlet --version win7
        expected="User can not use this tool in Windows Vista, please use it in Windows 2000/XP." ;;
      chip-353-17-winxp) usbest "chip_id = 353" "chip_version = 17"; brimlet --version winxp; expected= ;;
    esac
    to_repair_dialog_or_box() {
      splash_then_licence
      drv click "$LICENCE" 1
    }
    to_repair_dialog_or_box
    if [ -n "$expected" ]; then
      shot "$BOX" 3-refused
      expect_text "$BOX" 65535 "$expected"
      drv key "$BOX" 0x0D
      wait_exit 0
      expect_calls REZO_GetChipID -ge 1 "the chip was not read"
      expect_calls REZO_RunRepairDevice -eq 0 "a repair ran"
    else
      shot "$REPAIR" 3-repair
      [ "$(run_repair)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
      close_message
      wait_exit 0
      [ "$(repair_modes)" = 0x40 ] || fail "repair modes: $(repair_modes)"
    fi
    ;;

  second-start)
    # A second start while the first runs: its copy cannot replace the running Brimlet.exe (or, if
    # it could, the copy finds the mutex held), so it brings the running window forward, restored,
    # and ends.
    usbest
    brimlet
    to_repair_dialog
    geometry() { drv list | tr -d '\r' | grep '"Brimlet"' | grep -o '([-0-9]*,[-0-9]* [0-9]*x[0-9]*)'; }
    restored=$(geometry)
    drv syscmd "$REPAIR" minimize
    sleep 0.5
    [ "$(geometry)" != "$restored" ] || fail "the repair dialog did not minimise"
    first_pid=$PROGRAM_PID
    start --app-version Brimlet.exe=winxp --as BrimletSim-second.exe "$E2E_SIM_EXE"
    wait_exit 0 30
    sleep 0.5
    [ "$(geometry)" = "$restored" ] || fail "the repair dialog is not restored: $(geometry), was $restored"
    PROGRAM_PID=$first_pid
    kill -0 "$first_pid" 2>/dev/null || fail "the first program ended"
    picture "$REPAIR" 4-forward
    drv click "$REPAIR" 2
    wait_exit 0
    expect_calls REZO_CreateCUSBDevice -eq 1 "the second start used the library"
    ;;

  removal-idle)
    # The device goes while no repair runs: the library tells the windows, Brimlet finds it absent,
    # says so in a plain message box and ends.
    usbest "removal = idle 6000"
    brimlet
    to_repair_dialog
    shot "$BOX" 4-removed
    expect_text "$BOX" 65535 "$NO_DEVICE_TEXT"
    ! drv wait "$REPAIR" 200 >/dev/null 2>&1 || fail "the repair dialog still shows"
    drv key "$BOX" 0x0D
    wait_exit 0
    expect_calls REZO_RunRepairDevice -eq 0 "a repair ran"
    ;;

  removal-busy | removal-after)
    # Removal while the repair runs is ignored, and so is one while the result message shows.
    if [ "$scenario" = removal-busy ]; then
      usbest "removal = during 40" "progress_step = 10" "step_ms = 100"
    else
      usbest "removal = after" "progress_step = 50" "step_ms = 50" "finish_ms = 100"
    fi
    brimlet
    to_repair_dialog
    [ "$(run_repair)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    call_log | grep -q 'event removal-announced' || fail "the device's removal was not announced"
    sleep 1.5
    ! drv wait "$BOX" 300 >/dev/null 2>&1 || fail "a second box opened over the result"
    drv wait "$MESSAGE" 500 >/dev/null || fail "the result message went"
    close_message
    wait_exit 0
    expect_calls REZO_DeviceExist -eq 1 "the presence was tested during the repair"
    ;;

  close-during-repair)
    # Close while the library repairs: the window goes at once, the program waits for the repair
    # to end before the library is released, and ends cleanly.
    usbest "progress_step = 5" "step_ms = 200"
    brimlet
    to_repair_dialog
    drv click "$REPAIR" 1
    for _ in $(seq 50); do
      call_log | grep -q 'REZO_RunRepairDevice.*-> running' && break
      sleep 0.1
    done
    sleep 0.5
    drv click "$REPAIR" 2
    drv gone "$REPAIR" 5000 || fail "the repair dialog stayed"
    ! drv wait "$MESSAGE" 300 >/dev/null 2>&1 || fail "a result message showed"
    wait_exit 0 60
    call_log | grep -q 'REZO_RunRepairDevice.*-> 0 state=0xFF' || fail "the repair did not run to its end"
    ;;

  repair-twice)
    # Repair pressed again (click, Enter, a double click) while busy: one repair, one mode byte.
    usbest "progress_step = 10" "step_ms = 150"
    brimlet
    to_repair_dialog
    drv click "$REPAIR" 1
    drv click "$REPAIR" 1
    drv key "$REPAIR" 0x0D
    drv post "$REPAIR" 0 0x0111 $((0x00050001)) 0 || true  # BN_DOUBLECLICKED of button 1
    drv click "$REPAIR" 1
    drv wait "$MESSAGE" 60000 >/dev/null || fail "no result message"
    [ "$(text_of "$MESSAGE" 1012)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    close_message
    wait_exit 0
    [ "$(repair_modes | wc -l)" = 1 ] || fail "$(repair_modes | wc -l) repairs started"
    ! call_log | grep -q 'refused' || fail "a second repair was asked for"
    [ "$(repair_modes)" = 0xC0 ] || fail "repair modes: $(repair_modes)"
    ;;

  chinese-traditional | chinese-simplified)
    if [ "$scenario" = chinese-traditional ]; then
      language=zh_TW encoding=BIG5 update=更新 information=裝置資訊 done=修復完成，請拔除裝置 licence=Agreement.cht
    else
      language=zh_CN encoding=GBK update=更新 information=设备信息 done=修复完成，请拔出设备 licence=Agreement.chs
    fi
    local_text() { printf '%s' "$1" | iconv -f UTF-8 -t "$encoding"; }
    usbest "progress_step = 50" "step_ms = 50"
    brimlet --language "$language"
    splash_then_licence
    # The licence is the locale's file: its first line heads the text box.
    [ "$(text_of "$LICENCE" 1011 | head -1)" = "$(head -1 "$RADAVA/$licence" | tr -d '\r')" ] ||
      fail "the licence is not $licence"
    drv click "$LICENCE" 1
    shot "$REPAIR" 3-repair
    [ "$(text_of "$REPAIR" 1)" = "$(local_text "$update")" ] || fail "button 1 is not Chinese"
    [ "$(text_of "$REPAIR" 1002)" = "$(local_text "$information")" ] || fail "the device frame is not Chinese"
    [ "$(run_repair)" = "$(local_text "$done")" ] || fail "the result is not Chinese"
    close_message
    wait_exit 0
    ;;

  english)
    usbest "progress_step = 50" "step_ms = 50"
    brimlet
    splash_then_licence
    [ "$(text_of "$LICENCE" 1011 | head -1)" = "$(head -1 "$RADAVA/Agreement.eng" | tr -d '\r')" ] ||
      fail "the licence is not Agreement.eng"
    drv click "$LICENCE" 1
    shot "$REPAIR" 3-repair
    [ "$(run_repair)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    close_message
    wait_exit 0
    ;;

  truncated-archive | corrupt-archive)
    # The archive breaks off, or one of its members cannot be read: start-up refuses to go on
    # with images missing, and the library is never loaded.
    usbest
    brimlet "$(damaged_program "${scenario%-archive}")"
    shot "$BOX" 1-refused
    expect_text "$BOX" 65535 "Cannot open the boot code file"
    drv key "$BOX" 0x0D
    wait_exit 0
    [ ! -f "$CALLS" ] || fail "the library was used"
    ! drv wait "$SPLASH" 300 >/dev/null 2>&1 || fail "the splash showed"
    ;;

  radava-file)
    # A file named RadAva where the work folder belongs: the first stage ends without a word.
    mkdir -p "$E2E_WORK/temp"
    echo "not a folder" >"$RADAVA"
    usbest
    brimlet
    wait_exit 0
    [ -f "$RADAVA" ] || fail "RadAva is no longer the file it was"
    [ "$(cat "$RADAVA")" = "not a folder" ] || fail "RadAva was changed"
    ;;

  earlier-files)
    # Files of an earlier run, larger than the new ones and marked read-only, are replaced whole:
    # the program's copy and the carried files. (Wine running as root lets anyone write a
    # read-only file, so here the attribute only sets the stage; the sizes are what is checked.)
    mkdir -p "$RADAVA/Boot/A2C"
    head -c 20000000 /dev/zero | tr '\0' 'x' >"$RADAVA/Brimlet.exe"
    for f in Device.ini deft63.esp Agreement.eng REZO.dll BootCode.r Boot/A2C/us.bin; do
      head -c 5000000 /dev/zero | tr '\0' 'y' >"$RADAVA/$f"
    done
    "$WINE_RUN" --session "$WINE_SESSION" attrib +R "$(win_path "$RADAVA/Brimlet.exe")" </dev/null >/dev/null 2>&1
    "$WINE_RUN" --session "$WINE_SESSION" attrib +R "$(win_path "$RADAVA/Device.ini")" </dev/null >/dev/null 2>&1
    usbest
    brimlet
    splash_then_licence
    check_second_stage_files
    [ "$(stat -c %s "$RADAVA/Boot/A2C/us.bin")" = 65536 ] || fail "A2C/us.bin was not replaced whole"
    drv click "$LICENCE" 2
    wait_exit 0
    ;;

  windows-98)
    # The 9x road: build 410, no rights test, the security functions never looked for.
    usbest "progress_step = 50" "step_ms = 50"
    brimlet --version win98
    to_repair_dialog
    [ "$(run_repair)" = "$SUCCESS_TEXT" ] || fail "result: $(text_of "$MESSAGE" 1012)"
    close_message
    wait_exit 0
    grep -q '^Microsoft Windows 98 SE' "$E2E_ARTIFACTS"/program*.log || fail "no Windows 98 edition line"
    ;;

  case-folder)
    # Started from the work folder written in other letter case: that is the work folder, so this
    # is the second stage, which writes its files beside itself.
    folder=$E2E_WORK/temp/radava
    mkdir -p "$folder"
    cp "$E2E_SIM_EXE" "$folder/Brimlet.exe"
    usbest
    start --all --in-place --env "REZO_SIM_PROFILE=$(win_path "$PROFILE")" "$folder/Brimlet.exe"
    splash_then_licence
    [ ! -e "$RADAVA" ] || fail "a folder RadAva was made beside radava"
    [ "$(find "$folder/Boot" -type f | wc -l)" = 65 ] || fail "the images are not unpacked beside the program"
    cmp -s "$E2E_REZO_SIM" "$folder/REZO.dll" || fail "REZO.dll is not beside the program"
    drv click "$LICENCE" 2
    wait_exit 0
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
