#!/bin/sh
# Checks a Veltrane.dll as its host will load it: a PE DLL for the machine
# given, exporting exactly the entry points given under their plain names,
# importing only system DLLs, with a version record naming the file.
# Usage: check_dll.sh DLL x86|x64 ENTRY@ARGBYTES...
# On x86 every entry point is stdcall: it returns with "ret $ARGBYTES",
# taking its arguments off the host's stack.
set -eu
dll="$1"
arch="$2"
shift 2
fail() { echo "FAIL: $*"; exit 1; }

case "$arch" in
  x86) objdump=i686-w64-mingw32-objdump; format=pei-i386 ;;
  x64) objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64 ;;
  *) fail "unknown machine '$arch'" ;;
esac

$objdump -f "$dll" | grep -q "file format $format" || fail "not a $format image"
$objdump -p "$dll" | sed -n '/^Characteristics/,/^$/p' | grep -qx "[[:space:]]*DLL" ||
  fail "not a DLL"

expected=$(for entry in "$@"; do echo "${entry%@*}"; done | sort | tr '\n' ' ')
exports=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "$expected" ] || fail "exports are '$exports', expected '$expected'"

imports=$($objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | sort -u | tr '\n' ' ')
for import in $imports; do
  case "$import" in
    KERNEL32.dll | USER32.dll | ADVAPI32.dll) ;;
    *) fail "imports $import (all: '$imports')" ;;
  esac
done

# An entry point's address: its name's line reads "[ordinal] Name", the
# address table's "[ordinal] +base[biased ordinal] RVA Export RVA".
entry_rva() {
  ordinal=$($objdump -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n "s/^[[:space:]]*\[ *\([0-9]*\)\] $1\$/\1/p")
  $objdump -p "$dll" | sed -n '/^Export Address Table/,/^$/p' |
    sed -n "s/^[[:space:]]*\[ *$ordinal\] +base\[ *[0-9]*\] \([0-9a-f]*\) Export RVA/\1/p"
}
if [ "$arch" = x86 ]; then
  base=$($objdump -p "$dll" | awk '/^ImageBase/ {print $2}')
  for entry in "$@"; do
    start=$((0x$base + 0x$(entry_rva "${entry%@*}")))
    first_ret=$($objdump -d --start-address=$start --stop-address=$((start + 4096)) "$dll" |
      grep -m 1 -E '[[:space:]]ret[[:space:]]*(\$0x[0-9a-f]+)?$' | sed 's/.*ret[[:space:]]*//')
    [ "$first_ret" = "$(printf '$0x%x' "${entry#*@}")" ] ||
      fail "${entry%@*} returns with 'ret $first_ret'"
  done
fi

LC_ALL=C tr -d '\000' <"$dll" | grep -q "OriginalFilename.*Veltrane.dll" ||
  fail "no version record naming Veltrane.dll"

echo "OK: $arch, $(wc -c <"$dll") bytes; exports: $exports; imports: $imports"
