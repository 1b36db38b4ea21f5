#!/bin/sh
# Checks the help file's header and that every topic the plug-in names exists.
set -eu
help="$1"
texts="$2"
fail() { echo "FAIL: $*"; exit 1; }

[ "$(head -n 1 "$help" | tr -d '\r')" = ".Language=English,English" ] ||
  fail "first line is not .Language=English,English"
grep -q '^\.PluginContents=Veltrane' "$help" || fail "no .PluginContents line"
LC_ALL=C grep -q '[^ -~]' "$help" && fail "help file is not plain printable ASCII"

topics="Contents $(sed -n 's/.*kSelectHelpTopic\[\] = "\([^"]*\)".*/\1/p' "$texts")"
for topic in $topics; do
  grep -q "^@$topic\$" "$help" || fail "topic @$topic is missing"
done

# Every link points to a topic of the file.
for target in $(grep -o '~[^~]*~@[^@]*@' "$help" | sed 's/.*~@\(.*\)@/\1/' | sort -u); do
  grep -q "^@$target\$" "$help" || fail "link to missing topic @$target"
done
echo "OK: topics $topics"
