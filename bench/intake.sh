#!/usr/bin/env bash
# Drives bench/intake.exe: makes a folder of 100,000 eligible files from the
# shell (Wine is slow at creating files) and runs the benchmark on it.
# Usage: bash bench/intake.sh <path to intake.exe> <scratch folder>
# TOVIK_BENCH_FILES changes the number of files.
set -euo pipefail
exe=$1
scratch=$2
count=${TOVIK_BENCH_FILES:-100000}
folder=$scratch/files
mkdir -p "$folder"
# Mixed letter case and digits, so that the sort has to fold.
( cd "$folder" && seq -f 'File_%06g.txt' 1 2 "$count" | xargs touch &&
  seq -f 'file_%06g.TXT' 2 2 "$count" | xargs touch )
made=$(find "$folder" -maxdepth 1 -type f | wc -l)
echo "made $made files in $folder"
# Drive Z: is the Unix root.
wine "$exe" "Z:${folder//\//\\}" "$count"
