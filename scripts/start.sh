#!/usr/bin/env bash
# Builds Tovik.exe and starts it under Wine with the Japanese code page.
# With a display it simply runs. With none it runs inside a virtual display,
# waits for the main window, saves a picture of it to build/screenshot.png
# and ends the program.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

"$ROOT/scripts/setup.sh"
cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$WIN_BUILD" --target Tovik -j "$JOBS"
ensure_wineprefix
exe=$WIN_BUILD/Tovik.exe

if [ -n "${DISPLAY:-}" ]; then
  # A desktop has a window manager: let it frame Tovik's window. The next
  # ensure_wineprefix puts back the settings for virtual displays.
  ja wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d Y /f >/dev/null 2>&1 || true
  rm -f "$WINEPREFIX/tovik_settings.reg"
  ja wine "$exe"
  wineserver -k 2>/dev/null || true
  exit 0
fi

shot=$BUILD/screenshot.png
rm -f "$shot"
ja xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  exe=$1 shot=$2 title=$3
  wine "$exe" &
  # The window is up once X knows it by its caption; the picture is taken
  # of that window alone (or of the whole screen without xwininfo).
  geometry=
  for _ in $(seq 1 60); do
    if command -v xwininfo >/dev/null; then
      geometry=$(xwininfo -root -tree 2>/dev/null |
                 sed -n "s/.*\"$title\".* \([0-9]*x[0-9]*+[0-9]*+[0-9]*\)  .*/\1/p" | head -n1)
      [ -n "$geometry" ] && break
    fi
    sleep 0.5
  done
  sleep "${TOVIK_SHOT_DELAY:-2}"  # time to paint
  if [ -n "$geometry" ]; then
    import -window root -crop "$geometry" +repage "$shot"
  else
    import -window root "$shot"
  fi
  wineserver -k
  wait
' _ "$exe" "$shot" "Tovik Ver $(tovik_version)"
if [ -f "$shot" ]; then
  echo "No display: Tovik ran in a virtual display; its main window is pictured in $shot"
else
  echo "No display: Tovik ran in a virtual display, but no picture was taken" >&2
  exit 1
fi
