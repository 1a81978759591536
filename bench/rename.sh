#!/usr/bin/env bash
# Drives bench/rename.cpp. The folders are made from the shell, because Wine
# is slow to create many files: 10,000 empty files for the bare MoveFileA
# loop, as many for a run in place, as many numbered ones to shift by one,
# one 1 GiB file and one empty file. Then the
# benchmark runs under Wine with Windows paths (drive Z: is the Unix root).
# Usage: bash bench/rename.sh <rename.exe> <scratch folder>
set -euo pipefail
exe=$1
work=$(cd "$2" && pwd)
count=10000

mkdir -p "$work/bare" "$work/run" "$work/shift" "$work/big" "$work/empty"
(cd "$work/bare" && seq -f 'IMG_%05g.JPG' 1 "$count" | xargs touch)
(cd "$work/run" && seq -f 'IMG_%05g.JPG' 1 "$count" | xargs touch)
(cd "$work/shift" && seq -f 'Sample%05g.JPG' 1 "$count" | xargs touch)
# Allocated, not sparse, where the file system allows it. A rename moves no
# data either way; a run that copied would read and write the whole GiB.
fallocate -l 1G "$work/big/IMG_00001.JPG" 2>/dev/null || truncate -s 1G "$work/big/IMG_00001.JPG"
: >"$work/empty/IMG_00001.JPG"

winpath() { printf 'Z:%s' "${1//\//\\}"; }
wine "$exe" "$(winpath "$work/bare")" "$(winpath "$work/run")" "$(winpath "$work/shift")" "$count" \
  "$(winpath "$work/big/IMG_00001.JPG")" "$(winpath "$work/empty/IMG_00001.JPG")"
