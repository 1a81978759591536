#!/usr/bin/env bash
# Tovik.exe must run when copied alone onto a bare Windows machine: a 64-bit
# GUI executable that imports only DLLs every Windows has.
# Usage: check_executable.sh Tovik.exe objdump report.xml
exe=$1 objdump=$2 report=$3
allowed='^(KERNEL32|USER32|GDI32|SHELL32|SHLWAPI|OLE32|COMCTL32|ADVAPI32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
problems=()
headers=$("$objdump" -p "$exe") || problems+=("objdump cannot read $exe")
grep -q '^Magic[[:space:]]*020b' <<<"$headers" || problems+=("not a PE32+ image")
grep -q '^Subsystem[[:space:]]*00000002' <<<"$headers" || problems+=("not the GUI subsystem")
# Windows matches DLL names without regard to case; MinGW's import library
# names ole32.dll in lower case.
shopt -s nocasematch
while read -r dll; do
  [[ "$dll" =~ $allowed ]] || problems+=("imports $dll")
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
mkdir -p "$(dirname "$report")"
failures=$(( ${#problems[@]} > 0 ? 1 : 0 ))
printf '<?xml version="1.0"?>\n<testsuites tests="1" failures="%d">\n</testsuites>\n' "$failures" >"$report"
if [ "$failures" -ne 0 ]; then printf '%s\n' "${problems[@]}"; exit 1; fi
echo "$(basename "$exe"): PE32+, GUI subsystem, imports only system DLLs"
