#!/bin/sh
# Builds the current-generation release package and checks that it holds the
# plug-in's folder with its language, help and read-me files.
set -eu
build="$1"
zip="$2"
cd "$build"
cpack --config CPackConfig.cmake >/dev/null
listing=$(unzip -Z1 "$zip" | grep -v "/$" | sort | tr '\n' ' ')
expected="Veltrane/ReadMe.txt Veltrane/Veltrane.dll Veltrane/Veltrane_en.hlf \
Veltrane/Veltrane_en.lng Veltrane/Veltrane_ru.hlf Veltrane/Veltrane_ru.lng "
if [ "$listing" != "$expected" ]; then
  echo "FAIL: $zip holds '$listing'"
  exit 1
fi
echo "OK: $zip holds $listing"
