#!/bin/sh
# Checks Veltrane.dll as the host will load it: a 32-bit PE DLL exporting
# exactly the three entry points under plain names, importing only system DLLs.
set -eu
dll="$1"
objdump=i686-w64-mingw32-objdump
fail() { echo "FAIL: $*"; exit 1; }

$objdump -f "$dll" | grep -q "file format pei-i386" || fail "not a 32-bit PE image"
$objdump -p "$dll" | sed -n '/^Characteristics/,/^$/p' | grep -qx "[[:space:]]*DLL" ||
  fail "not a DLL"

exports=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "GetPluginInfo OpenPlugin SetStartupInfo " ] ||
  fail "exports are '$exports'"

imports=$($objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort | tr '\n' ' ')
[ "$imports" = "ADVAPI32.dll KERNEL32.dll USER32.dll " ] || fail "imports are '$imports'"

# The version record names the file (UTF-16 in the resource).
LC_ALL=C tr -d '\000' <"$dll" | grep -q "OriginalFilename.*Veltrane.dll" ||
  fail "no version record naming Veltrane.dll"

echo "OK: $(wc -c <"$dll") bytes; exports: $exports; imports: $imports"
