#!/bin/sh
# Installs what building and testing Veltrane needs on Debian 12, as root.
# Safe to run again: it only installs packages that are missing.
set -eu

packages="cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev \
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 clang libclang-rt-14-dev \
  lld llvm g++-aarch64-linux-gnu qemu-user \
  util-linux bsdextrautils zip unzip python3 wine wine64 wine32:i386 tmux libuchardet0"

if [ "$(id -u)" = 0 ]; then sudo=""; else sudo="sudo"; fi

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
# shellcheck disable=SC2086
$sudo apt-get install -y -q --no-install-recommends $missing
