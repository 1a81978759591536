#!/usr/bin/env bash
# Drives bench/date_taken.exe: makes 10,000 JPEG files from the shell (Wine
# is slow at creating files), one written with printf and copied, every tenth
# one padded past 64 KB, and runs the benchmark on them.
# Usage: bash bench/date_taken.sh <path to date_taken.exe> <scratch folder>
# TOVIK_BENCH_FILES changes the number of files.
set -euo pipefail
exe=$1
work=$(cd "$2" && pwd)
count=${TOVIK_BENCH_FILES:-10000}
folder=$work/files
mkdir -p "$folder"

# A JPEG's start as cameras write it: the start marker, a JFIF APP0, an Exif
# APP1 (a little-endian TIFF: IFD0 with the Exif IFD's offset, the Exif IFD
# with DateTimeOriginal at offset 44), a quantisation table and the scan.
header() {
  printf '\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x02\x00\x00\x01\x00\x01\x00\x00'
  printf '\xff\xe1\x00\x48Exif\x00\x00II*\x00\x08\x00\x00\x00'
  printf '\x01\x00\x69\x87\x04\x00\x01\x00\x00\x00\x1a\x00\x00\x00\x00\x00\x00\x00'
  printf '\x01\x00\x03\x90\x02\x00\x14\x00\x00\x00\x2c\x00\x00\x00\x00\x00\x00\x00'
  printf '2024:03:15 14:25:01\x00'
  printf '\xff\xdb\x00\x43\x00'
  head -c 64 /dev/zero | tr '\0' '\1'
  printf '\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00'
}
{ header; head -c 2000 /dev/zero; printf '\xff\xd9'; } >"$work/small.jpg"
{ header; head -c 100000 /dev/zero; printf '\xff\xd9'; } >"$work/padded.jpg"

# Copied by tee, a few hundred files to a process, not one cp a file.
names() { seq 1 "$count" | awk -v padded="$1" '($1 % 10 == 0) == padded { printf "IMG_%05d.JPG\n", $1 }'; }
copy() { xargs -n 500 sh -c 'tee "$@" <"$0" >/dev/null' "$1"; }
(cd "$folder" && names 0 | copy "$work/small.jpg" && names 1 | copy "$work/padded.jpg")
made=$(find "$folder" -maxdepth 1 -type f | wc -l)
echo "made $made files in $folder, $(names 1 | wc -l) of them padded to $(stat -c %s "$work/padded.jpg") bytes"
# Drive Z: is the Unix root.
wine "$exe" "Z:${folder//\//\\}" "$count" 20240315142501
