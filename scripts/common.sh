# Shared settings of the build and run scripts: where things go and how Wine
# is started with the Japanese code page. Sourced, not run.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TOVIK_BUILD:-$ROOT/build}
WIN_BUILD=$BUILD/win
NATIVE_BUILD=$BUILD/native
FUZZ_BUILD=$BUILD/fuzz

export WINEPREFIX=$WIN_BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# Runs a command with the Japanese locale: under Wine the ANSI code page
# follows the Unix locale, and ja_JP.UTF-8 gives 932.
ja() { LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 "$@"; }

JOBS=$(nproc 2>/dev/null || echo 2)

say() { printf '\n== %s\n' "$*"; }

# Creates the project's own Wine prefix inside the build tree and gives it
# the settings of scripts/wine_settings.reg (the Japanese dialog fonts mapped
# to IPA Gothic, Wine-drawn title bars). The settings are imported again
# whenever the file differs from the copy kept in the prefix, so an existing
# prefix gets them too. The first Wine process decides the display for the
# whole Wine server, so all of it runs inside a virtual display and the
# server is stopped afterwards.
ensure_wineprefix() {
  local settings="$ROOT/scripts/wine_settings.reg"
  local applied="$WINEPREFIX/tovik_settings.reg"
  if [ -f "$WINEPREFIX/system.reg" ] && cmp -s "$settings" "$applied"; then
    wineserver -k 2>/dev/null || true
    return 0
  fi
  local boot=:
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    boot='wineboot -i'
  fi
  say "applying scripts/wine_settings.reg to the Wine prefix"
  # regedit reads non-ASCII names from UTF-16 files (with the byte-order mark).
  local utf16="$WINEPREFIX/tovik_settings.utf16.reg"
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$settings"; } >"$utf16"
  ja xvfb-run -a sh -c '$1 >/dev/null 2>&1; wine regedit /S "Z:$2" >/dev/null 2>&1; wineserver -w' \
    _ "$boot" "$utf16" || true
  wineserver -k 2>/dev/null || true
  rm -f "$utf16"
  if grep -q 'IPAPGothic' "$WINEPREFIX/user.reg" 2>/dev/null; then
    cp "$settings" "$applied"
  else
    echo "warning: the Wine prefix did not take scripts/wine_settings.reg" >&2
  fi
}

# The program's version as the user reads it ("1.03"): TOVIK_VERSION_TEXT of
# res/version.h, put through the preprocessor that the resource compiler uses.
tovik_version() {
  printf '#include "res/version.h"\nTOVIK_VERSION_TEXT\n' |
    x86_64-w64-mingw32-gcc -E -P -x c -I "$ROOT" - | tr -d '" \n'
}
