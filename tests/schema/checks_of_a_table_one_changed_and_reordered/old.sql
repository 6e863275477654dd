-- The server lists a table's CHECKs in the order they were made, named ones and its own alike.
CREATE TABLE T (A INTEGER, B INTEGER, CHECK (A > 0), CHECK (B > 0), CHECK (A < 100));
CREATE TABLE U (A INTEGER, B INTEGER, CONSTRAINT CK_U_B CHECK (B > 0), CHECK (A > 0));
