CREATE DOMAIN "d_money" AS NUMERIC(10, 2) DEFAULT 0;
CREATE SEQUENCE "seq.dots";
CREATE EXCEPTION "Err ""Quoted""" 'Has quotes';
CREATE ROLE "role with spaces";
CREATE TABLE "Mixed" ("lower" INTEGER NOT NULL, "Space Name" VARCHAR(20), "select" "d_money",
  CONSTRAINT "pk mixed" PRIMARY KEY ("lower"));
CREATE TABLE "Child" ("id" INTEGER, CONSTRAINT "fk to mixed" FOREIGN KEY ("id") REFERENCES "Mixed" ("lower"));
CREATE INDEX "ix space" ON "Mixed" ("Space Name");
CREATE VIEW "View Of Mixed" ("a", "b") AS SELECT "lower", "Space Name" FROM "Mixed";
SET TERM ^ ;
CREATE PROCEDURE "proc" ("in" INTEGER) RETURNS ("out" INTEGER) AS BEGIN "out" = "in"; SUSPEND; END^
CREATE TRIGGER "trig on mixed" FOR "Mixed" ACTIVE BEFORE INSERT POSITION 0 AS BEGIN NEW."Space Name" = UPPER(NEW."Space Name"); END^
SET TERM ; ^
GRANT SELECT ON "Mixed" TO ROLE "role with spaces";
GRANT "role with spaces" TO USER "lower user";
COMMENT ON TABLE "Mixed" IS 'Quoted table';
COMMENT ON COLUMN "Mixed"."select" IS 'A reserved word';
