#!/usr/bin/env bash
# tests/native/harness/wine_tools_test.sh TOOLS WORK: tools/wine's probe, session and run on the
# host, with stand-ins for the i386 program the probe tries and for Wine.
#   - a machine that runs no 32-bit programs: one line with the cause and the remedy, status 77
#     (the tests' skip), and nothing else is run;
#   - one that does, or one where the probe's program is missing: the command runs, its status is
#     the command's;
#   - a Wine that fails to start for another reason: the session's start fails and shows its log.
set -uo pipefail
tools=$1 work=$2
rm -rf "$work" && mkdir -p "$work/bin"
failures=0
check() {  # check WHAT CONDITION...
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what"
    failures=$((failures + 1))
  fi
}

# An executable the kernel cannot run: it fails with "Exec format error" as an i386 program does
# where 32-bit emulation is off.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$work/no-32-bit"
chmod +x "$work/no-32-bit"
reason_pattern='runs no 32-bit programs.*ia32_emulation=on, or use another machine'

# loader, expected status, expected text on stderr (a pattern, or - for none), command...
cases=(
  "$work/no-32-bit|77|$reason_pattern|touch $work/ran-1"
  "/bin/true|5|-|sh -c 'touch $work/ran-2; exit 5'"
  "$work/missing|0|-|touch $work/ran-3"
)
n=0
for entry in "${cases[@]}"; do
  n=$((n + 1))
  IFS='|' read -r loader status pattern command <<<"$entry"
  got=0
  WINE_PROBE_LOADER=$loader bash -c "\"$tools/probe\" $command" 2>"$work/probe-$n.err" || got=$?
  check "probe case $n ($loader): status $got, expected $status" [ "$got" = "$status" ]
  if [ "$pattern" = - ]; then
    check "probe case $n printed: $(cat "$work/probe-$n.err")" [ ! -s "$work/probe-$n.err" ]
    check "probe case $n did not run its command" [ -e "$work/ran-$n" ]
  else
    check "probe case $n printed: $(cat "$work/probe-$n.err")" grep -qE "$pattern" "$work/probe-$n.err"
    check "probe case $n printed more than one line" [ "$(wc -l <"$work/probe-$n.err")" = 1 ]
    check "probe case $n ran its command" [ ! -e "$work/ran-$n" ]
  fi
done

# Without 32-bit programs the session and the run script skip, with the probe's line.
for command in "session start $work/session" "session stop $work/session" "run --session $work/session x.exe"; do
  got=0
  WINE_PROBE_LOADER=$work/no-32-bit "$tools"/$command 2>"$work/skip.err" || got=$?
  check "$command: status $got, expected 77" [ "$got" = 77 ]
  check "$command printed: $(cat "$work/skip.err")" grep -qE "$reason_pattern" "$work/skip.err"
done

# Wine that cannot make its prefix: the start fails (not a skip) and prints what Wine said.
cat >"$work/bin/wineboot" <<'FAKE'
#!/bin/sh
echo "wineboot stand-in: cannot create the prefix" >&2
exit 3
FAKE
chmod +x "$work/bin/wineboot"
got=0
PATH=$work/bin:$PATH WINE_PROBE_LOADER=/bin/true WINE_SESSION_DISPLAY=:99 \
  "$tools/session" start "$work/broken" >"$work/broken.out" 2>&1 || got=$?
check "a failed start ended with status $got, expected 1" [ "$got" = 1 ]
check "a failed start did not show the start log: $(cat "$work/broken.out")" \
  grep -q 'wineboot stand-in: cannot create the prefix' "$work/broken.out"
check "a failed start did not name the step that failed: $(cat "$work/broken.out")" \
  grep -q "'wineboot -i' failed with status 3" "$work/broken.out"
check "a failed start left a session behind" [ ! -e "$work/broken/env" ]

[ "$failures" = 0 ] && echo "wine tools: all cases passed"
[ "$failures" = 0 ]
