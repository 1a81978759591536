#!/usr/bin/env bash
# Drives bench/sort.exe: sorting 100,000 list entries by name needs no files,
# so nothing is made on disk.
# Usage: bash bench/sort.sh <path to sort.exe> <scratch folder>
# TOVIK_BENCH_FILES changes the number of entries.
set -euo pipefail
exe=$1
count=${TOVIK_BENCH_FILES:-100000}
wine "$exe" "$count"
