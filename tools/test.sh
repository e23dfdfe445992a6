#!/usr/bin/env bash
# Everything CI runs: installs what is missing, builds the host tree, the sanitizer tree, the
# win32 tree (what ships, and the scenarios that run it) and the win32-tests tree (the Windows
# GoogleTest programs), and runs all their tests (the Windows ones under Wine). Ends with one
# summary line that counts passed, failed and skipped tests apart. On a machine that runs no
# 32-bit programs Wine cannot start: the Windows tests are skipped, the line before the summary
# says why, and the command passes when nothing that could run failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" --quiet-probe || exit 1
wine_reason=$("$root/tools/wine/probe" 2>&1)
wine_runs=$?
[ "$wine_runs" = 0 ] || echo "$wine_reason"
jobs=$(nproc)
passed=0
failed=0
skipped=0
broken=()

configure_and_build() {
  local tree=$1
  shift
  cmake -S "$root" -B "$root/build/$tree" -G Ninja "$@" >"$root/build/$tree.configure.log" 2>&1 &&
    cmake --build "$root/build/$tree" -j "$jobs"
}

run_tests() {
  local tree=$1 log=$root/build/$1.ctest.log
  shift
  (cd "$root/build/$tree" && ctest --output-on-failure --no-tests=error -j "$jobs" "$@") 2>&1 | tee "$log"
  local line total bad skip
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    broken+=("$tree: ctest did not finish")
    return
  fi
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  # CTest counts a skipped test among the passed ones and lists it apart.
  skip=$(grep -cE '^[[:space:]]+[0-9]+ - .* \(Skipped\)$' "$log")
  passed=$((passed + total - bad - skip))
  failed=$((failed + bad))
  skipped=$((skipped + skip))
  if [ "$wine_runs" = 0 ] && [ "$skip" -gt 0 ]; then
    broken+=("$tree: $skip tests skipped although this machine runs 32-bit programs")
  fi
}

mkdir -p "$root/build"
for tree in host host-asan win32 win32-tests; do
  case $tree in
    host) args=() ;;
    host-asan) args=(-DSANITIZE=ON) ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake") ;;
    win32-tests) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686-tests.cmake") ;;
  esac
  echo "== $tree: build"
  if ! configure_and_build "$tree" "${args[@]}"; then
    [ -f "$root/build/$tree.configure.log" ] && tail -40 "$root/build/$tree.configure.log"
    broken+=("$tree: build failed")
    continue
  fi
  echo "== $tree: test"
  run_tests "$tree"
done

for b in "${broken[@]}"; do echo "FAILED $b"; done
[ "$wine_runs" = 0 ] || echo "$wine_reason"
echo "tests: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
