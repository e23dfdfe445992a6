# tests/windows/e2e/e2e_lib.sh — sourced by the end-to-end scenarios.
# Runs the real programs under Wine (tools/wine/run in the ctest session), drives their windows
# with windriver, and checks what ends on the simulated drive.
# Needs: WINE_SESSION, WINE_RUN (ctest sets both), E2E_BIN (the win32 build folder), E2E_WORK (a
# fresh folder for this scenario) and E2E_ARTIFACTS (where screenshots and logs are kept).
set -euo pipefail

: "${WINE_SESSION:?}" "${WINE_RUN:?}" "${E2E_BIN:?}" "${E2E_WORK:?}" "${E2E_ARTIFACTS:?}"
WINDRIVER=$E2E_BIN/tests/windows/e2e/windriver.exe
rm -rf "$E2E_WORK"
mkdir -p "$E2E_WORK" "$E2E_ARTIFACTS"
PROGRAM_PID=
PROGRAM_NAME=
DRIVER_LANGUAGE=

# Unix path -> the Windows path Wine maps it to (Z: is the root).
win_path() {
  local p=${1//\//\\}
  printf 'Z:%s' "$p"
}

fail() {
  echo "FAIL: $*" >&2
  [ -n "$PROGRAM_NAME" ] && drv list >&2 || true
  exit 1
}

drv() {
  WINDRIVER_PROGRAM=$PROGRAM_NAME WINE_VERSION= WINE_LANGUAGE=$DRIVER_LANGUAGE WINE_TIMEOUT=30 "$WINE_RUN" --session "$WINE_SESSION" "$WINDRIVER" "$@"
}

# drive NAME [key = value lines...]: a simulated drive in $E2E_WORK/NAME (image, command log,
# firmware area beside its profile). Prints the profile's path.
drive() {
  local dir=$E2E_WORK/$1
  shift
  mkdir -p "$dir"
  {
    echo "image = drive.img"
    echo "log = commands.log"
    echo "firmware_area = firmware.bin"
    for line in "$@"; do echo "$line"; done
  } >"$dir/drive.profile"
  echo "$dir/drive.profile"
}

# start EXE PROFILE [VERSION] [LANGUAGE] [NATIVE_DLL]: starts a copy of EXE named after this
# scenario, in the background, with the simulated drive of PROFILE (may be empty: no drive).
# NATIVE_DLL (wnaspi32) is loaded from beside the program instead of Wine's own.
start() {
  local exe=$1 profile=$2 version=${3:-winxp} language=${4:-} native=${5:-}
  PROGRAM_NAME=$(basename "$exe" .exe)-$(basename "$E2E_WORK").exe
  cp "$exe" "$E2E_WORK/$PROGRAM_NAME"
  if [ -n "$native" ]; then
    WINE_VERSION= "$WINE_RUN" --session "$WINE_SESSION" reg add \
      "HKCU\\Software\\Wine\\AppDefaults\\$PROGRAM_NAME\\DllOverrides" /v "$native" /d native /f >/dev/null
  fi
  local variable=""
  [ -n "$profile" ] && variable=$(win_path "$profile")
  # exec: the pid is the run script's, which execs timeout, so finish()'s kill reaches the program.
  (cd "$E2E_WORK" && exec env SARROW_SIM_PROFILE="$variable" WINE_VERSION="$version" WINE_LANGUAGE="$language" \
     WINE_TIMEOUT=180 "$WINE_RUN" --session "$WINE_SESSION" "$E2E_WORK/$PROGRAM_NAME" >"$E2E_WORK/program.log" 2>&1) &
  PROGRAM_PID=$!
}

# Waits for the program to end by itself; fails after SECONDS (default 30).
wait_exit() {
  local limit=${1:-30}
  for _ in $(seq $((limit * 10))); do
    kill -0 "$PROGRAM_PID" 2>/dev/null || { wait "$PROGRAM_PID" || true; PROGRAM_PID=; return 0; }
    sleep 0.1
  done
  fail "the program did not end within $limit s"
}

# Waits until the program's window SELECTOR is there, then keeps its picture as NAME.bmp. The
# picture is an artefact, not a check: a window that closes by itself meanwhile only warns.
shot() {
  drv wait "$1" 20000 >/dev/null || fail "no window $1"
  picture "$1" "$2"
}

# The picture of window SELECTOR as NAME.bmp if it is still there; only warns if not.
picture() {
  sleep 0.3
  # One screenshot at a time: scenarios side by side share the virtual screen.
  (
    flock 8
    drv shot "$1" "$(win_path "$E2E_ARTIFACTS/$2.bmp")"
  ) 8>"$WINE_SESSION/screen.lock" || echo "warning: no screenshot $2" >&2
}

text_of() {
  drv text "$1" "$2" | tr -d '\r'
}

expect_text() {
  local got
  got=$(text_of "$1" "$2")
  [ "$got" = "$3" ] || fail "control $2 of $1 reads '$got', expected '$3'"
}

# Lines of the drive's command log of one kind (inquiry, write10, isp-write-bank, ...).
commands() {
  local log=$(dirname "$1")/commands.log
  [ -f "$log" ] || { echo 0; return; }
  awk -v kind="$2" '$2 == kind' "$log" | wc -l
}

# The volume on the image passes fsck.fat and mtools (a file copied in and back is identical).
check_volume() {
  local image=$1 part=$E2E_WORK/partition.img
  dd if="$image" of="$part" bs=512 skip=32 conv=sparse status=none
  fsck.fat -n "$part" >"$E2E_ARTIFACTS/fsck.txt" 2>&1 || { cat "$E2E_ARTIFACTS/fsck.txt" >&2; fail "fsck.fat"; }
  export MTOOLS_SKIP_CHECK=1
  minfo -i "$image@@16384" :: >/dev/null || fail "minfo"
  head -c 70000 /dev/urandom >"$E2E_WORK/sample.bin"
  mcopy -i "$image@@16384" "$E2E_WORK/sample.bin" ::SAMPLE.BIN || fail "mcopy in"
  mcopy -n -i "$image@@16384" ::SAMPLE.BIN "$E2E_WORK/back.bin" || fail "mcopy out"
  cmp -s "$E2E_WORK/sample.bin" "$E2E_WORK/back.bin" || fail "the copied file came back changed"
  mdir -i "$image@@16384" :: >/dev/null || fail "mdir"
}

finish() {
  if [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null; then
    kill "$PROGRAM_PID" 2>/dev/null || true
  fi
  for f in "$E2E_ARTIFACTS"/*.bmp; do
    [ -f "$f" ] && [ -x /usr/bin/convert ] && /usr/bin/convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f "$f"
  done
  return 0
}
trap finish EXIT
