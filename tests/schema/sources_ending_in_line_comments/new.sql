-- Each source ends in a comment that would take in the rest of its line.
CREATE DOMAIN D_COUNT AS INTEGER DEFAULT 0 -- nothing counted yet
 NOT NULL;
CREATE TABLE T (ID INTEGER DEFAULT 1 -- the first
, N D_COUNT, Z INTEGER, CONSTRAINT CK_Z CHECK (Z > 0) -- positive
);
CREATE TABLE U (ID INTEGER, QTY INTEGER DEFAULT 2 -- a pair
);
CREATE VIEW V AS SELECT ID FROM T -- all of them
;
