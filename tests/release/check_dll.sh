#!/bin/sh
# Checks a Veltrane.dll as its host will load it: a PE DLL for the machine
# given, exporting exactly the entry points given, by plain names, importing
# only system DLLs, with a version record naming the file; and each entry
# point the machine's own code, returning as the host's calling convention
# has it. On x86 that is stdcall: "ret ARGBYTES", taking the arguments off
# the host's stack. x64 and ARM64 have one convention each (arguments in
# registers, a plain return): there each entry point must decode as the
# machine's own code up to its "ret".
# Usage: check_dll.sh DLL x86|x64|arm64 ENTRY@ARGBYTES...
set -eu
dll="$1"
arch="$2"
shift 2
fail() { echo "FAIL: $*"; exit 1; }

case "$arch" in
  x86) machine=IMAGE_FILE_MACHINE_I386 ;;
  x64) machine=IMAGE_FILE_MACHINE_AMD64 ;;
  arm64) machine=IMAGE_FILE_MACHINE_ARM64 ;;
  *) fail "unknown machine '$arch'" ;;
esac
headers=$(llvm-readobj --file-headers "$dll")
echo "$headers" | grep -q "Machine: $machine (" || fail "not a $machine image"
echo "$headers" | grep -q "IMAGE_FILE_DLL " || fail "not a DLL"
base=$(echo "$headers" | sed -n 's/^ *ImageBase: //p')

table=$(llvm-readobj --coff-exports "$dll")
expected=$(for entry in "$@"; do echo "${entry%@*}"; done | sort | tr '\n' ' ')
exports=$(echo "$table" | sed -n 's/^ *Name: \(..*\)/\1/p' | sort | tr '\n' ' ')
[ "$exports" = "$expected" ] || fail "exports are '$exports', expected '$expected'"

# The host reads the export names with the file offsets of the section that
# holds the export directory: the names must lie in that section too.
directory=$(llvm-objdump -p "$dll" | awk '$1 == "Entry" && $2 == "0" {print "0x" $3, "0x" $4}')
start=$((${directory% *}))
end=$((start + ${directory#* }))
inside=no
for section in $(llvm-readobj --sections "$dll" |
                 awk '$1 == "VirtualSize:" {size = $2} $1 == "VirtualAddress:" {print $2 ":" size}'); do
  address=$((${section%:*}))
  if [ "$address" -le "$start" ] && [ "$end" -le $((address + ${section#*:})) ]; then inside=yes; fi
done
[ $inside = yes ] || fail "the export directory does not lie within one section"

imports=$(llvm-readobj --coff-imports "$dll" | sed -n 's/^ *Name: //p' | sort -u | tr '\n' ' ')
for import in $imports; do
  case "$import" in
    KERNEL32.dll | USER32.dll | ADVAPI32.dll) ;;
    *) fail "imports $import (all: '$imports')" ;;
  esac
done

# The entry point's code up to its first return, one "mnemonic operands" a line.
code_to_return() {
  rva=$(echo "$table" | awk -v name="$1" '$1 == "Name:" {found = $2 == name}
                                          found && $1 == "RVA:" {print $2; exit}')
  start=$((base + rva))
  llvm-objdump -d --start-address=$start --stop-address=$((start + 65536)) "$dll" |
    awk -F '\t' 'NF >= 2 {print $2 ($3 == "" ? "" : " " $3)}' | sed '/^ret/q'
}
for entry in "$@"; do
  name=${entry%@*}
  code=$(code_to_return "$name")
  case "$arch" in
    x86) want="retl \$${entry#*@}" ;;
    x64) want=retq ;;
    arm64) want=ret ;;
  esac
  last=$(echo "$code" | tail -n 1)
  [ "$last" = "$want" ] || fail "$name returns with '$last', expected '$want'"
  if echo "$code" | grep -q -e "<unknown>" -e "(bad)"; then
    fail "$name is not $arch code"
  fi
done

# ARM64 Windows keeps x18 for the thread's own block: code built for
# another ARM64 system would use it as a scratch register.
if [ "$arch" = arm64 ] && llvm-objdump -d "$dll" | grep -qE '[[:space:],[][xw]18([],[:space:]]|$)'; then
  fail "code uses x18, the register Windows keeps for the thread"
fi

LC_ALL=C tr -d '\000' <"$dll" | grep -q "OriginalFilename.*Veltrane.dll" ||
  fail "no version record naming Veltrane.dll"

echo "OK: $arch, $(wc -c <"$dll") bytes; exports: $exports; imports: $imports"
