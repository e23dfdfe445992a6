#!/usr/bin/env bash
# tools/pe/check-pe.sh --post-xp LIST [--post-xp LIST ...]
#                      [--nt-only LIST --win9x-stubs LIST --legacy-lacks LIST --win9x-programs REGEX]
#                      [--release --build-path DIR [--build-path DIR ...]] PATH...
# What it checks, for every .exe and .dll under PATH (a folder or a file):
# - subsystem and OS version at most 4.0, so that every loader from Windows 95 and NT 4.0 on
#   takes the image (a loader refuses one above its own version);
# - imports only from system DLLs (no runtime DLL beside it);
# - none of the functions of the LISTs given with --post-xp (newer than Windows XP: the ones the
#   headers declare only for later systems, listed by list-post-xp-functions.sh, and the ones
#   they declare unguarded), and none of msvcrt's secure "_s" functions, which XP's msvcrt lacks.
# Programs whose file name matches REGEX carry the Windows 9x road and load on 95 and NT 4.0:
# they import nothing of the NT-only LIST (95, 98 and Me lack those), nothing of the stub LIST
# (there only as stubs that fail) and nothing of the --legacy-lacks LIST (what Windows 98 and
# 2000 added: retail 95 or NT 4.0 lacks it).
# With --release, no file carries a debug section or any DIR given with --build-path.
# What it cannot see: the versions of the system DLLs a program needs (comctl32 4.70 for
# InitCommonControlsEx and _TrackMouseEvent, shlwapi, msvcrt.dll on Windows 95).
# Prints one line per problem and fails when there is any, or nothing to check. A file that
# vanishes while it is checked (scenarios copy and delete programs under the build tree) is
# skipped; one that cannot be read is checked again once, then reported.
set -euo pipefail
# Tests put a stand-in for objdump here.
objdump=${CHECK_PE_OBJDUMP:-i686-w64-mingw32-objdump}
post_xp_lists=() nt_only= win9x_stubs= legacy_lacks= win9x_programs='^$' release= build_paths=()
paths=()
while [ $# -gt 0 ]; do
  case $1 in
    --post-xp) post_xp_lists+=("$2"); shift 2 ;;
    --nt-only) nt_only=$2; shift 2 ;;
    --win9x-stubs) win9x_stubs=$2; shift 2 ;;
    --legacy-lacks) legacy_lacks=$2; shift 2 ;;
    --win9x-programs) win9x_programs=$2; shift 2 ;;
    --release) release=1; shift ;;
    --build-path) build_paths+=("$2"); shift 2 ;;
    *) paths+=("$1"); shift ;;
  esac
done
[ ${#post_xp_lists[@]} -gt 0 ] || { echo "check-pe: no list of post-XP functions (--post-xp)" >&2; exit 2; }
for list in "${post_xp_lists[@]}" "$nt_only" "$win9x_stubs" "$legacy_lacks"; do
  [ -z "$list" ] || [ -s "$list" ] || { echo "check-pe: the list $list is empty or missing" >&2; exit 2; }
done
[ ${#paths[@]} -gt 0 ] || { echo "check-pe: nothing to check" >&2; exit 2; }
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|msvcrt|ole32|oleaut32|winmm|setupapi|version|shlwapi|rezo)\.dll$'
# The lists without their comments, one name a line.
names() { grep -hv '^#' "$@" | grep -v '^$' || true; }
post_xp=$(names "${post_xp_lists[@]}")

count=0
bad=0
report() { echo "$1"; bad=$((bad + 1)); }

# Refuses a version field above 4.0.
check_version() {
  local file=$1 what=$2 major=$3 minor=$4
  if ! [[ $major =~ ^[0-9]+$ && $minor =~ ^[0-9]+$ ]]; then
    report "$file: no $what version"
  elif [ "$major" -gt 4 ] || { [ "$major" -eq 4 ] && [ "$minor" -gt 0 ]; }; then
    report "$file: $what version $major.$minor, above 4.0"
  fi
}

# The headers and imports of `file` (objdump -hp), or nothing when the file vanished.
read_pe() {
  local file=$1 dump
  if dump=$($objdump -hp "$file" 2>&1); then
    printf '%s\n' "$dump"
    return 0
  fi
  [ -e "$file" ] || return 1
  # Perhaps still being written: once more, a moment later.
  sleep 1
  if dump=$($objdump -hp "$file" 2>&1); then
    printf '%s\n' "$dump"
    return 0
  fi
  [ -e "$file" ] || return 1
  printf 'unreadable\t%s\n' "$(head -1 <<<"$dump")"
}

check() {
  local file=$1 dump name
  if ! dump=$(read_pe "$file"); then
    echo "$file: vanished while checked, skipped"
    return
  fi
  count=$((count + 1))
  if [[ $dump == unreadable$'\t'* ]]; then
    report "$file: not a PE that can be read (${dump#unreadable$'\t'})"
    return
  fi
  check_version "$file" subsystem "$(awk '/^MajorSubsystemVersion/ {print $2}' <<<"$dump")" \
    "$(awk '/^MinorSubsystemVersion/ {print $2}' <<<"$dump")"
  check_version "$file" OS "$(awk '/^MajorOSystemVersion/ {print $2}' <<<"$dump")" \
    "$(awk '/^MinorOSystemVersion/ {print $2}' <<<"$dump")"
  while read -r dll; do
    grep -qiE "$allowed_dlls" <<<"$dll" || report "$file: imports $dll"
  done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")
  # Import lines: TAB rva TAB hint name (objdump separates the first fields with tabs), after the
  # line naming their DLL. Printed as "dll function".
  local imports functions
  imports=$(awk -F'\t' '/DLL Name:/ { split($0, d, "DLL Name: "); dll = tolower(d[2]) }
                        NF >= 3 && $2 ~ /^[0-9a-f]+$/ { split($3, f, " "); if (f[2] != "") print dll, f[2] }' \
              <<<"$dump" | sort -u)
  functions=$(cut -d' ' -f2 <<<"$imports" | sort -u)
  while read -r fn; do
    [ -n "$fn" ] && report "$file: imports $fn, which Windows XP lacks"
  done < <(grep -xF "$post_xp" <<<"$functions" || true)
  while read -r fn; do
    [ -n "$fn" ] && report "$file: imports msvcrt's $fn, which Windows XP's msvcrt lacks"
  done < <(awk '$1 == "msvcrt.dll" && $2 ~ /_s(_l)?$/ {print $2}' <<<"$imports")
  name=$(basename "$file")
  if grep -qE "$win9x_programs" <<<"$name"; then
    if [ -n "$nt_only" ]; then
      while read -r fn; do
        [ -n "$fn" ] && report "$file: imports $fn, which Windows 98 lacks"
      done < <(grep -xF "$(names "$nt_only")" <<<"$functions" || true)
    fi
    if [ -n "$win9x_stubs" ]; then
      while read -r fn; do
        [ -n "$fn" ] && report "$file: imports $fn, which Windows 98 has only as a stub that fails"
      done < <(grep -xF "$(names "$win9x_stubs")" <<<"$functions" || true)
    fi
    if [ -n "$legacy_lacks" ]; then
      while read -r fn; do
        [ -n "$fn" ] && report "$file: imports $fn, which Windows 95 or NT 4.0 lacks"
      done < <(grep -xF "$(names "$legacy_lacks")" <<<"$functions" || true)
    fi
  fi
  if [ -n "$release" ]; then
    # Section lines: index, name, size, ...
    while read -r section; do
      report "$file: carries the debug section $section"
    done < <(awk '$1 ~ /^[0-9]+$/ && $2 ~ /^\.z?debug/ {print $2}' <<<"$dump")
    local dir
    for dir in "${build_paths[@]}"; do
      if grep -qaF -e "$dir" -e "${dir//\//\\}" "$file" 2>/dev/null; then
        report "$file: contains the build path $dir"
      fi
    done
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
