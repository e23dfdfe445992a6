#!/usr/bin/env bash
# tools/pe/check-pe.sh --post-xp LIST [--nt-only LIST --win9x-programs REGEX] PATH...
# Every .exe and .dll under PATH (a folder or a file) must load on Windows XP: subsystem version
# 5.01, imports only from system DLLs that XP has (no runtime DLL beside it), and none of the
# functions of LIST (the ones newer than XP, listed from the headers by list-post-xp-functions.sh).
# Programs whose file name matches REGEX must also load on Windows 98: none of the functions of
# the NT-only LIST. Prints one line per problem and fails when there is any, or nothing to check.
# A file that vanishes while it is checked (scenarios copy and delete programs under the build
# tree) is skipped; one that cannot be read is checked again once, then reported.
set -euo pipefail
# Tests put a stand-in for objdump here.
objdump=${CHECK_PE_OBJDUMP:-i686-w64-mingw32-objdump}
post_xp= nt_only= win9x_programs='^$'
paths=()
while [ $# -gt 0 ]; do
  case $1 in
    --post-xp) post_xp=$2; shift 2 ;;
    --nt-only) nt_only=$2; shift 2 ;;
    --win9x-programs) win9x_programs=$2; shift 2 ;;
    *) paths+=("$1"); shift ;;
  esac
done
[ -s "$post_xp" ] || { echo "check-pe: no list of post-XP functions (--post-xp)" >&2; exit 2; }
[ ${#paths[@]} -gt 0 ] || { echo "check-pe: nothing to check" >&2; exit 2; }
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|msvcrt|ole32|oleaut32|winmm|setupapi|version|shlwapi|rezo)\.dll$'

count=0
bad=0
report() { echo "$1"; bad=$((bad + 1)); }

# The headers and imports of `file` (objdump -p), or nothing when the file vanished.
read_pe() {
  local file=$1 dump
  if dump=$($objdump -p "$file" 2>&1); then
    printf '%s\n' "$dump"
    return 0
  fi
  [ -e "$file" ] || return 1
  # Perhaps still being written: once more, a moment later.
  sleep 1
  if dump=$($objdump -p "$file" 2>&1); then
    printf '%s\n' "$dump"
    return 0
  fi
  [ -e "$file" ] || return 1
  printf 'unreadable\t%s\n' "$(head -1 <<<"$dump")"
}

check() {
  local file=$1 dump major minor name
  if ! dump=$(read_pe "$file"); then
    echo "$file: vanished while checked, skipped"
    return
  fi
  count=$((count + 1))
  if [[ $dump == unreadable$'\t'* ]]; then
    report "$file: not a PE that can be read (${dump#unreadable$'\t'})"
    return
  fi
  major=$(awk '/MajorSubsystemVersion/ {print $2}' <<<"$dump")
  minor=$(awk '/MinorSubsystemVersion/ {print $2}' <<<"$dump")
  [ "$major.$minor" = 5.1 ] || report "$file: subsystem version $major.$minor, not 5.01"
  while read -r dll; do
    grep -qiE "$allowed_dlls" <<<"$dll" || report "$file: imports $dll"
  done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")
  # Import lines: TAB rva TAB hint name (objdump separates the first fields with tabs).
  local imports
  imports=$(awk -F'\t' 'NF >= 3 && $2 ~ /^[0-9a-f]+$/ { split($3, f, " "); if (f[2] != "") print f[2] }' <<<"$dump" | sort -u)
  while read -r fn; do
    [ -n "$fn" ] && report "$file: imports $fn, which Windows XP lacks"
  done < <(grep -xFf "$post_xp" <<<"$imports" || true)
  name=$(basename "$file")
  if [ -n "$nt_only" ] && grep -qE "$win9x_programs" <<<"$name"; then
    while read -r fn; do
      [ -n "$fn" ] && report "$file: imports $fn, which Windows 98 lacks"
    done < <(grep -xFf <(grep -v '^#' "$nt_only") <<<"$imports" || true)
  fi
}

for path in "${paths[@]}"; do
  if [ -f "$path" ]; then
    check "$path"
  else
    # The end-to-end scenarios' work folders hold copies of built programs, made and removed while
    # scenarios run beside this check.
    while IFS= read -r -d '' file; do
      check "$file"
    done < <(find "$path" -ignore_readdir_race -path "$path/wine" -prune -o -path "$path/CMakeFiles" -prune -o \
               -path "$path/tests/windows/e2e/work" -prune -o \
               \( -name '*.exe' -o -name '*.dll' \) -type f -print0)
  fi
done
echo "checked $count programs and DLLs, $bad problems"
[ "$count" -gt 0 ] && [ "$bad" -eq 0 ]
