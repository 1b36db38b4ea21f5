#!/bin/sh
# Builds a build folder's release package and checks that it holds exactly
# the files given (folders aside).
# Usage: check_package.sh BUILD ZIP FILE...
set -eu
build="$1"
zip="$2"
shift 2
cd "$build"
cpack --config CPackConfig.cmake >/dev/null
listing=$(unzip -Z1 "$zip" | grep -v "/$" | sort | tr '\n' ' ')
expected=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
if [ "$listing" != "$expected" ]; then
  echo "FAIL: $zip holds '$listing', expected '$expected'"
  exit 1
fi
echo "OK: $zip holds $listing"
