# Sourced by the Windows scripts: Debian's wine64 with a private prefix under the
# output folder, quiet, without the Mono and Gecko installers.
#   . scripts/windows/wine-env.sh OUT
wine_out="$(cd "$1" && pwd)"
export WINEPREFIX="$wine_out/wine-prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
PELORIN_WINE="$(command -v wine64 || true)"
[ -n "$PELORIN_WINE" ] || PELORIN_WINE=/usr/lib/wine/wine64
export PELORIN_WINE
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  "$PELORIN_WINE" wineboot -i >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w 2>/dev/null || true
fi
