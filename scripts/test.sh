#!/bin/sh
# Builds everything and runs every test: the native unit tests under the
# sanitizers, then the DLL with its checks and the end-to-end tests under
# 32-bit Wine (skipped where the kernel runs no 32-bit programs), the same
# end-to-end tests against the 64-bit build under wine64, the current
# generation's two DLLs with their checks and their real-host cases (x64 under
# wine64, x86 skipped where 32-bit Wine cannot start), then a minute of
# fuzzing.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native dll win64 far3-x86 far3-x64; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# A bounded fuzz run, on a copy of the seed corpus so that the committed seeds
# stay as they are. A failing input is kept in build/fuzz/.
cmake --preset fuzz
cmake --build --preset fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/* "$corpus"
build/fuzz/fuzz/description_fuzzer -max_total_time=60 -timeout=30 -print_final_stats=1 \
  -artifact_prefix=build/fuzz/ "$corpus"
