#!/usr/bin/env bash
# tests/windows/e2e/harness_e2e.sh SCENARIO: the scenarios' own tools must be able to fail. The
# window driver's `run --all` fails for any process of the tree that ends badly, however soon, and
# a driver call waits as long as it is asked to. E2E_PROCESS_TREE comes from CMake.
set -euo pipefail
scenario=${1:?scenario}
export E2E_WORK=${E2E_WORK_ROOT:?}/$scenario E2E_ARTIFACTS=${E2E_ARTIFACT_ROOT:?}/harness-$scenario
. "$(dirname "$0")/e2e_lib.sh"

# Runs the tree with `start --all` until it ends; its status, whatever it is, in PROGRAM_STATUS.
run_all() {
  start --all "$E2E_PROCESS_TREE" "$@"
  run_all_wait
}

run_all_wait() {
  for _ in $(seq 600); do
    reap
    [ -z "$PROGRAM_PID" ] && return
    sleep 0.1
  done
  fail "the tree did not end within 60 s"
}

case $scenario in
  all-children-pass)
    run_all spawn 4 exit 0
    [ "$PROGRAM_STATUS" = 0 ] || fail "four children that ended with 0 failed the run"
    ;;
  all-child-crashes)
    # The child crashes at once; its parent has ended already and kept no handle to it.
    run_all spawn 1 crash
    [ "$PROGRAM_STATUS" != 0 ] || fail "a child that crashed passed the run"
    ;;
  all-children-fail)
    # Many children end at once with 3, after their parent: each must be seen.
    run_all spawn 12 exit 3
    [ "$PROGRAM_STATUS" != 0 ] || fail "children that ended with 3 passed the run"
    grep -q 'with exit status 3 \|exit status is unknown' "$PROGRAM_LOG" || fail "no child's end was reported"
    ;;
  all-children-unseen)
    # Children that end before the driver can open them (at native speed one that lives a few
    # milliseconds may): the driver opens none of them here, so the case is certain at any speed.
    # The run must fail all the same, and each child's end be reported, by its status or as
    # unknown.
    start --all --open-no-child "$E2E_PROCESS_TREE" spawn 5 exit 3
    run_all_wait
    [ "$PROGRAM_STATUS" != 0 ] || fail "children the driver could not see passed the run"
    reported=$(grep -c 'ended with exit status 3 \|exit status is unknown' "$PROGRAM_LOG" || true)
    [ "$reported" -ge 5 ] || fail "$reported of the 5 children were reported: $(cat "$PROGRAM_LOG")"
    ;;
  long-wait)
    # A wait of 35 s is not cut short: it ends after 35 s with "no window", not at a fixed cap.
    started=$SECONDS
    status=0
    drv wait "No such window" 35000 2>"$E2E_ARTIFACTS/wait.log" || status=$?
    took=$((SECONDS - started))
    [ "$status" = 1 ] || fail "the wait ended with status $status after $took s: $(cat "$E2E_ARTIFACTS/wait.log")"
    [ "$took" -ge 35 ] || fail "the wait ended after $took s"
    ;;
  *)
    echo "unknown scenario $scenario" >&2
    exit 2
    ;;
esac
