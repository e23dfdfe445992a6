#!/usr/bin/env bash
# tests/windows/device/device_demo_test.sh DEMO_EXE WORK_DIR
# device_demo on fresh simulated drives: what it prints for a 256 MiB drive on F:, on both
# paths, and that a drive beyond W: is not found.
set -euo pipefail
exe=$1 work=$2
rm -rf "$work" && mkdir -p "$work"
windows_path() { echo "Z:${1//\//\\}"; }

run() {  # run NAME VERSION EXIT-STATUS PROFILE-LINES...: the demo must end with EXIT-STATUS
  local name=$1 version=$2 expected=$3 status=0
  shift 3
  printf '%s\n' "image = $name.img" "log = $name.log" "$@" >"$work/$name.profile"
  SARROW_SIM_PROFILE=$(windows_path "$work/$name.profile") WINE_VERSION=$version WINE_TIMEOUT=60 \
    "$WINE_RUN" --session "$WINE_SESSION" "$exe" | tr -d '\r' >"$work/$name.out" || status=$?
  [ "$status" = "$expected" ] ||
    { echo "FAIL $name: the demo ended with status $status, expected $expected; it printed:"; cat "$work/$name.out"; exit 1; }
}
expect() {  # expect NAME TEXT
  grep -qxF -- "$2" "$work/$1.out" || { echo "FAIL $1: no line '$2' in:"; cat "$work/$1.out"; exit 1; }
}

run xp winxp 0 "capacity = 524288" "letter = F"
expect xp "discovery: found drive F:"
expect xp "open and lock: locked"
expect xp "[F:] 256MB"
expect xp "SMI       USB DISK        "
expect xp "firmware: model SM325AB, version 071228-AB-"
expect xp "flash: id EC D5 14 B6, n 1, m 0"
expect xp "dismount and close: done"
# The log holds the drive's commands and what happened to its volume (lock, dismount, close).
[ "$(awk '$2 !~ /-volume$/' "$work/xp.log" | wc -l)" -eq 5 ] || { echo "FAIL: expected 5 commands"; cat "$work/xp.log"; exit 1; }
[ "$(awk '$2 == "lock-volume" || $2 == "dismount-volume"' "$work/xp.log" | awk '{print $2, $5}' | tr '\n' ' ')" = \
  "lock-volume ok dismount-volume ok " ] || { echo "FAIL: expected one lock and one dismount"; cat "$work/xp.log"; exit 1; }

"$WINE_RUN" --session "$WINE_SESSION" reg add \
  'HKCU\Software\Wine\AppDefaults\device_demo.exe\DllOverrides' /v wnaspi32 /d native /f >/dev/null
run legacy win98 0 "capacity = 1953125" "letter = H" "vendor = ACME"
expect legacy "path: ASPI (Windows 9x)"
expect legacy "[H:] 953MB"
expect legacy "ACME      USB DISK        "

run beyond winxp 1 "capacity = 2048" "letter = X"
expect beyond "discovery: no Silicon Motion drive on D: to W:"
echo "device demo: all cases passed"
