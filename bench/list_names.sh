#!/usr/bin/env bash
# Drives bench/list_names.exe: makes 100 folders of 1,000 files from the shell
# (a camera's folders hold at most 9,999; and Wine reads a whole folder for
# every name that is not there, which a folder of 100,000 would make the
# whole of the figure) and lists all of them.
# Usage: bash bench/list_names.sh <path to list_names.exe> <scratch folder>
set -euo pipefail
exe=$1
scratch=$2
folders=100
each=1000
root=$scratch/photos
for ((f = 0; f < folders; f++)); do
  folder=$root/$(printf %03d "$f")
  mkdir -p "$folder"
  ( cd "$folder" && seq -f 'IMG_%g.jpg' 0 $((each - 1)) | xargs touch )
done
echo "made $(find "$root" -type f | wc -l) files in $root"
# Drive Z: is the Unix root.
wine "$exe" "Z:${root//\//\\}" "$folders" "$each"
