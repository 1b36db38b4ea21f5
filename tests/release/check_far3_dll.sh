#!/bin/sh
# Checks the current-generation Veltrane.dll as the host will load it: a PE
# DLL of the given word size (x86 or x64) exporting exactly the four entry
# points under plain names and importing only system DLLs.
set -eu
dll="$1"
arch="$2"
fail() { echo "FAIL: $*"; exit 1; }

case "$arch" in
  x86) objdump=i686-w64-mingw32-objdump; format=pei-i386 ;;
  x64) objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64 ;;
  *) fail "unknown word size '$arch'" ;;
esac

$objdump -f "$dll" | grep -q "file format $format" || fail "not a $format image"
$objdump -p "$dll" | sed -n '/^Characteristics/,/^$/p' | grep -qx "[[:space:]]*DLL" ||
  fail "not a DLL"

exports=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "GetGlobalInfoW GetPluginInfoW OpenW SetStartupInfoW " ] ||
  fail "exports are '$exports'"

imports=$($objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u | tr '\n' ' ')
for import in $imports; do
  case "$import" in
    KERNEL32.dll | USER32.dll | ADVAPI32.dll) ;;
    *) fail "imports $import (all: '$imports')" ;;
  esac
done

# On x86 each entry point is stdcall with one pointer argument: it returns
# with "ret $0x4", taking its argument off the host's stack.
if [ "$arch" = x86 ]; then
  base=$($objdump -p "$dll" | awk '/^ImageBase/ {print $2}')
  for rva in $($objdump -p "$dll" | sed -n '/^Export Address Table/,/^$/p' |
               sed -n 's/.*+base\[ *[0-9]*\] \([0-9a-f]*\) Export RVA/\1/p'); do
    start=$((0x$base + 0x$rva))
    first_ret=$($objdump -d --start-address=$start --stop-address=$((start + 4096)) "$dll" |
      grep -m 1 -E '[[:space:]]ret[[:space:]]*(\$0x[0-9a-f]+)?$' | sed 's/.*ret[[:space:]]*//')
    [ "$first_ret" = '$0x4' ] || fail "the entry point at $rva returns with 'ret $first_ret'"
  done
fi

LC_ALL=C tr -d '\000' <"$dll" | grep -q "OriginalFilename.*Veltrane.dll" ||
  fail "no version record naming Veltrane.dll"

echo "OK: $arch, $(wc -c <"$dll") bytes; exports: $exports; imports: $imports"
