#!/usr/bin/env bash
# tests/windows/pe/expect_refusal.sh TEXT... -- COMMAND...: COMMAND (a run of check-pe.sh) must
# fail, print each TEXT, and still end with its summary line (no silent abort).
set -uo pipefail
texts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
  texts+=("$1")
  shift
done
shift
output=$("$@" 2>&1)
status=$?
printf '%s\n' "$output"
ok=1
if [ $status -eq 0 ]; then
  echo "expect_refusal: the check passed"
  ok=0
fi
for text in "${texts[@]}"; do
  grep -qF -- "$text" <<<"$output" || { echo "expect_refusal: no line says: $text"; ok=0; }
done
tail -1 <<<"$output" | grep -qE '^checked [0-9]+ programs and DLLs, [1-9][0-9]* problems$' ||
  { echo "expect_refusal: no summary line at the end"; ok=0; }
[ $ok -eq 1 ]
