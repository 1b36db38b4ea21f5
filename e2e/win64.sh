#!/bin/sh
# Runs the end-to-end cases where 32-bit Wine cannot start (a kernel without
# 32-bit support): against 64-bit builds of panelhost.exe and of the plug-in's
# own sources, under wine64. That is not the shipped DLL, so the stdcall
# convention and the 32-bit record layout go unchecked here; the console,
# the registry and everything the plug-in does are the real ones.
# Usage: e2e/win64.sh [CASE...]
set -eu
cd "$(dirname "$0")/.."
src=$(pwd)
out=$src/build/e2e-win64

for p in wine64 g++-mingw-w64-x86-64; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$p"
done

mkdir -p "$out"
cxx="x86_64-w64-mingw32-g++ -std=c++20 -O1 -Wall -Wextra -I$src -DWIN32_LEAN_AND_MEAN"
# shellcheck disable=SC2086
$cxx -static -o "$out/panelhost.exe" panelhost/*.cpp filemask/file_mask.cpp -luser32 -ladvapi32
plugin_sources=$(sed -n '/^set(PLUGIN_SOURCES/,/)/p' CMakeLists.txt | grep -o '[a-z_/]*\.cpp')
printf 'LIBRARY Veltrane.dll\nEXPORTS\n  SetStartupInfo\n  GetPluginInfo\n  OpenPlugin\n' \
  >"$out/Veltrane64.def"
# shellcheck disable=SC2086
$cxx -shared -static -o "$out/Veltrane.dll" $plugin_sources host/system_win32.cpp \
  "$out/Veltrane64.def" -luser32 -ladvapi32

export WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
export E2E_WINE=/usr/lib/wine/wine64 E2E_HOST="$out/panelhost.exe" E2E_PLUGIN="$out/Veltrane.dll"
python3 e2e/e2e.py --build "$out" setup

passed=0
failed=0
for case in ${*:-$(python3 e2e/e2e.py --list)}; do
  if python3 e2e/e2e.py --build "$out" "$case"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "failed: $case"
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
