#!/usr/bin/env bash
# set-ini.sh FILE KEY VALUE: sets KEY in section [TVorkatMainForm] of FILE, keeping every other line.
set -euo pipefail
file=$1 key=$2 value=$3
touch "$file"
awk -v key="$key" -v value="$value" '
  BEGIN { section = "[tvorkatmainform]"; insec = 0; done = 0; seen = 0 }
  {
    line = $0; sub(/\r$/, "", line)
    if (line ~ /^\[.*\]$/) {
      if (insec && !done) { print key "=" value; done = 1 }
      insec = (tolower(line) == section); if (insec) seen = 1
      print line; next
    }
    if (insec && !done) {
      split(line, kv, "=")
      if (tolower(kv[1]) == tolower(key)) { print key "=" value; done = 1; next }
    }
    print line
  }
  END {
    if (!done) { if (!seen) print "[TVorkatMainForm]"; print key "=" value }
  }' "$file" > "$file.tmp"
mv "$file.tmp" "$file"
