#!/bin/sh
# Checks the far2l module as built: an ELF shared object for the machine
# given (x86_64 or aarch64) that exports exactly the entry points the host
# looks up, needs no library the host does not load itself (only libc where
# no far2l of this machine is at hand: the real hosts are in ../shared/realhost
# beside the source tree, or where VELTRANE_REALHOST says), takes every symbol
# it needs from the C library, and no symbol version newer than glibc 2.17,
# the oldest that far2l runs on.
# Usage: check_module.sh MODULE MACHINE
set -eu
module=$1
machine=$2
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
host=${VELTRANE_REALHOST:-$source_dir/../shared/realhost}/far2l/far2l
fail=0
failed() { echo "FAIL: $*"; fail=1; }

case "$machine" in
  x86_64) elf_machine="Advanced Micro Devices X86-64" ;;
  aarch64) elf_machine="AArch64" ;;
  *) echo "FAIL: unknown machine '$machine'"; exit 1 ;;
esac
readelf -h "$module" | grep -q "Type: *DYN" || failed "not a shared object"
readelf -h "$module" | grep -q "Machine: *$elf_machine\$" || failed "not for $elf_machine"

# "index binding name@version" for every dynamic symbol.
symbols=$(readelf --dyn-syms -W "$module" | awk '$1 ~ /^[0-9]+:$/ && $8 != "" {print $7, $5, $8}')
exports=$(echo "$symbols" | awk '$1 != "UND" && $2 != "LOCAL" {print $3}' | sort | tr '\n' ' ')
expected="ClosePluginW FreeFindDataW GetFindDataW GetMinFarVersionW GetOpenPluginInfoW \
GetPluginInfoW OpenPluginW ProcessKeyW SetDirectoryW SetStartupInfoW "
[ "$exports" = "$expected" ] || failed "exports: '$exports', expected '$expected'"

needed=$(readelf -d "$module" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
if [ -x "$host" ] && readelf -h "$host" | grep -q "Machine: *$elf_machine\$"; then
  allowed=$(readelf -d "$host" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
else
  allowed="libc.so.6"
fi
for lib in $needed; do
  echo "$allowed" | grep -qx "$lib" || failed "needs $lib, which far2l does not load"
done

# Nothing is left for the host's executable to supply at load time (weak
# references, which may stay unresolved, aside), and no version is newer
# than 2.17.
others=$(echo "$symbols" | awk '$1 == "UND" && $2 != "WEAK" && $3 !~ /@GLIBC_/ {print $3}')
[ -z "$others" ] || failed "undefined symbols outside the C library: $(echo $others)"
versions=$(echo "$symbols" | awk -F '@GLIBC_' 'NF == 2 {print $2}' | sort -u -t . -k 1,1n -k 2,2n)
newer=$(echo "$symbols" | awk '{n = split($3, v, /@GLIBC_|\./)}
                               n >= 3 && (v[2] > 2 || (v[2] == 2 && v[3] > 17)) {print $3}')
[ -z "$newer" ] || failed "symbol versions newer than GLIBC_2.17: $(echo $newer)"

[ $fail -eq 0 ] && echo "OK: $machine; exports $exports; needs $(echo $needed);" \
  "glibc versions up to $(echo "$versions" | tail -n 1)"
exit $fail
