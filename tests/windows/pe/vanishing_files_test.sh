#!/usr/bin/env bash
# tests/windows/pe/vanishing_files_test.sh CHECK_PE POST_XP_LIST CLEAN_PE: check-pe.sh over a
# folder whose files change while it scans, as the scenarios' copies do: a program deleted before
# it is read is skipped, one still being copied is read again once it is whole, and a file that
# stays unreadable is reported, each run ending with its summary line. The folder is a temporary
# one outside the build tree, which the check of the tree scans.
set -uo pipefail
check_pe=$1 post_xp=$2 clean=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree"
real_objdump=$(command -v i686-w64-mingw32-objdump)

# objdump, but "gone.exe" is deleted just before it is read, and "late.exe" is completed just
# after its first, partial read fails.
cat >"$work/objdump" <<STANDIN
#!/usr/bin/env bash
file=\${!#}
case \$(basename "\$file") in
  gone.exe) rm -f "\$file" ;;
  late.exe)
    if [ -e "$work/late.partial" ]; then
      rm -f "$work/late.partial"
      "$real_objdump" "\$@"; status=\$?
      cp "$clean" "\$file"
      exit \$status
    fi ;;
esac
exec "$real_objdump" "\$@"
STANDIN
chmod +x "$work/objdump"

failures=0
run() {  # run NAME EXPECTED_STATUS TEXT...
  local name=$1 expected=$2 output status text
  shift 2
  output=$(CHECK_PE_OBJDUMP="$work/objdump" bash "$check_pe" --post-xp "$post_xp" "$work/tree" 2>&1)
  status=$?
  printf '== %s (exit %s)\n%s\n' "$name" "$status" "$output"
  if { [ "$expected" = 0 ] && [ $status -ne 0 ]; } || { [ "$expected" != 0 ] && [ $status -eq 0 ]; }; then
    echo "FAIL $name: exit $status"
    failures=$((failures + 1))
  fi
  for text in "$@"; do
    grep -qF -- "$text" <<<"$output" || { echo "FAIL $name: no line says: $text"; failures=$((failures + 1)); }
  done
}

cp "$clean" "$work/tree/kept.exe"
cp "$clean" "$work/tree/gone.exe"
run "deleted while scanned" 0 "gone.exe: vanished while checked, skipped" "checked 1 programs and DLLs, 0 problems"

head -c 100 "$clean" >"$work/tree/late.exe"
touch "$work/late.partial"
run "copied while scanned" 0 "checked 2 programs and DLLs, 0 problems"
[ -e "$work/late.partial" ] && { echo "FAIL copied while scanned: the partial copy was never read"; failures=$((failures + 1)); }

head -c 100 "$clean" >"$work/tree/broken.exe"
run "unreadable" 1 "broken.exe: not a PE that can be read" "checked 3 programs and DLLs, 1 problems"

[ $failures -eq 0 ]
