#!/bin/sh
# Tries Veltrane in the stand-in host: installs what is missing, builds the DLL
# and the host, and opens the host with Veltrane on the example folder (or on
# the folder given) in this terminal, under Wine with a private prefix.
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
cmake --preset dll >/dev/null
cmake --build --preset dll

if ! wine --version >/dev/null 2>&1; then
  echo "run.sh: Wine cannot start here. On a machine whose kernel runs no 32-bit" >&2
  echo "programs (ia32_emulation off), 32-bit Wine cannot work." >&2
  exit 1
fi

export WINEPREFIX="$root/build/wineprefix" WINEARCH=win32 WINEDEBUG=-all
# Wine turns the console's code page 437 into the terminal's character set.
case "${LC_ALL:-${LANG:-}}" in
  *UTF-8* | *utf8*) ;;
  *) export LC_ALL=C.UTF-8 ;;
esac
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Preparing a Wine prefix in build/wineprefix (first time only)..."
  wineboot -i >/dev/null 2>&1
fi
exec wine "$root/build/dll/panelhost.exe" "Z:$(printf '%s' "$folder" | tr / '\\')"
