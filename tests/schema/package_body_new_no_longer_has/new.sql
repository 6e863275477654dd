-- New keeps the package's header and has no body for it yet.
SET TERM ^ ;
CREATE PACKAGE PK_TOOLS AS
BEGIN
  FUNCTION TWICE(N INTEGER) RETURNS INTEGER;
END^
SET TERM ; ^
