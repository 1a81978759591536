#!/usr/bin/env bash
# The release zip as a Windows user gets it: packed by scripts/package.sh
# from the built program, unpacked into a temporary folder, its readme read
# as code page 932 with CRLF line ends, and the unpacked program started
# under Wine until its main window shows, then closed.
# Usage: check_package.sh Tovik.exe end_to_end_tests.exe report.xml
exe=$1 end_to_end=$2 report=$3
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/tovik-package-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
unpacked=$work/unpacked

# A subshell: common.sh's Wine settings must not replace the ones CTest gives.
version=$(source "$root/scripts/common.sh" && tovik_version)
read -r major minor <<<"$(printf '#include "res/version.h"\nTOVIK_VERSION_MAJOR TOVIK_VERSION_MINOR\n' |
                          x86_64-w64-mingw32-gcc -E -P -x c -I "$root" - | tr '\n' ' ')"

checks=0 problems=()
# check WHAT COMMAND...: one case of the report.
check() {
  local what=$1; shift
  checks=$((checks + 1))
  "$@" || problems+=("$what")
}

pack() {
  local made
  made=$("$root/scripts/package.sh" --exe "$exe" --dist "$work/dist") &&
    [ "$made" = "$work/dist/Tovik-$version.zip" ] && [ -f "$made" ] &&
    unzip -q "$made" -d "$unpacked"
}

holds_exactly_the_two_files() {
  [ "$(unzip -Z1 "$work/dist/Tovik-$version.zip" | LC_ALL=C sort | tr '\n' ' ')" = "Tovik.exe readme.txt " ] &&
    cmp -s "$exe" "$unpacked/Tovik.exe"
}

# The text is the repository's readme, decoded from code page 932.
readme_is_code_page_932() {
  iconv -f CP932 -t UTF-8 "$unpacked/readme.txt" >"$work/readme.utf8" &&
    tr -d '\r' <"$work/readme.utf8" | cmp -s - "$root/docs/readme-ja.txt"
}

# Every line ends in CR LF, the last one too: as many CRs as LFs, and every
# LF after a CR.
readme_has_crlf_only() {
  local file=$unpacked/readme.txt lf cr crlf
  lf=$(tr -cd '\n' <"$file" | wc -c)
  cr=$(tr -cd '\r' <"$file" | wc -c)
  crlf=$(LC_ALL=C grep -ac $'\r$' "$file")
  [ "$lf" -gt 0 ] && [ "$cr" -eq "$lf" ] && [ "$crlf" -eq "$lf" ] &&
    [ -z "$(tail -c 1 "$file" | tr -d '\n')" ]
}

readme_history_names_the_version() {
  grep -q "^Ver $version" "$work/readme.utf8"
}

manifest_has_the_version() {
  LC_ALL=C grep -aq "name=\"Tovik\" version=\"$major.$minor.0.0\"" "$unpacked/Tovik.exe"
}

# The unpacked program goes through the end-to-end test: its main window, a
# run, the close box, exit code 0 and the settings it leaves beside itself.
starts_and_closes() {
  TOVIK_EXE="$unpacked/Tovik.exe" GTEST_OUTPUT= wine "$end_to_end" --gtest_filter='*TheProgramRenames*'
}

check "package.sh writes dist/Tovik-$version.zip" pack
check "the zip holds exactly Tovik.exe (the built one) and readme.txt" holds_exactly_the_two_files
check "readme.txt is docs/readme-ja.txt in code page 932" readme_is_code_page_932
check "readme.txt ends every line in CR LF" readme_has_crlf_only
check "readme.txt's history names Ver $version" readme_history_names_the_version
check "the manifest in Tovik.exe has version $major.$minor.0.0" manifest_has_the_version
check "the unpacked Tovik.exe runs, closes with 0 and saves Tovik.ini" starts_and_closes

mkdir -p "$(dirname "$report")"
printf '<?xml version="1.0"?>\n<testsuites tests="%d" failures="%d">\n</testsuites>\n' \
  "$checks" "${#problems[@]}" >"$report"
if [ ${#problems[@]} -gt 0 ]; then printf 'failed: %s\n' "${problems[@]}"; exit 1; fi
echo "Tovik-$version.zip: Tovik.exe and readme.txt (code page 932, CRLF); the program starts and closes"
