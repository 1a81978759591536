#!/usr/bin/env bash
# Builds the benchmarks and runs them under Wine with the Japanese code page.
# Each bench/NAME.sh drives bench/NAME.cpp: it makes its folders from the shell
# (Wine is slow to create many files) and prints ratios against a bare
# baseline measured in the same run.
# Usage: scripts/bench.sh [NAME...]   (default: every benchmark)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WIN_BUILD" -j "$JOBS" >/dev/null
ensure_wineprefix

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for driver in "$ROOT"/bench/*.sh; do [ -e "$driver" ] && names+=("$(basename "$driver" .sh)"); done
fi
work=$(mktemp -d /tmp/tovik-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
for name in "${names[@]}"; do
  say "benchmark $name"
  mkdir -p "$work/$name"
  # The driver gets the benchmark executable and a scratch folder.
  ja xvfb-run -a -s "-screen 0 1280x1024x24" bash "$ROOT/bench/$name.sh" \
    "$WIN_BUILD/bench/$name.exe" "$work/$name"
  wineserver -k 2>/dev/null || true
done
