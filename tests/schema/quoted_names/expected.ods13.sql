SET SQL DIALECT 3;
SET BAIL ON;
SET AUTODDL OFF;

/* FIELD Mixed.drop */
ALTER TABLE "Mixed" DROP "drop";

/* TABLE Old Table */
DROP TABLE "Old Table";

/* ROLE role with spaces */
CREATE ROLE "role with spaces";

/* GENERATOR seq.dots */
CREATE SEQUENCE "seq.dots" START WITH 1;

/* EXCEPTION Err "Quoted" */
CREATE EXCEPTION "Err ""Quoted""" 'Has quotes';

/* DOMAIN d_money */
CREATE DOMAIN "d_money" AS NUMERIC(10, 2) DEFAULT 0;

/* TABLE Child */
CREATE TABLE "Child" ("id" INTEGER);

/* FIELD Mixed.select */
ALTER TABLE "Mixed" ADD "select" "d_money";

/* FIELD Mixed.lower */
ALTER TABLE "Mixed" ALTER "lower" SET NOT NULL;

/* FIELD Mixed.Space Name */
ALTER TABLE "Mixed" ALTER "Space Name" TYPE VARCHAR(20) CHARACTER SET NONE;

SET TERM ^ ;

/* PROCEDURE proc */
CREATE OR ALTER PROCEDURE "proc" ("in" INTEGER)
RETURNS ("out" INTEGER)
AS
BEGIN SUSPEND; END ^
SET TERM ; ^

/* CONSTRAINT pk mixed */
ALTER TABLE "Mixed" ADD CONSTRAINT "pk mixed" PRIMARY KEY ("lower") USING INDEX "pk mixed";

/* CONSTRAINT fk to mixed */
ALTER TABLE "Child" ADD CONSTRAINT "fk to mixed" FOREIGN KEY ("id") REFERENCES "Mixed" ("lower") USING INDEX "fk to mixed";

/* INDEX ix space */
CREATE INDEX "ix space" ON "Mixed" ("Space Name");

/* VIEW View Of Mixed */
CREATE VIEW "View Of Mixed" ("a", "b") AS
SELECT "lower", "Space Name" FROM "Mixed";

SET TERM ^ ;

/* PROCEDURE proc */
ALTER PROCEDURE "proc" ("in" INTEGER)
RETURNS ("out" INTEGER)
AS
BEGIN "out" = "in"; SUSPEND; END ^

/* TRIGGER trig on mixed */
CREATE TRIGGER "trig on mixed" FOR "Mixed" ACTIVE BEFORE INSERT POSITION 0
AS BEGIN NEW."Space Name" = UPPER(NEW."Space Name"); END ^
SET TERM ; ^

/* GRANT SELECT ON Mixed TO role with spaces */
GRANT SELECT ON "Mixed" TO ROLE "role with spaces";

/* GRANT role with spaces TO lower user */
GRANT "role with spaces" TO USER "lower user";

/* FIELD Mixed.select */
COMMENT ON COLUMN "Mixed"."select" IS 'A reserved word';

/* TABLE Mixed */
COMMENT ON TABLE "Mixed" IS 'Quoted table';

COMMIT;
