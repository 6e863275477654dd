#!/usr/bin/env bash
# The drift fuzzer over the corpus of real schemas, for as many seeds as wanted:
#   scripts/drift.sh --seeds N [--schema NAME] [--edits K] [--first S] [--mode drop|force|both] [--out FOLDER]
#   scripts/drift.sh --vs-empty      (each schema rebuilt whole in an empty Old)
# Each faulty seed is shrunk to the fewest edits that still fail and written as a fixture case
# (old.sql, new.sql, verdict.txt) under FOLDER, drift-cases by default. Exits 1 when any seed is faulty.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target vorkat-drift >/dev/null
exec build/tests/vorkat-drift "$@"
