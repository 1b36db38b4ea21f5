#!/bin/sh
# Builds everything and runs every test: the native unit tests under the
# sanitizers with the far2l module, its checks and its real-host cases, then
# the DLL with its checks and the end-to-end tests under 32-bit Wine (skipped
# where the kernel runs no 32-bit programs), the same end-to-end tests against
# the 64-bit build under wine64, the current generation's DLLs with their
# checks and their real-host cases (x64 under wine64, x86 skipped where 32-bit
# Wine cannot start, ARM64 checked statically), the far2l module for ARM64
# Linux with every unit test under qemu-aarch64, then a bounded run of each
# fuzz target.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# Why tests were skipped (a host missing, 32-bit Wine unable to start), once
# per reason.
skip_reasons() {
  grep -ihE "^(skip|skipped): " "build/$1/Testing/Temporary/LastTest.log" 2>/dev/null |
    sort -u | sed "s/^/$1: /" || true
}

for preset in native dll win64 far3-x86 far3-x64 far3-arm64 far2l-arm64; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
  skip_reasons "$preset"
done

# A bounded run of each fuzz target, on a copy of its seeds so that the
# committed seeds stay as they are. A failing input is kept in build/fuzz/.
cmake --preset fuzz
cmake --build --preset fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
fuzz() {  # target, seconds, seed folder (may be absent)
  mkdir -p "$corpus/$1"
  if [ -d "$3" ]; then cp "$3"/* "$corpus/$1"; fi
  "build/fuzz/fuzz/$1" -max_total_time="$2" -timeout=30 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/$1-" "$corpus/$1"
}
fuzz description_fuzzer 60 fuzz/corpus
fuzz unicode_search_fuzzer 30 fuzz/corpus-unicode
fuzz description_file_fuzzer 30 fuzz/corpus-description-file
