#!/bin/sh
# Tries Veltrane in the stand-in host: installs what is missing, builds the DLL
# and the host, and opens the host with Veltrane on the example folder (or on
# the folder given) in this terminal, under Wine with a private prefix.
# Where the kernel runs no 32-bit programs, 32-bit Wine cannot start; the
# 64-bit build of the same sources then runs under wine64 instead.
# Usage: scripts/run.sh [FOLDER]
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)

folder=${1:-examples}
if [ ! -d "$folder" ]; then
  echo "run.sh: there is no folder '$folder'" >&2
  exit 2
fi
folder=$(cd "$folder" && pwd)

scripts/install-deps.sh

export WINEDEBUG=-all
if wine --version >/dev/null 2>&1; then
  preset=dll
  wine=wine
  export WINEARCH=win32 WINEPREFIX="$root/build/wineprefix"
else
  echo "32-bit Wine cannot start here (a kernel without 32-bit support):" \
    "running the 64-bit build of Veltrane under wine64 instead."
  preset=win64
  wine=/usr/lib/wine/wine64
  export WINEARCH=win64 WINEPREFIX="$root/build/wineprefix64" \
    WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"

# Wine turns the console's code page 437 into the terminal's character set.
case "${LC_ALL:-${LANG:-}}" in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing a Wine prefix in $WINEPREFIX (first time only)..."
  "$wine" wineboot -i >/dev/null 2>&1
fi
exec "$wine" "$root/build/$preset/panelhost.exe" "Z:$(printf '%s' "$folder" | tr / '\\')"
