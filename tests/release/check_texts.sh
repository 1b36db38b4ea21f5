#!/bin/sh
# Checks language (.lng) and help (.hlf) files as the host reads them: their
# encoding, the language line first (English or Russian by the file name's
# _en or _ru; English without either), every message a quoted string, every
# topic the plug-in names present and every link leading to a topic.
# Usage: check_texts.sh ascii|utf-8|utf-8-bom TEXTS_HEADER[:TEXTS_HEADER...] FILE...
# ascii: plain printable ASCII (the 1.x host); utf-8: without a byte-order
# mark (far2l); utf-8-bom: with one, which the current generation needs to
# read the file as UTF-8 at all.
set -eu
encoding="$1"
texts="$2"
shift 2
bom=$(printf '\357\273\277')
failed=0
fail() { echo "FAIL: $file: $*"; failed=1; }

# The help topics the dialogs name, in any string literal's spelling.
topics="Contents $(echo "$texts" | tr ':' '\n' |
  while read -r header; do sed -n 's/.*k[A-Za-z]*HelpTopic\[\] = [uLU8]*"\([^"]*\)".*/\1/p' "$header"; done |
  tr '\n' ' ')"

for file in "$@"; do
  case "$file" in
    *_ru.*) language=".Language=Russian,Russian (Русский)" ;;
    *) language=".Language=English,English" ;;
  esac
  first=$(head -n 1 "$file" | tr -d '\r')
  case "$encoding" in
    ascii) LC_ALL=C grep -q "$(printf '[^\t\r -~]')" "$file" && fail "not plain printable ASCII" ;;
    utf-8 | utf-8-bom) iconv -f UTF-8 -t UTF-8 "$file" >/dev/null 2>&1 || fail "not UTF-8" ;;
  esac
  case "$encoding:$first" in
    utf-8-bom:"$bom"*) first=${first#"$bom"} ;;
    utf-8-bom:*) fail "no byte-order mark" ;;
    *:"$bom"*) fail "a byte-order mark the host would show as text" ;;
  esac
  [ "$first" = "$language" ] || fail "first line is '$first', expected '$language'"

  case "$file" in
    *.lng)
      bad=$(tail -n +2 "$file" | tr -d '\r' | grep -v -e '^$' -e '^//' -e '^".*"$' | head -n 1)
      [ -z "$bad" ] || fail "not a quoted message: '$bad'" ;;
    *.hlf)
      grep -q '^\.PluginContents=Veltrane' "$file" || fail "no .PluginContents line"
      for topic in $topics $(grep -o '~[^~]*~@[^@]*@' "$file" | sed 's/.*~@\(.*\)@/\1/' | sort -u); do
        tr -d '\r' <"$file" | grep -qx "@$topic" || fail "no topic @$topic"
      done ;;
  esac
done
[ $failed -eq 0 ] && echo "OK: $# files; topics $topics"
exit $failed
