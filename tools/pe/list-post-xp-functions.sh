#!/usr/bin/env bash
# tools/pe/list-post-xp-functions.sh CC OUTPUT: the functions that the mingw-w64 headers declare
# for Windows 10 (_WIN32_WINNT 0x0A00) but not for Windows XP (0x0501), one name a line. The
# headers are the ones the programs include; GCC's -aux-info lists every declaration it saw.
set -euo pipefail
cc=${1:?compiler} output=${2:?output file}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/headers.c" <<'HEADERS'
#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <mmsystem.h>
#include <richedit.h>
#include <setupapi.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <tlhelp32.h>
#include <winioctl.h>
HEADERS
declared() {
  "$cc" -D_WIN32_WINNT="$1" -DWINVER="$1" -D_WIN32_IE=0x0A00 -fsyntax-only \
    -aux-info "$work/aux-$1" "$work/headers.c"
  # Lines read: /* header:line:NC */ extern TYPE NAME (ARGS);
  sed -E 's@^/\*[^*]*\*/@@' "$work/aux-$1" | grep -oE '[A-Za-z_][A-Za-z0-9_]* \(' | sed 's/ ($//' | sort -u
}
declared 0x0501 >"$work/xp"
declared 0x0A00 >"$work/ten"
comm -13 "$work/xp" "$work/ten" >"$output.tmp"
# A list that lost the functions everybody knows to be newer would let everything pass.
for known in GetTickCount64 InitializeSRWLock InitializeConditionVariable CreateEventExA; do
  grep -qx "$known" "$output.tmp" || { echo "list-post-xp-functions: $known missing from the list" >&2; exit 1; }
done
mv "$output.tmp" "$output"
