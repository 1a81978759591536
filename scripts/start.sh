#!/usr/bin/env bash
# Builds Tovik.exe and starts it under Wine with the Japanese code page. With
# no display it runs inside a virtual one, saves a screenshot of the screen to
# build/screenshot.png and exits.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WIN_BUILD" --target Tovik -j "$JOBS"
ensure_wineprefix
exe=$WIN_BUILD/Tovik.exe

if [ -n "${DISPLAY:-}" ]; then
  ja wine "$exe"
  wineserver -k 2>/dev/null || true
else
  shot=$BUILD/screenshot.png
  ja xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    'wine "$1" & sleep "${TOVIK_SHOT_DELAY:-8}"; import -window root "$2"; wineserver -k; wait' \
    _ "$exe" "$shot"
  echo "No display: Tovik ran in a virtual display; its screenshot is $shot"
fi
