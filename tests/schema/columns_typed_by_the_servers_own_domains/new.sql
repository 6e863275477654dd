-- Columns typed by the server's own domains keep those domains, as the catalog's tables do.
CREATE TABLE NAMES (ID INTEGER, OWNER_NAME RDB$USER, FIELD RDB$FIELD_NAME, NOTE RDB$DESCRIPTION);
