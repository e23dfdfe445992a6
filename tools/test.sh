#!/usr/bin/env bash
# Everything CI runs: installs what is missing, builds the host tree, the sanitizer tree, the
# win32 tree (what ships, and the scenarios that run it) and the win32-tests tree (the Windows
# GoogleTest programs), and runs all their tests (the Windows ones under Wine). Ends with one
# summary line.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh" || exit 1
jobs=$(nproc)
passed=0
failed=0
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
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    broken+=("$tree: ctest did not finish")
    return
  fi
  bad=$(sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
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
echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
