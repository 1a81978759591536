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

# Creates the project's own Wine prefix inside the build tree. The first Wine
# process decides the display for the whole Wine server, so the prefix is made
# inside a virtual display and the server is stopped afterwards.
ensure_wineprefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    say "creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    ja xvfb-run -a sh -c 'wineboot -i >/dev/null 2>&1; wineserver -w' || true
  fi
  wineserver -k 2>/dev/null || true
}
