# Writes the SQL of one side of the bench pair: side=new is the reference, side=old the same
# schema with a share of differences of every kind (diff per cent of the objects of each kind).
# Variables: side, path, tables, columns, procedures, triggers, domains, generators, exceptions, diff.

# Spreads each kind's differences evenly: of any 100 consecutive objects exactly diff are picked,
# and each salt picks others.
function picked(i, salt) { return side == "old" && ((i * 19 + salt * 37) % 100) < diff }

function tableInOld(i) { return !(side == "old" && ((i * 19 + 6 * 37) % 100) < diff) }
function pkInOld(i) { return tableInOld(i) && !picked(i, 10) }

function columnType(i, j) {
  kind = j % 6
  if (kind == 0) return "INTEGER"
  if (kind == 1) return picked(i, 8) && j == 1 ? "VARCHAR(30)" : "VARCHAR(40)"
  if (kind == 2) return "NUMERIC(15,2)"
  if (kind == 3) return picked(i, 9) && j == 3 ? "DATE" : "DATE NOT NULL"
  if (kind == 4) return "D_BASE"
  return "CHAR(10)"
}

BEGIN {
  perTable = int(columns / tables)
  if (perTable < 6) perTable = 6
  print "SET SQL DIALECT 1;"
  print "CREATE DATABASE '" path "' USER 'SYSDBA' PASSWORD 'x';"
  print "CREATE DOMAIN D_BASE AS VARCHAR(16);"
  for (k = 1; k <= domains; ++k) {
    if (picked(k, 1)) continue
    printf "CREATE DOMAIN D_%d AS VARCHAR(%d);\n", k, 10 + k % 30 + (picked(k, 2) ? 5 : 0)
  }
  for (k = 1; k <= exceptions; ++k) {
    if (picked(k, 3)) continue
    printf "CREATE EXCEPTION E_%d 'Exception %d%s';\n", k, k, picked(k, 4) ? " (old text)" : ""
  }
  for (k = 1; k <= generators; ++k)
    if (!picked(k, 5)) printf "CREATE GENERATOR G_%d;\n", k
  print "COMMIT;"

  for (i = 1; i <= tables; ++i) {
    if (!tableInOld(i)) continue
    printf "CREATE TABLE T_%d (\n  ID INTEGER NOT NULL,\n  PARENT_ID INTEGER", i
    last = perTable - 2
    if (picked(i, 7)) --last
    for (j = 1; j <= last; ++j) printf ",\n  C%d %s", j, columnType(i, j)
    if (pkInOld(i)) printf ",\n  CONSTRAINT PK_T_%d PRIMARY KEY (ID)", i
    print "\n);"
    if (!picked(i, 13))
      printf "CREATE INDEX IX_T_%d ON T_%d (%s);\n", i, i, picked(i, 14) ? "C2" : "C1"
  }
  print "COMMIT;"
  for (i = 2; i <= tables; i += 2) {
    if (!tableInOld(i) || !pkInOld(i - 1) || picked(i, 11)) continue
    rule = (i % 4 == 0) != (picked(i, 12) ? 1 : 0) ? " ON DELETE CASCADE" : ""
    printf "ALTER TABLE T_%d ADD CONSTRAINT FK_T_%d FOREIGN KEY (PARENT_ID) REFERENCES T_%d (ID)%s;\n", i, i, i - 1, rule
  }
  print "COMMIT;"

  print "SET TERM ^ ;"
  for (n = 1; n <= procedures; ++n) {
    # Every fifth procedure calls the one before it, which is therefore never missing.
    if (n % 5 != 4 && picked(n, 15)) continue
    printf "CREATE PROCEDURE P_%d (A INTEGER, B VARCHAR(%d))\nRETURNS (R INTEGER, S VARCHAR(40)) AS\n", n, picked(n, 17) ? 30 : 20
    print "DECLARE VARIABLE X INTEGER;\nBEGIN"
    printf "  X = :A + %d;\n", picked(n, 16) ? n + 1 : n
    if (n % 5 == 0 && n > 1) printf "  EXECUTE PROCEDURE P_%d :X, :B RETURNING_VALUES :X, :S;\n", n - 1
    print "  R = :X;\n  S = :B;\n  SUSPEND;\nEND ^"
  }
  for (k = 1; k <= triggers; ++k) {
    t = (k - 1) % tables + 1
    if (!tableInOld(t) || picked(k, 18)) continue
    printf "CREATE TRIGGER TR_%d FOR T_%d ACTIVE BEFORE INSERT POSITION %d AS\n", k, t, int((k - 1) / tables) + (picked(k, 20) ? 5 : 0)
    printf "BEGIN\n  IF (NEW.ID IS NULL) THEN NEW.ID = %d;\nEND ^\n", picked(k, 19) ? -k : k
  }
  print "SET TERM ; ^"
  print "COMMIT;"
}
