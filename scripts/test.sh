#!/usr/bin/env bash
# Builds Tovik and runs every test: the Windows build's tests under Wine with
# the Japanese code page (inside a virtual display), the text core natively
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run.
# Ends with one line "tests: N passed, M failed".
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/setup.sh" || exit 1
failed_stages=()

say "Windows build (MinGW-w64)"
cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null &&
  cmake --build "$WIN_BUILD" -j "$JOBS" || failed_stages+=("windows build")

if [ ${#failed_stages[@]} -eq 0 ]; then
  ensure_wineprefix
  say "tests under Wine (code page 932)"
  rm -rf "$WIN_BUILD/test-reports"
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
    'ctest --test-dir "$1" --output-on-failure; rc=$?; wineserver -k 2>/dev/null; exit $rc' \
    _ "$WIN_BUILD" || failed_stages+=("wine tests")
fi

say "native text core under ASan and UBSan"
rm -rf "$NATIVE_BUILD/test-reports"
cmake -S "$ROOT" -B "$NATIVE_BUILD" -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ \
      -DCMAKE_BUILD_TYPE=Debug -DTOVIK_SANITIZE=ON >/dev/null &&
  cmake --build "$NATIVE_BUILD" -j "$JOBS" &&
  ctest --test-dir "$NATIVE_BUILD" --output-on-failure || failed_stages+=("native tests")

say "fuzzing the text core (libFuzzer)"
cmake -S "$ROOT" -B "$FUZZ_BUILD" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=Debug -DTOVIK_FUZZ=ON >/dev/null &&
  cmake --build "$FUZZ_BUILD" -j "$JOBS" &&
  ctest --test-dir "$FUZZ_BUILD" --output-on-failure
fuzz_rc=$?
[ $fuzz_rc -eq 0 ] || failed_stages+=("fuzzing")

# Every GoogleTest case counts, from the XML reports; the fuzz run counts as one.
passed=0 failed=0
for report in "$WIN_BUILD"/test-reports/*.xml "$NATIVE_BUILD"/test-reports/*.xml; do
  [ -f "$report" ] || continue
  line=$(grep -m1 '<testsuites ' "$report")
  tests=$(sed -n 's/.* tests="\([0-9]*\)".*/\1/p' <<<"$line")
  failures=$(sed -n 's/.* failures="\([0-9]*\)".*/\1/p' <<<"$line")
  passed=$((passed + ${tests:-0} - ${failures:-0}))
  failed=$((failed + ${failures:-0}))
done
if [ $fuzz_rc -eq 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
# A stage that failed without a failed case (a crash, a build error) still fails.
if [ ${#failed_stages[@]} -gt 0 ] && [ $failed -eq 0 ]; then failed=${#failed_stages[@]}; fi

# Tests are kept to a third or so of the program: non-blank lines of .cpp and
# .h under tests/ against those of the program's folders.
count_lines() { git -C "$ROOT" ls-files -- "$@" | grep -E '\.(cpp|h)$' | (cd "$ROOT" && xargs -r cat) | grep -cv '^\s*$'; }
program_lines=$(count_lines core rename filelist ui)
test_lines=$(count_lines tests)

echo
echo "lines: program $program_lines, tests $test_lines, ratio $(awk -v t="$test_lines" -v p="$program_lines" 'BEGIN { printf "%.2f", t / p }')"
[ ${#failed_stages[@]} -eq 0 ] || echo "failed: ${failed_stages[*]}"
echo "tests: $passed passed, $failed failed"
[ ${#failed_stages[@]} -eq 0 ]
