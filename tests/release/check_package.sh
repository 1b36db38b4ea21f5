#!/bin/sh
# Builds the release package and checks that it holds the plug-in's folder.
set -eu
build="$1"
zip="$2"
cd "$build"
cpack --config CPackConfig.cmake >/dev/null
listing=$(unzip -Z1 "$zip" | grep -v "/$" | sort | tr '\n' ' ')
expected="Veltrane/ReadMe.txt Veltrane/Veltrane.dll Veltrane/Veltrane.hlf "
if [ "$listing" != "$expected" ]; then
  echo "FAIL: $zip holds '$listing'"
  exit 1
fi
echo "OK: $zip holds $listing"
