#!/usr/bin/env bash
# Installs, builds, makes the two sample databases and starts Vorkat with them filled in.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
samples="$PWD/build/samples"
mkdir -p "$samples"
for side in old new; do
  rm -f "$samples/$side.gdb"
  { echo "SET SQL DIALECT 1;"
    echo "CREATE DATABASE '$samples/$side.gdb' USER 'SYSDBA' PASSWORD 'x';"
    cat "sql/sample_$side.sql"
    echo "COMMIT;"; } > "$samples/$side.sql"
  isql-fb -q -b -i "$samples/$side.sql"
done
scripts/set-ini.sh build/vorkat.ini OldDBName_FileName "$samples/old.gdb"
scripts/set-ini.sh build/vorkat.ini NewDBName_FileName "$samples/new.gdb"
echo "Old Database: $samples/old.gdb"
echo "New Database: $samples/new.gdb"
cd build && exec ./vorkat
