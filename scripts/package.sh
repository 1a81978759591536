#!/usr/bin/env bash
# Builds Tovik.exe and writes dist/Tovik-<version>.zip: Tovik.exe and
# readme.txt, the Japanese readme in code page 932 with CRLF line ends, so
# that Notepad on any Windows reads it. The version is res/version.h's.
#
# Usage: package.sh [--exe Tovik.exe] [--dist FOLDER]
#   --exe   pack this already built program instead of setting up and
#           building (the package test packs the build it runs in)
#   --dist  write the zip into FOLDER instead of dist/
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

exe= dist=$ROOT/dist
while [ $# -gt 0 ]; do
  case $1 in
    --exe) exe=$2; shift 2 ;;
    --dist) dist=$2; shift 2 ;;
    *) echo "usage: $0 [--exe Tovik.exe] [--dist FOLDER]" >&2; exit 2 ;;
  esac
done

if [ -z "$exe" ]; then
  "$ROOT/scripts/setup.sh"
  say "Windows build (MinGW-w64)"
  cmake -S "$ROOT" -B "$WIN_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$WIN_BUILD" --target Tovik -j "$JOBS"
  exe=$WIN_BUILD/Tovik.exe
fi
[ -f "$exe" ] || { echo "no program at $exe" >&2; exit 1; }

version=$(tovik_version)
if ! [[ $version =~ ^[0-9]+\.[0-9]+$ ]]; then
  echo "cannot read the version from res/version.h (got '$version')" >&2
  exit 1
fi

# The zip is put together in a folder of its own, so that it holds exactly
# the two files, at its top level.
stage=$(mktemp -d "${TMPDIR:-/tmp}/tovik-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$exe" "$stage/Tovik.exe"
# The readme is kept as UTF-8 with LF line ends; a character that code page
# 932 lacks stops the packaging here instead of reaching the user as "?".
if ! sed 's/$/\r/' "$ROOT/docs/readme-ja.txt" | iconv -f UTF-8 -t CP932 >"$stage/readme.txt"; then
  echo "docs/readme-ja.txt does not convert to code page 932" >&2
  exit 1
fi

mkdir -p "$dist"
zip_path=$(cd "$dist" && pwd)/Tovik-$version.zip
rm -f "$zip_path"
(cd "$stage" && zip -q -X "$zip_path" Tovik.exe readme.txt)
echo "$zip_path"
