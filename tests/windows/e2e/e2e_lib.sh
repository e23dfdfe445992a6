# tests/windows/e2e/e2e_lib.sh — sourced by the end-to-end scenarios of every program.
# Runs the real programs under Wine (tools/wine/run in the ctest session), drives their windows
# with windriver (window_driver.cpp) and checks what they leave behind.
#
# Isolation: each scenario runs on a Wine desktop of its own, named after the scenario. Its
# programs, and every program they start in turn, live there; windriver sees only that desktop,
# so scenarios side by side never click, read or picture each other's windows. Pictures are
# rendered by the window itself (PrintWindow in its own process), never copied from the screen.
#
# Needs: WINE_SESSION, WINE_RUN (ctest sets both), E2E_BIN (the win32 build folder), E2E_WORK (a
# fresh folder for this scenario, emptied here) and E2E_ARTIFACTS (where pictures and logs are
# kept). Optional: E2E_NAME, the scenario's name, unique in the session (default: the last part of
# E2E_ARTIFACTS); E2E_PROGRAM_TIMEOUT, seconds a started program may live (default 180).
#
# Programs
#   start [OPTIONS] PROGRAM [ARGS...]  starts PROGRAM in the background on the scenario's desktop,
#       from E2E_WORK, with its output in E2E_ARTIFACTS/program.log (program-2.log, ... for later
#       starts). Options:
#         --env NAME=VALUE   a variable for the program (and the programs it starts)
#         --version V        the Windows version Wine reports (winxp by default; win98, vista...)
#         --app-version FILE.exe=V  the version Wine reports to the programs of that file name
#                            that PROGRAM starts (a scenario sets each one it relies on)
#         --language L       zh_TW or zh_CN: a Chinese system (the driver reads texts in its code page)
#         --native-dll NAME  NAME.dll from beside the program instead of Wine's own
#         --as FILE.exe      the name of the program's copy in E2E_WORK (default NAME-E2E_NAME.exe;
#                            version and DLL settings go by file name, so each scenario has its own)
#         --in-place         runs PROGRAM where it is, under its own name
#         --all              wait_exit waits for every program started from it, and fails when any
#                            of them ends with a status other than 0
#       TEMP and TMP point into E2E_WORK/temp unless --env sets them.
#   wait_exit [STATUS [SECONDS]]  waits for the last started program to end (30 s by default) and
#       fails unless its exit status is STATUS (0 by default). A crash never passes.
#   running                       true while the last started program runs
# Windows (SELECTOR: a window title, optionally with #ID: the window has a child control ID;
# with #!ID: it has none)
#   drv COMMAND ...               windriver on the scenario's desktop (wait, gone, text, click, key,
#                                 syscmd, checked, enabled, post, redraw, gdi, list), bounded by
#                                 the call's own wait
#   shot SELECTOR NAME            waits for the window and keeps its picture as NAME (.png)
#   picture SELECTOR NAME         the window's picture if it is still there (only warns if not)
#   text_of SELECTOR ID           the text of control ID (0: the title)
#   expect_text SELECTOR ID TEXT  fails unless control ID reads TEXT
# Simulated drives (core/sim's profile, found by the programs through SARROW_SIM_PROFILE)
#   drive NAME [key = value...]   makes one in E2E_WORK/NAME; prints its profile's path
#   commands PROFILE KIND         how many commands of KIND (a regular expression: isp-.*) the
#                                 drive took; a drive without a command log fails
#   check_volume IMAGE            the first partition that the MBR names passes fsck.fat and mtools
# Ending
#   fail MESSAGE                  ends the scenario as failed, with the desktop's windows and the
#                                 program's status and log for the reader
set -euo pipefail

: "${WINE_SESSION:?}" "${WINE_RUN:?}" "${E2E_BIN:?}" "${E2E_WORK:?}" "${E2E_ARTIFACTS:?}"
E2E_NAME=${E2E_NAME:-$(basename "$E2E_ARTIFACTS")}
E2E_DESKTOP=e2e-$E2E_NAME
WINDRIVER=$E2E_BIN/tests/windows/e2e/windriver.exe
rm -rf "$E2E_WORK" "$E2E_ARTIFACTS"
mkdir -p "$E2E_WORK" "$E2E_ARTIFACTS"
PROGRAM_PID=
PROGRAM_STATUS=
PROGRAM_LOG=
PROGRAM_STARTS=0
DRIVER_LANGUAGE=

# Unix path -> the Windows path Wine maps it to (Z: is the root).
win_path() {
  local p=${1//\//\\}
  printf 'Z:%s' "$p"
}

# Each call is bounded by its own wait (the MS of wait and gone, else WINDRIVER_WAIT or windriver's
# 10 s), plus room for Wine's start and a picture's rendering.
drv() {
  local ms=${WINDRIVER_WAIT:-10000}
  case ${1:-} in wait | gone) [[ ${3:-} =~ ^[0-9]+$ ]] && ms=$3 ;; esac
  WINDRIVER_DESKTOP=$E2E_DESKTOP WINE_VERSION= WINE_LANGUAGE=$DRIVER_LANGUAGE WINE_TIMEOUT=$((ms / 1000 + 30)) \
    "$WINE_RUN" --session "$WINE_SESSION" "$WINDRIVER" "$@"
}

# Reaps the last started program once it has ended; its status is then in PROGRAM_STATUS.
reap() {
  if [ -n "$PROGRAM_PID" ] && ! kill -0 "$PROGRAM_PID" 2>/dev/null; then
    PROGRAM_STATUS=0
    wait "$PROGRAM_PID" || PROGRAM_STATUS=$?
    PROGRAM_PID=
  fi
}

running() {
  [ -n "$PROGRAM_PID" ] && kill -0 "$PROGRAM_PID" 2>/dev/null
}

fail() {
  echo "FAIL: $*" >&2
  if [ -n "$PROGRAM_LOG" ]; then
    echo "windows on the desktop:" >&2
    drv list >&2 || true
    reap
    if running; then
      echo "the program still runs" >&2
    elif [ -n "$PROGRAM_STATUS" ]; then
      echo "the program ended with status $PROGRAM_STATUS" >&2
    fi
    echo "end of its log:" >&2
    tail -20 "$PROGRAM_LOG" >&2 || true
  fi
  exit 1
}

start() {
  local version=winxp language= copy= in_place= all=() settings=() temp=yes
  while [ $# -gt 0 ]; do
    case $1 in
      --env) settings+=(--env "$2"); case $2 in TEMP=* | TMP=*) temp= ;; esac; shift 2 ;;
      --version) version=$2; shift 2 ;;
      --app-version) settings+=(--app-version "$2"); shift 2 ;;
      --language) language=$2; shift 2 ;;
      --native-dll) settings+=(--native-dll "$2"); shift 2 ;;
      --as) copy=$2; shift 2 ;;
      --in-place) in_place=yes; shift ;;
      --all) all=(--all); shift ;;
      --open-no-child) settings+=(--open-no-child); shift ;;
      --) shift; break ;;
      -*) echo "start: unknown option $1" >&2; exit 2 ;;
      *) break ;;
    esac
  done
  local exe=${1:?start: no program}
  shift
  local program=$exe
  if [ -z "$in_place" ]; then
    copy=${copy:-$(basename "$exe" .exe)-$E2E_NAME.exe}
    cp "$exe" "$E2E_WORK/$copy"
    program=$E2E_WORK/$copy
  fi
  if [ -n "$temp" ]; then
    mkdir -p "$E2E_WORK/temp"
    settings+=(--env "TEMP=$(win_path "$E2E_WORK/temp")" --env "TMP=$(win_path "$E2E_WORK/temp")")
  fi
  DRIVER_LANGUAGE=$language
  PROGRAM_STARTS=$((PROGRAM_STARTS + 1))
  PROGRAM_LOG=$E2E_ARTIFACTS/program.log
  [ "$PROGRAM_STARTS" = 1 ] || PROGRAM_LOG=$E2E_ARTIFACTS/program-$PROGRAM_STARTS.log
  PROGRAM_STATUS=
  # exec: the pid is the run script's, which execs timeout, so the background job ends with the
  # program's own status (or timeout's 124).
  (cd "$E2E_WORK" && exec env WINDRIVER_DESKTOP="$E2E_DESKTOP" WINE_VERSION= WINE_LANGUAGE="$language" \
     WINE_TIMEOUT="${E2E_PROGRAM_TIMEOUT:-180}" "$WINE_RUN" --session "$WINE_SESSION" "$WINDRIVER" run \
     --version "$version" "${settings[@]}" "${all[@]}" "$(win_path "$program")" "$@" \
     >"$PROGRAM_LOG" 2>&1) &
  PROGRAM_PID=$!
}

wait_exit() {
  local expected=${1:-0} limit=${2:-30}
  for _ in $(seq $((limit * 10))); do
    reap
    if [ -z "$PROGRAM_PID" ]; then
      [ "$PROGRAM_STATUS" = "$expected" ] ||
        fail "the program ended with status $PROGRAM_STATUS, expected $expected"
      return 0
    fi
    sleep 0.1
  done
  fail "the program did not end within $limit s"
}

# Waits until window SELECTOR is there, then keeps its picture as NAME.
shot() {
  drv wait "$1" 20000 >/dev/null || fail "no window $1"
  picture "$1" "$2"
}

# The picture of window SELECTOR as NAME if it is still there. The picture is an artefact, not a
# check: a window that closes by itself meanwhile only warns.
picture() {
  sleep 0.2
  drv shot "$1" "$(win_path "$E2E_ARTIFACTS/$2.bmp")" || echo "warning: no picture $2" >&2
}

text_of() {
  drv text "$1" "$2" | tr -d '\r'
}

expect_text() {
  local got
  got=$(text_of "$1" "$2")
  [ "$got" = "$3" ] || fail "control $2 of $1 reads '$got', expected '$3'"
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

# Lines of the drive's command log of one kind (inquiry, write10, isp-write-bank, ...). A drive
# that took no command at all has no log: that fails, it is not "no commands".
commands() {
  local log
  log=$(dirname "$1")/commands.log
  [ -f "$log" ] || fail "the drive of $1 has no command log"
  awk -v kind="$2" '$2 ~ "^(" kind ")$"' "$log" | wc -l
}

# The volume of the MBR's first partition passes fsck.fat and mtools (a file copied in and back is
# identical).
check_volume() {
  local image=$1 part=$E2E_WORK/partition.img start type
  [ "$(od -An -tx1 -j510 -N2 "$image" | tr -d ' \n')" = 55aa ] || fail "no MBR signature on $image"
  type=$(od -An -tu1 -j450 -N1 "$image" | tr -d ' ')
  start=$(od -An -tu4 -j454 -N4 "$image" | tr -d ' ')
  [ "$type" != 0 ] && [ "$start" -gt 0 ] || fail "the MBR names no partition (type $type, start $start)"
  dd if="$image" of="$part" bs=512 skip="$start" conv=sparse status=none
  fsck.fat -n "$part" >"$E2E_ARTIFACTS/fsck.txt" 2>&1 || { cat "$E2E_ARTIFACTS/fsck.txt" >&2; fail "fsck.fat"; }
  export MTOOLS_SKIP_CHECK=1
  local volume=$image@@$((start * 512))
  minfo -i "$volume" :: >/dev/null || fail "minfo"
  head -c 70000 /dev/urandom >"$E2E_WORK/sample.bin"
  mcopy -i "$volume" "$E2E_WORK/sample.bin" ::SAMPLE.BIN || fail "mcopy in"
  mcopy -n -i "$volume" ::SAMPLE.BIN "$E2E_WORK/back.bin" || fail "mcopy out"
  cmp -s "$E2E_WORK/sample.bin" "$E2E_WORK/back.bin" || fail "the copied file came back changed"
  mdir -i "$volume" :: >/dev/null || fail "mdir"
}

finish() {
  # Whatever still runs on the desktop (a program left by a failed step, the programs it started).
  drv end >/dev/null 2>&1 || true
  if running; then
    kill "$PROGRAM_PID" 2>/dev/null || true
  fi
  for f in "$E2E_ARTIFACTS"/*.bmp; do
    [ -f "$f" ] && [ -x /usr/bin/convert ] && /usr/bin/convert "$f" "${f%.bmp}.png" 2>/dev/null && rm -f "$f"
  done
  return 0
}
trap finish EXIT
