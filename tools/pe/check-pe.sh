#!/usr/bin/env bash
# tools/check-pe.sh BUILD_DIR: every .exe and .dll built in the tree must run on Windows XP:
# subsystem version 5.01, imports only from system DLLs that XP has (no runtime DLL beside it),
# and none of the functions that appeared after XP.
set -euo pipefail
build=${1:?build folder}
objdump=i686-w64-mingw32-objdump
allowed_dlls='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|msvcrt|ole32|oleaut32|winmm|setupapi|version|shlwapi|rezo)\.dll$'
newer_than_xp='^(GetTickCount64|InitializeCriticalSectionEx|InitOnce[A-Za-z]*|[A-Za-z]*SRWLock[A-Za-z]*|[A-Za-z]*ConditionVariable[A-Za-z]*|Create(Event|Mutex|Semaphore|WaitableTimer)Ex[AW]|Fls(Alloc|Free|GetValue|SetValue)|GetFinalPathNameByHandle[AW]|CompareStringEx|LCMapStringEx|GetLocaleInfoEx|GetUserDefaultLocaleName|GetSystemTimePreciseAsFileTime|SetThreadErrorMode|GetErrorMode|CancelIoEx|QueryFullProcessImageName[AW]|CreateSymbolicLink[AW]|GetProductInfo|SetFileInformationByHandle|GetFileInformationByHandleEx|GetCurrentProcessorNumber|GetThreadId|GetProcessId|RegGetValue[AW]|RegDeleteTree[AW]|SHGetKnownFolderPath)$'
count=0
bad=0
while IFS= read -r -d '' file; do
  count=$((count + 1))
  dump=$($objdump -p "$file")
  major=$(awk '/MajorSubsystemVersion/ {print $2}' <<<"$dump")
  minor=$(awk '/MinorSubsystemVersion/ {print $2}' <<<"$dump")
  if [ "$major.$minor" != 5.1 ]; then
    echo "$file: subsystem version $major.$minor, not 5.01"
    bad=$((bad + 1))
  fi
  while read -r dll; do
    if ! grep -qiE "$allowed_dlls" <<<"$dll"; then
      echo "$file: imports $dll"
      bad=$((bad + 1))
    fi
  done < <(awk '/DLL Name:/ {print $3}' <<<"$dump")
  while read -r fn; do
    echo "$file: imports $fn, which Windows XP lacks"
    bad=$((bad + 1))
  done < <(awk '/^\t[0-9a-f]+ +[0-9]+ +[A-Za-z_]/ {print $3}' <<<"$dump" | grep -E "$newer_than_xp" || true)
done < <(find "$build" -path "$build/wine" -prune -o -path "$build/CMakeFiles" -prune -o \
           \( -name '*.exe' -o -name '*.dll' \) -type f -print0)
echo "checked $count programs and DLLs, $bad problems"
[ "$count" -gt 0 ] && [ "$bad" -eq 0 ]
