#!/usr/bin/env bash
# vorkat-cli run with the Firebird 4 or 5 embedded engine (scripts/engine.sh): two databases
# made by that engine, the complete comparison's script for a table Old lacks and one only Old
# has, the repair, and the two databases' isql-fb extracts alike afterwards.
#   cli_on_engine.sh VERSION VORKAT_CLI ISQL
# Without the engine (scripts/engines.sh brings it) the test fails: it never skips.
set -uo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $(basename "$0") 4|5 VORKAT_CLI ISQL" >&2
  exit 2
fi
major=$1
cli="$(realpath "$2")"
isql="$(command -v "$3")"
engine="$(cd "$(dirname "$0")/../.." && pwd)/scripts/engine.sh"

failures=0
# Compares what came with what was expected, and shows both when they differ.
expect() {
  local what=$1 expected=$2 actual=$3
  if [ "$expected" != "$actual" ]; then
    echo "FAILED: $what"
    diff <(printf '%s\n' "$expected") <(printf '%s\n' "$actual") | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

if ! "$engine" "$major" true; then
  echo "FAILED: no Firebird $major engine to run on"
  exit 1
fi

folder="$(mktemp -d "${TMPDIR:-/tmp}/vorkat_engine${major}_XXXXXX")"
trap 'rm -rf "$folder"' EXIT
cd "$folder"
# No credentials from the caller: the embedded engine needs none.
unset ISC_USER ISC_PASSWORD

# Runs isql-fb with the engine, logged in as the tests' other databases are.
isql() {
  "$engine" "$major" "$isql" -q -b -user SYSDBA -password x "$@"
}

# Runs vorkat-cli with the engine and expects the exit status given first; its standard output
# goes to the file out, and its standard error is shown when the status is another.
run_cli() {
  local expected=$1
  shift
  "$engine" "$major" "$cli" "$@" > out 2> err
  local status=$?
  expect "exit status of vorkat-cli $*" "$expected" "$status"
  [ "$status" = "$expected" ] || sed 's/^/    /' err
}

make_db() {
  printf "SET SQL DIALECT 3;\nCREATE DATABASE '%s' USER 'SYSDBA' PASSWORD 'x';\n%s\nCOMMIT;\n" "$1" "$2" > make.sql
  isql -i make.sql || { echo "FAILED: isql-fb could not make $1"; exit 1; }
}

# "ODS major.minor, engine version" of a database, as the engine reports it.
ods() {
  printf "SET HEADING OFF;\nSELECT MON\$ODS_MAJOR || '.' || MON\$ODS_MINOR || ' ' || RDB\$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') FROM MON\$DATABASE;\n" |
    isql "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'
}

# The database's isql-fb extract without the line that names its file.
extract() {
  "$engine" "$major" "$isql" -x -user SYSDBA -password x "$1" | grep -v '^/\* CREATE DATABASE '
}

case "$major" in
  4) structure="13.0 4.0.*" ;;
  5) structure="13.1 5.0.*" ;;
  *) echo "FAILED: VERSION is 4 or 5, not $major"; exit 1 ;;
esac

make_db "$folder/new.fdb" "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY);
CREATE TABLE ONLY_NEW (B VARCHAR(5), C BIGINT NOT NULL);"
make_db "$folder/old.fdb" "CREATE TABLE T (A INTEGER NOT NULL PRIMARY KEY);
CREATE TABLE ONLY_OLD (C INTEGER);"
for db in old new; do
  made="$(ods "$folder/$db.fdb")"
  # shellcheck disable=SC2053
  [[ "$made" == $structure ]] || expect "the $db database's on-disk structure and engine" "$structure" "$made"
done

run_cli 1 --complete --drop --script out.sql "$folder/old.fdb" "$folder/new.fdb"
expect "rows of the script run" $'TABLE\tONLY_NEW\tnot exist\nTABLE\tONLY_OLD\twill drop (0 rows)' "$(cat out)"
# The head names the engine of each side; the date is the run's own.
head="$(sed -n '1,/^\*\/$/p' out.sql)"
pattern="/\* Written by Vorkat * on 20??-??-?? ??:?? UTC
   Old: $folder/old.fdb (?I-V$major.0.* Firebird $major.0, ODS 13, dialect 3)
   New: $folder/new.fdb (?I-V$major.0.* Firebird $major.0, ODS 13, dialect 3)
   1 missing, 0 different, 1 only in Old (1 dropped), 0 not mended, 0 warnings; 2 statements
*/"
# shellcheck disable=SC2053
[[ "$head" == $pattern ]] || expect "the script's head" "$pattern" "$head"
expect "the script" "SET SQL DIALECT 3;
SET BAIL ON;
SET AUTODDL OFF;

/* TABLE ONLY_OLD (destructive) */
DROP TABLE ONLY_OLD;

/* TABLE ONLY_NEW */
CREATE TABLE ONLY_NEW (B VARCHAR(5) CHARACTER SET NONE,
    C BIGINT NOT NULL);

COMMIT;" "$(sed '1,/^\*\/$/d' out.sql 2>&1)"

run_cli 1 --complete --drop --repair --verify "$folder/old.fdb" "$folder/new.fdb"
expect "rows of the repair" $'TABLE\tONLY_NEW\tnot exist\nTABLE\tONLY_OLD\tdropped (0 rows)\nconverged' "$(cat out)"

run_cli 0 --complete --drop --quiet --script again.sql "$folder/old.fdb" "$folder/new.fdb"
expect "rows after the repair" "" "$(cat out)"
expect "the script after the repair" "" "$(cat again.sql 2>&1)"

made="$(ods "$folder/old.fdb")"
# shellcheck disable=SC2053
[[ "$made" == $structure ]] || expect "the repaired database's on-disk structure and engine" "$structure" "$made"
wanted="$(extract "$folder/new.fdb")"
[[ "$wanted" == *"CREATE TABLE ONLY_NEW (B VARCHAR(5),"* ]] || expect "New's isql-fb extract" "CREATE TABLE ONLY_NEW ..." "$wanted"
expect "isql-fb extracts of the repaired Old and of New" "$wanted" "$(extract "$folder/old.fdb")"

if [ "$failures" -gt 0 ]; then
  echo "engine $major: $failures failed"
  exit 1
fi
echo "engine $major: vorkat-cli scripted, repaired and converged"
