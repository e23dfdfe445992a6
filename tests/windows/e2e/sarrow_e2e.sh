#!/usr/bin/env bash
# tests/windows/e2e/sarrow_e2e.sh SCENARIO: Sarrow from its first window to its last, under Wine,
# on a simulated drive, driven by messages (BM_CLICK, keys, WM_GETTEXT) like a user would.
# E2E_SIM_EXE, E2E_PRODUCTION_EXE, E2E_WNASPI32 and E2E_ISP_IMAGE come from CMake.
set -euo pipefail
scenario=${1:?scenario}
export E2E_WORK=${E2E_WORK_ROOT:?}/$scenario E2E_ARTIFACTS=${E2E_ARTIFACT_ROOT:?}/sarrow-$scenario
. "$(dirname "$0")/e2e_lib.sh"

SPLASH="Vexmend#1014"
LICENCE="Vexmend#1017"
REPAIR="Vexmend#1008"
SUCCESS="#1022"
FAILURE="#1021"
SUCCESS_TEXT="Recovery Completed, Please Re-Plug The Flash Disk."
SPLASH_SECONDS=4.5  # the splash closes by itself after that long

# Sarrow's simulation flavour on the simulated drive of PROFILE (start's options go first).
sarrow() {
  local profile=$1
  shift
  start --env "SARROW_SIM_PROFILE=$(win_path "$profile")" "$@" "$E2E_SIM_EXE"
}

now_ms() {
  date +%s%3N
}

# The splash's picture, then Escape. When the key goes out well before the splash would close by
# itself, the splash must close at once; later than that the key proves nothing.
leave_splash() {
  drv wait "$SPLASH" 20000 >/dev/null || fail "no splash"
  local seen
  seen=$(now_ms)
  picture "$SPLASH" 1-splash
  escape_splash "$seen"
}

# Escape on the splash seen at SEEN (ms): it closes within two seconds, long before its own end.
escape_splash() {
  local seen=$1 sent
  sent=$(now_ms)
  if [ $((sent - seen)) -gt 2000 ]; then
    WINDRIVER_WAIT=0 drv key "$SPLASH" 0x1B >/dev/null 2>&1 || true
    echo "note: Escape went out $((sent - seen)) ms after the splash showed; not checked" >&2
    return
  fi
  drv key "$SPLASH" 0x1B >/dev/null || fail "no splash to press Escape on"
  drv gone "$SPLASH" 2000 >/dev/null || fail "Escape did not close the splash"
}

# Splash (ended early with Escape unless told to wait), licence agreed, repair dialog up.
to_repair_dialog() {
  if [ "${1:-}" = wait-splash ]; then
    shot "$SPLASH" 1-splash
    drv gone "$SPLASH" 10000 || fail "the splash did not close by itself"
  else
    leave_splash
  fi
  shot "$LICENCE" 2-licence
  drv click "$LICENCE" 1004
  shot "$REPAIR" 3-repair
}

# Start, then the result box: prints "success TEXT" or "failure TEXT".
run_repair() {
  drv click "$REPAIR" 1004
  for _ in $(seq 600); do
    if drv wait "$SUCCESS" 100 >/dev/null 2>&1; then
      shot "$SUCCESS" 4-result
      echo "success $(text_of "$SUCCESS" 1022)"
      return
    fi
    if drv wait "$FAILURE" 100 >/dev/null 2>&1; then
      shot "$FAILURE" 4-result
      echo "failure $(text_of "$FAILURE" 1021)"
      return
    fi
  done
  fail "no result box"
}

close_result_and_end() {
  drv click "${1:-$SUCCESS}" 2
  drv gone "${1:-$SUCCESS}" 10000 || fail "the result box stayed"
  sleep 0.5
  shot "$REPAIR" 5-after
  drv click "$REPAIR" 1006
  wait_exit
}

expect_result() {
  [ "$1" = "$2" ] || fail "result '$1', expected '$2'"
}

case $scenario in
  not-agree | close-licence)
    profile=$(drive d "capacity = 131072")
    truncate -s 64M "$E2E_WORK/d/drive.img"
    before=$(md5sum <"$E2E_WORK/d/drive.img")
    sarrow "$profile"
    # Escape the moment the splash shows: it must close long before its own end.
    drv wait "$SPLASH" 20000 >/dev/null || fail "no splash"
    escape_splash "$(now_ms)"
    shot "$LICENCE" 2-licence
    [ "$scenario" = not-agree ] && drv click "$LICENCE" 1006 || drv click "$LICENCE" 1002
    wait_exit
    [ "$(md5sum <"$E2E_WORK/d/drive.img")" = "$before" ] || fail "the image changed"
    [ ! -s "$E2E_WORK/d/commands.log" ] || fail "commands reached the drive: $(cat "$E2E_WORK/d/commands.log")"
    ;;

  fast)
    profile=$(drive d "capacity = 131072" "firmware = 080411-AB-")
    sarrow "$profile"
    to_repair_dialog wait-splash
    expect_result "$(run_repair)" "success $SUCCESS_TEXT"
    [ "$(commands "$profile" isp-begin)" = 0 ] || fail "an upload began"
    [ "$(commands "$profile" isp-write-bank)" = 0 ] || fail "banks were written"
    check_volume "$E2E_WORK/d/drive.img"
    close_result_and_end
    ;;

  upload)
    # n = 0x21; m = 5: the first nonzero byte of the sixteen is the sixth.
    profile=$(drive d "firmware = 071228-AB-" "controller = SM325AB" "flash_id = AD D3 14 A5" "isp_n = 0x21" \
      "isp_m_bytes = 00 00 00 00 00 07 00 01 00 00 00 00 00 00 00 00")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "success $SUCCESS_TEXT"
    [ "$(commands "$profile" isp-write-bank)" = 64 ] || fail "not 64 banks written"
    [ "$(commands "$profile" isp-read-bank)" = 256 ] || fail "not 256 quarters read back"
    [ "$(commands "$profile" isp-end)" = 1 ] || fail "no ISP end"
    # Every begin, bank write and read-back carries n in byte 3 and m in byte 6.
    wrong=$(awk '$2 ~ /^isp-(begin|write-bank|read-bank)$/ && (substr($3, 7, 2) != "21" || substr($3, 13, 2) != "05")' \
      "$E2E_WORK/d/commands.log")
    [ -z "$wrong" ] || fail "ISP commands without n = 21, m = 05: $wrong"
    cmp -n 101360 "$E2E_ISP_IMAGE" "$E2E_WORK/d/firmware.bin" || fail "the firmware area is not the image"
    [ "$(tail -c +101361 "$E2E_WORK/d/firmware.bin" | tr -d '\0' | wc -c)" = 0 ] || fail "the rest of the area is not zero"
    check_volume "$E2E_WORK/d/drive.img"
    close_result_and_end
    ;;

  no-n)
    profile=$(drive d "capacity = 131072" "isp_n = 0xFF")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "success $SUCCESS_TEXT"
    [ "$(commands "$profile" 'isp-.*')" = 0 ] || fail "ISP commands were sent"
    check_volume "$E2E_WORK/d/drive.img"
    close_result_and_end
    ;;

  read-back-differs)
    profile=$(drive d "capacity = 131072" "readback_corrupt = last")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "failure ISP Write Failed!!"
    [ "$(commands "$profile" write10)" = 0 ] || fail "the drive was formatted"
    close_result_and_end "$FAILURE"
    ;;

  other-model)
    profile=$(drive d "capacity = 131072" "controller = SM321BB")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "failure Unsupported Device!!"
    [ "$(commands "$profile" write10)" = 0 ] || fail "something was written"
    [ "$(commands "$profile" 'isp-.*')" = 0 ] || fail "ISP commands were sent"
    close_result_and_end "$FAILURE"
    ;;

  no-drive)
    profile=$(drive d "inquiry = none")
    sarrow "$profile"
    to_repair_dialog
    expect_text "$REPAIR" 1008 "No Disk!"
    drv click "$REPAIR" 1004
    shot "$FAILURE" 4-no-disk
    expect_text "$FAILURE" 1021 "No Disk !"
    drv click "$FAILURE" 2
    drv gone "$FAILURE" 10000 || fail "the box stayed"
    sleep 1
    ! drv wait "$FAILURE" 500 >/dev/null 2>&1 || fail "a second box opened"
    ! drv wait "$SUCCESS" 100 >/dev/null 2>&1 || fail "a run started"
    [ "$(drv enabled "$REPAIR" 1004 | tr -d '\r')" = 1 ] || fail "Start is disabled"
    expect_text "$REPAIR" 1008 "No Disk!"
    [ "$(commands "$profile" write10)" = 0 ] || fail "something was written"
    drv click "$REPAIR" 1006
    wait_exit
    ;;

  complete-1000)
    profile=$(drive d "capacity = 1000" "firmware = 080411-AB-")
    sarrow "$profile"
    to_repair_dialog
    drv click "$REPAIR" 1007
    sleep 0.3
    expect_result "$(run_repair)" "success $SUCCESS_TEXT"
    # The zero fill: seven commands of 128 sectors and one of 104, from sector 0 on, before the builder.
    expected=$(for lba in 0 128 256 384 512 640 768; do printf '2a00%08x0000800065536\n' "$lba"; done
               printf '2a00%08x0000%02x0053248\n' 896 104)
    got=$(awk '$2 == "write10" {print tolower($3) $4}' "$E2E_WORK/d/commands.log" | head -8)
    [ "$got" = "$expected" ] || fail "zero fill commands: $got"
    check_volume "$E2E_WORK/d/drive.img"
    close_result_and_end
    ;;

  device-box)
    profile=$(drive d "capacity = 1953125" "letter = F")
    sarrow "$profile"
    to_repair_dialog
    [ "$(text_of "$REPAIR" 1008 | head -1)" = "[F:] 953MB" ] || fail "device box: $(text_of "$REPAIR" 1008)"
    [ "$(text_of "$REPAIR" 1008 | sed -n 2p)" = "SMI       USB DISK        " ] || fail "device box: $(text_of "$REPAIR" 1008)"
    # The system menu's About item opens the about box over the repair dialog.
    drv post "$REPAIR" 0 0x0112 0x10
    shot "About Vexmend" 4-about
    drv click "About Vexmend" 1
    drv gone "About Vexmend" 5000 || fail "the about box stayed"
    drv click "$REPAIR" 1006
    wait_exit
    ;;

  close-refused)
    profile=$(drive d "capacity = 131072" "firmware = 080411-AB-")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "success $SUCCESS_TEXT"
    # The box belongs to the run: End, Escape and Alt+F4 (the taskbar's Close) must not end it.
    drv click "$REPAIR" 1006
    drv key "$REPAIR" 0x1B
    drv key "$REPAIR" 0x0D
    drv syscmd "$REPAIR" close
    sleep 1
    drv wait "$REPAIR" 1000 >/dev/null || fail "the repair dialog closed during the run"
    running || fail "the program ended during the run"
    close_result_and_end
    ;;

  writes-fail)
    profile=$(drive d "capacity = 131072" "firmware = 080411-AB-" "fail = write10:all")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "failure Format Failed!!"
    close_result_and_end "$FAILURE"
    ;;

  writes-ignored)
    profile=$(drive d "capacity = 131072" "firmware = 080411-AB-" "ignore_writes = yes")
    sarrow "$profile"
    to_repair_dialog
    expect_result "$(run_repair)" "failure Format Failed!!"
    close_result_and_end "$FAILURE"
    ;;

  write-protected-fat32 | write-protected-complete | write-protected-aspi)
    # The drive refuses every write with CHECK CONDITION (DATA PROTECT), as a real one with its
    # switch on does, while the platform call itself succeeds: the run must end in the failure box.
    case $scenario in
      write-protected-complete) sectors=131072 ;;
      *) sectors=16777216 ;;  # 8 GiB: the FAT32 builder
    esac
    profile=$(drive d "capacity = $sectors" "firmware = 080411-AB-" "write_protect = yes")
    if [ "$scenario" = write-protected-aspi ]; then
      cp "$E2E_WNASPI32" "$E2E_WORK/wnaspi32.dll"
      start --env "SARROW_SIM_PROFILE=$(win_path "$profile")" --version win98 --native-dll wnaspi32 \
        "$E2E_PRODUCTION_EXE"
    else
      sarrow "$profile"
    fi
    to_repair_dialog
    [ "$scenario" = write-protected-complete ] && drv click "$REPAIR" 1007 && sleep 0.3
    expect_result "$(run_repair)" "failure Format Failed!!"
    refused=$(awk '$2 == "write10" && $5 == "fail" && $6 == "07/27/00"' "$E2E_WORK/d/commands.log" | wc -l)
    [ "$refused" -ge 1 ] || fail "no write was refused as write-protected"
    [ "$refused" = "$(commands "$profile" write10)" ] || fail "a write went through"
    # The run stops at the first refused write.
    [ "$refused" = 1 ] || fail "$refused writes were sent after the drive refused the first"
    # The MBR and the first FAT sectors stay empty.
    [ -z "$(head -c 1048576 "$E2E_WORK/d/drive.img" | tr -d '\0' | head -c 1)" ] || fail "the image changed"
    close_result_and_end "$FAILURE"
    ;;

  refresh-in-use)
    # Another program holds the volume, so every lock fails. A device-box refresh only reads: it
    # still shows the drive, and closes the volume without a dismount that would pull it from
    # under that program.
    profile=$(drive d "capacity = 1953125" "volume_in_use = yes")
    sarrow "$profile"
    to_repair_dialog
    [ "$(text_of "$REPAIR" 1008 | head -1)" = "[F:] 953MB" ] || fail "device box: $(text_of "$REPAIR" 1008)"
    for _ in 1 2 3; do
      drv post "$REPAIR" 0 0x0113 0x999 >/dev/null  # WM_TIMER of the refresh timer
    done
    sleep 1
    [ "$(commands "$profile" device-info)" = 4 ] || fail "not four refreshes: $(commands "$profile" device-info)"
    [ "$(awk '$2 == "lock-volume" && $5 == "fail"' "$E2E_WORK/d/commands.log" | wc -l)" = 4 ] ||
      fail "the locks did not fail four times"
    [ "$(commands "$profile" dismount-volume)" = 0 ] ||
      fail "$(commands "$profile" dismount-volume) dismounts of a volume another program holds"
    [ "$(commands "$profile" close-volume)" -ge 4 ] || fail "the volume was not closed after each refresh"
    drv click "$REPAIR" 1006
    wait_exit
    ;;

  refresh-stable)
    # A hundred device-box refreshes (the refresh timer's message) and repaints leave the window
    # as it was and the process with no more GDI objects than before.
    profile=$(drive d "capacity = 131072")
    sarrow "$profile"
    to_repair_dialog
    first=$(text_of "$REPAIR" 1008)
    refresh_and_repaint() {
      for _ in $(seq "$1"); do
        drv post "$REPAIR" 0 0x0113 0x999 >/dev/null  # WM_TIMER of the refresh timer
        drv redraw "$REPAIR" >/dev/null
      done
      sleep 1
    }
    refresh_and_repaint 5
    before=$(drv gdi "$REPAIR" | tr -d '\r')
    device_reads=$(commands "$profile" device-info)
    flash_reads=$(commands "$profile" flash-info)
    dismounts=$(commands "$profile" dismount-volume)
    refresh_and_repaint 100
    after=$(drv gdi "$REPAIR" | tr -d '\r')
    echo "GDI objects: $before before, $after after a hundred refreshes and repaints"
    # Each refresh reads the device and the flash information once: the hundred really ran.
    [ $(($(commands "$profile" device-info) - device_reads)) = 100 ] ||
      fail "device reads grew from $device_reads to $(commands "$profile" device-info), not by 100"
    [ $(($(commands "$profile" flash-info) - flash_reads)) = 100 ] ||
      fail "flash reads grew from $flash_reads to $(commands "$profile" flash-info), not by 100"
    # The locks succeed here: each refresh ends with a dismount.
    [ $(($(commands "$profile" dismount-volume) - dismounts)) = 100 ] ||
      fail "dismounts grew from $dismounts to $(commands "$profile" dismount-volume), not by 100"
    [ "$before" -gt 0 ] || fail "GDI objects cannot be counted"
    [ "$after" -le "$before" ] || fail "GDI objects grew from $before to $after"
    [ "$(text_of "$REPAIR" 1008)" = "$first" ] || fail "the device box changed: $(text_of "$REPAIR" 1008)"
    [ "$(commands "$profile" write10)" = 0 ] || fail "a refresh wrote"
    shot "$REPAIR" 4-after-refreshes
    drv click "$REPAIR" 1006
    wait_exit
    ;;

  chinese)
    profile=$(drive d "capacity = 131072" "firmware = 080411-AB-")
    sarrow "$profile" --language zh_TW
    big5() { printf '%s' "$1" | iconv -f UTF-8 -t BIG5; }
    # Read as soon as it shows: the splash lasts 4.5 s, and screenshots queue for the screen.
    # The driver reads the Big5 texts in the program's own code page.
    drv wait "$SPLASH" 20000 >/dev/null || fail "no splash"
    seen=$(now_ms)
    [ "$(text_of "$SPLASH" 1014)" = "$(big5 '1. 請先備份隨身碟中的所有檔案')" ] || fail "the splash is not Chinese"
    picture "$SPLASH" 1-splash
    escape_splash "$seen"
    # The agreement's language is the licence text test's; a rich edit box gives its text to no
    # other process. Here it is kept as a screenshot.
    shot "$LICENCE" 2-licence
    drv click "$LICENCE" 1004
    shot "$REPAIR" 3-repair
    [ "$(text_of "$REPAIR" 1020)" = "$(big5 裝置)" ] || fail "the device caption is not Chinese"
    [ "$(text_of "$REPAIR" 1019)" = "$(big5 選項)" ] || fail "the option caption is not Chinese"
    expect_result "$(run_repair)" "success $(big5 修復完成，請重新插入隨身碟。)"
    close_result_and_end
    ;;

  production-no-drive)
    start "$E2E_PRODUCTION_EXE"
    to_repair_dialog
    expect_text "$REPAIR" 1008 "No Disk!"
    drv click "$REPAIR" 1006
    wait_exit
    ;;

  production-aspi)
    # Windows 98: the production program finds the drive through ASPI, here our test wnaspi32.dll.
    profile=$(drive d "capacity = 131072" "firmware = 080411-AB-")
    cp "$E2E_WNASPI32" "$E2E_WORK/wnaspi32.dll"
    start --env "SARROW_SIM_PROFILE=$(win_path "$profile")" --version win98 --native-dll wnaspi32 \
      "$E2E_PRODUCTION_EXE"
    to_repair_dialog
    expect_result "$(run_repair)" "success $SUCCESS_TEXT"
    [ "$(commands "$profile" write10)" -gt 0 ] || fail "nothing went through ASPI"
    check_volume "$E2E_WORK/d/drive.img"
    close_result_and_end
    ;;

  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
rm -rf "$E2E_WORK"
echo "PASS $scenario"
