#!/bin/sh
# Checks the far2l module as built: it exports exactly the entry points the
# host looks up, and needs no library the host does not load itself (only
# libc where no far2l is at hand to compare with: the real hosts are in
# ../shared/realhost beside the source tree, or where VELTRANE_REALHOST says).
# Usage: check_module.sh MODULE
set -eu
module=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
host=${VELTRANE_REALHOST:-$source_dir/../shared/realhost}/far2l/far2l
fail=0

exports=$(nm -D --defined-only "$module" | awk '{print $3}' | sort | tr '\n' ' ')
expected="ClosePluginW FreeFindDataW GetFindDataW GetMinFarVersionW GetOpenPluginInfoW \
GetPluginInfoW OpenPluginW ProcessKeyW SetDirectoryW SetStartupInfoW "
if [ "$exports" != "$expected" ]; then
  echo "exports: '$exports', expected '$expected'"
  fail=1
fi

if [ -n "$host" ] && [ -x "$host" ]; then
  allowed=$(readelf -d "$host" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
else
  allowed="libc.so.6"
fi
for lib in $(readelf -d "$module" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  if ! echo "$allowed" | grep -qx "$lib"; then
    echo "needs $lib, which far2l does not load"
    fail=1
  fi
done

# Every symbol it needs comes from the C library: nothing is left for the
# host's executable to supply at load time.
others=$(nm -D --undefined-only "$module" | awk '$1 == "U" && $2 !~ /@GLIBC_/ {print $2}')
if [ -n "$others" ]; then
  echo "undefined symbols outside the C library: $others"
  fail=1
fi
[ $fail -eq 0 ] && echo "exports and libraries as expected"
exit $fail
