CREATE TABLE "Old Table" ("Key" INTEGER);
CREATE TABLE "Mixed" ("lower" INTEGER, "Space Name" VARCHAR(10), "drop" INTEGER);
