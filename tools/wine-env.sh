# Sourced by the tool scripts: the environment of the project's own Wine prefix.
# Never ~/.wine: the prefix lives in the build folder (or BRAMIX_WINEPREFIX).
_root=$(cd "$(dirname "${BASH_SOURCE:-$0}")/.." 2>/dev/null && pwd)
[ -n "$_root" ] || _root=$(pwd)
: "${BRAMIX_BUILD:=$_root/build}"
export WINEPREFIX="${BRAMIX_WINEPREFIX:-$BRAMIX_BUILD/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No desktop integration, no Mono or Gecko downloads.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
# Debian's /usr/bin/wine prefers the 32-bit loader; on hosts whose kernel runs no
# 32-bit code that loader cannot start at all, so the 64-bit loader is used directly.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=/usr/bin/wine
    BRAMIX_RUNS_32BIT=1
else
    WINE=/usr/lib/wine/wine64
    BRAMIX_RUNS_32BIT=0
fi
WINESERVER=/usr/lib/wine/wineserver64
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
export WINE WINESERVER BRAMIX_RUNS_32BIT
