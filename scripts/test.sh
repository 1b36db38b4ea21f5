#!/bin/sh
# Builds everything and runs every test: the native unit tests under the
# sanitizers, then the DLL with its checks and the end-to-end tests.
set -eu
cd "$(dirname "$0")/.."

scripts/install-deps.sh

for preset in native dll; do
  cmake --preset "$preset"
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
