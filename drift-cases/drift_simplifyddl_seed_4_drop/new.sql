-- made in a database of default character set WIN1252

/* ---- from bootstrap/sddl/sddl.bootstrap.context.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-04                                                        
/* Description: Es werden Informationen in den Context gespeichert       
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-03-04
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  /* 
    Nur Werte in den Context aufnehmen welche, noch vor dem sddl.bootstrap.setting.model.data.sql 
    vorhanden sein mÃ¼ssen
  */   
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.roles.standard.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es werden Standard-Benutzer und -Rollen fÃ¼r das sDDL.bootstrap angelegt    
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*          ---
/*          Der Standard-User fÃ¼r das Bootstrap muss wie beschreiben bestehen erhalten bleiben
/*          Das Passwort sollte natÃ¼rlich hier oder zu einem spÃ¤teren Zeitpunkt geÃ¤ndert werden
/*
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
SET TERM ^ ;
EXECUTE BLOCK
AS
begin
  if (exists(select 1
             from RDB$ROLES 
             where RDB$ROLE_NAME = 'SDDL_DELETE')) 
  then
    execute statement 'DROP ROLE SDDL_DELETE';    
    
  if (exists(select 1
             from RDB$ROLES 
             where RDB$ROLE_NAME = 'SDDL_PUBLIC')) 
  then
    execute statement 'DROP ROLE SDDL_PUBLIC';
        
  if (exists(select 1
             from RDB$ROLES 
             where RDB$ROLE_NAME = 'SDDL_ALL')) 
  then
    execute statement 'DROP ROLE SDDL_ALL';
   
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

CREATE ROLE SDDL_DELETE;
COMMENT ON ROLE SDDL_DELETE
IS 'Sammelt alle Delete-Rechte';
/*------------------------------------------------------------------------------------------------*/

CREATE ROLE SDDL_PUBLIC;
COMMENT ON ROLE SDDL_PUBLIC
IS 'Sammelt alle Select-, Update-, Insert- und Exectue-Rechte';
/*------------------------------------------------------------------------------------------------*/

CREATE ROLE SDDL_ALL;  
COMMENT ON ROLE SDDL_ALL
IS 'Sammelt alle Select-, Update-, Insert-, Delete- und Exectue-Rechte';
/*------------------------------------------------------------------------------------------------*/

GRANT SDDL_ALL TO SDDL_USER;
GRANT SDDL_DELETE TO SDDL_USER;
GRANT SDDL_PUBLIC TO SDDL_USER;

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.domains.create.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es werden alle notwendigen Domains für das sDDL.bootstrap angelegt    
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/


/* Domains für das sDDL.bootstrap ----------------------------------------------------------------*/

CREATE DOMAIN DN_DESCRIBE_RECORD_TYPE
AS SMALLINT
DEFAULT 0
CHECK (VALUE IN (0, 1, 2, 3, 4, 5, 6, 7));

COMMENT ON DOMAIN DN_DESCRIBE_RECORD_TYPE
IS 'Recordtype für SP_DESCRIBE'; 

CREATE DOMAIN DN_DESCRIBE_RECORD_CAPTION
AS VARCHAR(64)
DEFAULT 0
CHECK (VALUE IN ('UNKNOWN', 'HEADER', 'FIELDS', 'CONSTRAINTS', 'INDICES', 'TRIGGER', 'DEPENDENCIES', 'GRANTS'));

COMMENT ON DOMAIN DN_DESCRIBE_RECORD_CAPTION
IS 'RecordtypeCaption für SP_DESCRIBE';

CREATE DOMAIN DN_ENTITY_TYPE_CAPTION
AS VARCHAR(31)
DEFAULT 'UNKNOWN'
CHECK (VALUE IN ('UNKNOWN', 'TABLE', 'GTT', 'VIEW', 'PK CONSTRAINT', 'FK CONSTRAINT', 'ALT CONSTRAINT', 'INDEX', 'SEQUENCE'));

COMMENT ON DOMAIN DN_ENTITY_TYPE_CAPTION
IS 'Auflistung von Entitäten, welche vom sDDL.bootstrap verwaltet werden';

CREATE DOMAIN DN_ENTITY_TYPE
AS SMALLINT;

COMMENT ON DOMAIN DN_ENTITY_TYPE
IS 'Entitätentyp';

CREATE DOMAIN DN_SQLCLASS
AS VARCHAR(2);

COMMENT ON DOMAIN DN_SQLCLASS 
IS 'SQL Klasse (http://www.firebirdsql.org/rlsnotesh/rlsnotes25.html#d0e23524)';

CREATE DOMAIN DN_SQLSTATE
AS VARCHAR(5);

COMMENT ON DOMAIN DN_SQLSTATE 
IS 'SQL Statuscode (http://www.firebirdsql.org/rlsnotesh/rlsnotes25.html#d0e23524)';

CREATE DOMAIN DN_SDDL_COMMAND
AS VARCHAR(254)
NOT NULL;

COMMENT ON DOMAIN DN_SDDL_COMMAND
IS 'Kommando für die Codegenerierung';

CREATE DOMAIN DN_DB_COMMENT
AS VARCHAR(4000);

COMMENT ON DOMAIN DN_DB_COMMENT
IS 'DB-Objekt Kommentar als Varchar';

CREATE DOMAIN DN_MESSAGE
AS VARCHAR(4000);

COMMENT ON DOMAIN DN_MESSAGE
IS 'Information';

CREATE DOMAIN DN_DIMENSION
AS INTEGER;

COMMENT ON DOMAIN DN_DIMENSION
IS 'Länge, Breite, Höhe, etc.';

CREATE DOMAIN DN_PREFIX
AS VARCHAR(3);

COMMENT ON DOMAIN DN_PREFIX
IS 'Prefix (3 Zeichen)';

CREATE DOMAIN DN_PREFIX_EXT
AS VARCHAR(64);

COMMENT ON DOMAIN DN_PREFIX_EXT
IS 'Prefix (64 Zeichen)';

CREATE DOMAIN DN_CAPTION
AS VARCHAR(64);

COMMENT ON DOMAIN DN_CAPTION
IS 'Bezeichnung';

CREATE DOMAIN DN_COMMENT
AS VARCHAR(4000);

COMMENT ON DOMAIN DN_COMMENT
IS 'Kommentar';

CREATE DOMAIN DN_COUNT
AS INTEGER;

COMMENT ON DOMAIN DN_COUNT
IS 'Einfacher Typ für Zähler';

CREATE DOMAIN DN_INDEX
AS INTEGER;

COMMENT ON DOMAIN DN_INDEX
IS 'Einfacher Index für Position, etc.';

CREATE DOMAIN DN_COLUMNLIST_SEPARATOR
AS VARCHAR(1)
DEFAULT ','
CHECK (VALUE IN (',', ';'));

COMMENT ON DOMAIN DN_COLUMNLIST_SEPARATOR
IS 'Spaltenlisten-Separator';
            
/* DN_COLUMNLIST birgt die Gefahr das die Dimension zu klein ist */            
CREATE DOMAIN DN_COLUMNLIST
AS VARCHAR(4000);

COMMENT ON DOMAIN DN_COLUMNLIST
IS 'für einfache Spaltenlisten, Dimension beachten';

/* DN_SQL_STMT birgt die Gefahr das die Dimension zu klein ist */
CREATE DOMAIN DN_SQL_STMT
AS VARCHAR(6000);

COMMENT ON DOMAIN DN_SQL_STMT
IS 'für einfache SQL Statements, Dimension beachten';

CREATE DOMAIN DN_BOOLEAN
AS BOOLEAN
DEFAULT 
FALSE;

COMMENT ON DOMAIN DN_BOOLEAN
IS 'Belegt Boolean immer mit FALSE vor';

CREATE DOMAIN DN_DB_OBJECT
AS VARCHAR(31);

COMMENT ON DOMAIN DN_DB_OBJECT
IS 'Für DB Objecte';

CREATE DOMAIN DN_DB_OBJECT_EXT
AS VARCHAR(63);

COMMENT ON DOMAIN DN_DB_OBJECT_EXT
IS 'Für SPs plus Packagesname';

CREATE DOMAIN DN_IDENTIFICATION
AS BIGINT
NOT NULL;

COMMENT ON DOMAIN DN_IDENTIFICATION
IS 'Identification einer Tabelle, Mandatory für IDs von Tabellen';
        
CREATE DOMAIN DN_FILENAME_SHORT 
AS VARCHAR(255);

COMMENT ON DOMAIN DN_FILENAME_SHORT
IS 'Dateiname ohne Pfad';

/* DN_FILENAME Birgt die Gefahr das die Dimension zu klein ist */
CREATE DOMAIN DN_FILENAME 
AS VARCHAR(4000);

COMMENT ON DOMAIN DN_FILENAME
IS 'Dateiname mit Pfad, Dimension beachten';        
        
CREATE DOMAIN DN_DESCRIPTION 
AS VARCHAR(4000);

COMMENT ON DOMAIN DN_DESCRIPTION
IS 'Beschreibung als String';        

CREATE DOMAIN DN_DESC_BLOB
AS BLOB SUB_TYPE TEXT;

COMMENT ON DOMAIN DN_DESC_BLOB
IS 'Beschreibung als Blob';

CREATE DOMAIN DN_CURRENT_USER 
AS VARCHAR(31)
DEFAULT CURRENT_USER
NOT NULL;

COMMENT ON DOMAIN DN_CURRENT_USER
IS 'Aktuller Benutzer, per Default am besten mit "current_user" vorbelegen';        

CREATE DOMAIN DN_CURRENT_TIMESTAMP 
AS TIMESTAMP
DEFAULT CURRENT_TIMESTAMP
NOT NULL;

COMMENT ON DOMAIN DN_CURRENT_TIMESTAMP
IS 'Aktuelle Zeit und Datum';        

CREATE DOMAIN DN_FIREBIRD_USER 
AS VARCHAR(31);

COMMENT ON DOMAIN DN_FIREBIRD_USER
IS 'Firebird Benutzername, im Idealfall ein logischer Benutzer';        

CREATE DOMAIN DN_TIMESTAMP 
AS TIMESTAMP;

COMMENT ON DOMAIN DN_TIMESTAMP
IS 'Zeit und Datum';

CREATE DOMAIN DN_FLOAT AS
FLOAT;

COMMENT ON DOMAIN DN_FLOAT
IS 'Float';

CREATE DOMAIN DN_INTEGER AS
INTEGER;

COMMENT ON DOMAIN DN_INTEGER 
IS 'Integer';

CREATE DOMAIN DN_STRING AS
VARCHAR(4000);

COMMENT ON DOMAIN DN_STRING 
IS 'String, Dimension beachten';
        
CREATE DOMAIN DN_STRING_SHORT AS
VARCHAR(254);

COMMENT ON DOMAIN DN_STRING_SHORT 
IS 'String, Dimension beachten';

CREATE DOMAIN DN_DEBUG_ITEM
AS VARCHAR(4000)
DEFAULT 'keine Information'
NOT NULL;

COMMENT ON DOMAIN DN_DEBUG_ITEM
IS 'Debug-Info';  

CREATE DOMAIN DN_SQL_BLOB
AS BLOB SUB_TYPE TEXT;

COMMENT ON DOMAIN DN_SQL_BLOB
IS 'Umfangreiche SQL-Statements'; 

CREATE DOMAIN DN_SQL_IDENT
AS VARCHAR(64)
DEFAULT 'DEFAULT';

COMMENT ON DOMAIN DN_SQL_IDENT
IS 'Identifizierung für ein Script'; 


/* Domains für TB_HISTORY_UPDATE -----------------------------------------------------------------*/

CREATE DOMAIN DN_MAJOR_NO
AS INTEGER
DEFAULT 0
NOT NULL;

COMMENT ON DOMAIN DN_MAJOR_NO
IS 'Hauptnummer';        

CREATE DOMAIN DN_MINOR_NO
AS INTEGER
DEFAULT 0
NOT NULL;

COMMENT ON DOMAIN DN_MINOR_NO
IS 'Unternummer';

CREATE DOMAIN DN_WARN_LEVEL
AS INTEGER
DEFAULT 0
NOT NULL
CHECK (VALUE IN (0, 1, 2, 3));

COMMENT ON DOMAIN DN_WARN_LEVEL
IS 'Warnlevel: 0=Unknown / 1=Exception / 2=Warning / 3=Info';

/* Domains für TB_SETTINGS -----------------------------------------------------------------------*/

CREATE DOMAIN DN_CATEGORY AS
VARCHAR(128) CHARACTER SET WIN1252;

COMMENT ON DOMAIN DN_CATEGORY
IS 'Kategorie, z.B. Projektname';

CREATE DOMAIN DN_CATEGORY_IDENT AS
VARCHAR(128) CHARACTER SET WIN1252;

COMMENT ON DOMAIN DN_CATEGORY_IDENT
IS 'Ident, vergleichbar mit dem Ident einer Ini-Datei';

CREATE DOMAIN DN_CATEGORY_SECTION AS
VARCHAR(128) CHARACTER SET WIN1252;

COMMENT ON DOMAIN DN_CATEGORY_SECTION
IS 'Section, vergleichbar mit der Section einer Ini-Datei';

CREATE DOMAIN DN_CATEGORY_STRING_VALUE AS
VARCHAR(4069) CHARACTER SET WIN1252;
        
COMMENT ON DOMAIN DN_CATEGORY_STRING_VALUE
IS 'Value, vergleichbar mit dem Value einer Ini-Datei, Dimension beachten';
        
COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.common.package.header.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Common-Procedures and -Functions werden angelegt
/*   - Package-Header        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-26
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
                                                
/* SPs */
SET TERM ^ ;
CREATE OR ALTER PACKAGE PKG_COMMON
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_GET_CURRENT_USER
  RETURNS (
    WRAPPED_USER_NAME DN_DB_OBJECT);
    
  /*----------------------------------------------------------------------------------------------*/  
  FUNCTION SF_GET_CURRENT_USER(
    )
  RETURNS DN_DB_OBJECT;      
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SUSPEND_MESSAGE(
    AInfo DN_MESSAGE)
  RETURNS (
    INFO DN_MESSAGE);
    
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE(
   AEntity DN_DB_OBJECT DEFAULT 'ALL')
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION);  
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.common.package.body.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Common-Procedures and -Functions werden angelegt
/*   - Package-Body        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-26
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

/* SPs */
SET TERM ^ ;
RECREATE PACKAGE BODY PKG_COMMON
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_GET_CURRENT_USER
  RETURNS (
    WRAPPED_USER_NAME DN_DB_OBJECT)
  AS
  begin
    WRAPPED_USER_NAME = current_user;
    
    suspend;
    
    when any do
    begin
      WRAPPED_USER_NAME = current_user;
      
      suspend;
    end
  end
  
  /*----------------------------------------------------------------------------------------------*/
  FUNCTION SF_GET_CURRENT_USER(
    )
  RETURNS DN_DB_OBJECT
  AS
  declare wrapped_user_name DN_DB_OBJECT;
  begin
    select WRAPPED_USER_NAME
    from PKG_COMMON.SP_GET_CURRENT_USER
    into :wrapped_user_name;
    
    RETURN wrapped_user_name;
  end
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_SUSPEND_MESSAGE(
    AInfo DN_MESSAGE)
  RETURNS (
    INFO DN_MESSAGE)
  AS
  begin
    INFO = Trim(AInfo);
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY_GRANTS(
    AEntity DN_DB_OBJECT,
    AEntityType DN_ENTITY_TYPE_CAPTION)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE_CAPTION; 
   declare field_id DN_INDEX;     
   begin
     entity_type = AEntityType;     
     entity = AEntity;
     
     RECORD_TYPE = 7;
     RECORD_TYPE_CAPTION = 'GRANTS';
     CAPTION1 = '---';
     CAPTION2 = '---';
     CAPTION3 = '---';     

     info = 'Grants ermitteln';
     for
     select distinct RDB$USER, RDB$GRANTOR, RDB$PRIVILEGE
     from RDB$USER_PRIVILEGES
     where RDB$RELATION_NAME=:entity    
     into :CAPTION1, :CAPTION2, :CAPTION3
     do
       suspend;
       
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;               
     end   
   end  
  
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY_DEPENDENCIES(
    AEntity DN_DB_OBJECT,
    AEntityType DN_ENTITY_TYPE_CAPTION)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE_CAPTION; 
   declare field_id DN_INDEX;     
   begin
     entity_type = AEntityType;     
     entity = AEntity;
     
     RECORD_TYPE = 6;
     RECORD_TYPE_CAPTION = 'DEPENDENCIES';
     CAPTION1 = '---';
     CAPTION2 = '---';
     CAPTION3 = '---';     

     info = 'Dependencies ermitteln';
     for
     select distinct RDB$DEPENDENT_NAME, RDB$FIELD_NAME, RDB$PACKAGE_NAME
     from RDB$DEPENDENCIES
     where RDB$DEPENDED_ON_NAME=:entity    
     into :CAPTION1, :CAPTION2, :CAPTION3
     do
       suspend;
       
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;               
     end   
   end  

  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY_TRIGGERS(
    AEntity DN_DB_OBJECT,
    AEntityType DN_ENTITY_TYPE_CAPTION)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE_CAPTION; 
   declare field_id DN_INDEX;     
   begin
     entity_type = AEntityType;     
     entity = AEntity;
     
     RECORD_TYPE = 5;
     RECORD_TYPE_CAPTION = 'TRIGGER';
     CAPTION1 = '---';
     CAPTION2 = '---';
     CAPTION3 = '---';     

     info = 'Trigger ermitteln';
     for
     select distinct RDB$TRIGGER_NAME
     from RDB$TRIGGERS
     where RDB$RELATION_NAME=:entity
     and RDB$SYSTEM_FLAG=0     
     into :CAPTION1
     do
       suspend;
       
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;               
     end   
   end
   
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY_INDICES(
    AEntity DN_DB_OBJECT,
    AEntityType DN_ENTITY_TYPE_CAPTION)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE_CAPTION; 
   declare field_id DN_INDEX;  
   begin
     entity_type = AEntityType;     
     entity = AEntity;
     
     RECORD_TYPE = 4;
     RECORD_TYPE_CAPTION = 'INDICES';
     CAPTION1 = '---';
     CAPTION2 = '---';
     CAPTION3 = '---';     

     info = 'Indices ermitteln';
     for
     select distinct RDB$INDEX_NAME, RDB$FOREIGN_KEY
     from RDB$INDICES
     where RDB$RELATION_NAME=:entity
     and RDB$SYSTEM_FLAG=0
     into :CAPTION1, :CAPTION2
     do
       suspend;
       
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;               
     end
   end   
   
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY_CONSTRAINTS(
    AEntity DN_DB_OBJECT,
    AEntityType DN_ENTITY_TYPE_CAPTION)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE_CAPTION; 
   declare field_id DN_INDEX;  
   begin
     entity_type = AEntityType;     
     entity = AEntity;
     
     RECORD_TYPE = 3;
     RECORD_TYPE_CAPTION = 'CONSTRAINTS';
     CAPTION1 = '---';
     CAPTION2 = '---';
     CAPTION3 = '---';     

     info = 'Constraints ermitteln';
     for
     select distinct RDB$CONSTRAINT_NAME, RDB$INDEX_NAME
     from RDB$RELATION_CONSTRAINTS
     where RDB$RELATION_NAME=:entity
     into :CAPTION1, :CAPTION2
     do
       suspend;
       
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;               
     end
   end   
  
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY_FIELDS(
    AEntity DN_DB_OBJECT,
    AEntityType DN_ENTITY_TYPE_CAPTION)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE_CAPTION; 
   declare field_id DN_INDEX;  
   begin
     entity_type = AEntityType;     
     entity = AEntity;
     
     RECORD_TYPE = 2;
     RECORD_TYPE_CAPTION = 'FIELDS';
     CAPTION1 = '---';
     CAPTION2 = '---';
     CAPTION3 = '---';     

     info = 'Felder ermitteln';
     for
     select distinct RDB$FIELD_NAME, RDB$FIELD_SOURCE, RDB$BASE_FIELD, RDB$FIELD_ID
     from RDB$RELATION_FIELDS
     where RDB$RELATION_NAME=:entity
     and RDB$SYSTEM_FLAG=0
     order by RDB$FIELD_POSITION
     into :CAPTION1, :CAPTION2, :CAPTION3, field_id
     do
       suspend;
       
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;               
     end
   end
  
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE_ENTITY(
    AEntity DN_DB_OBJECT,
    ADoSeperator DN_BOOLEAN DEFAULT False)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare info DN_CAPTION;
   declare entity DN_DB_OBJECT;
   declare entity_type DN_ENTITY_TYPE;
   declare entity_type_caption DN_ENTITY_TYPE_CAPTION;   
   begin
     info = 'Start';
     entity_type = null;
     
     entity = Upper(Trim(AEntity));
     entity_type_caption = 'UNKNOWN';

     RECORD_TYPE = 0;
     RECORD_TYPE_CAPTION = 'UNKNOWN';
     
     if (ADoSeperator = True) then
     begin
       CAPTION1 = '---';
       CAPTION2 = '---';
       CAPTION3 = '---';
       
       suspend;
     end
     
     CAPTION1 = entity_type_caption;
     CAPTION2 = entity;
     CAPTION3 = '---';
    
     info = 'Auf EntitÃ¤ten-Type prÃ¼fen';  
     for       
     select distinct RDB$RELATION_TYPE
     from RDB$RELATIONS  
     where RDB$SYSTEM_FLAG = 0 
     and Upper(Trim(RDB$RELATION_NAME)) = :entity   
     into :entity_type
     do
       break;
     
     if (entity_type is not null) then
       entity_type_caption = 
         case entity_type
           when 0 then 'TABLE'
           when 1 then 'VIEW'
           when 5 then 'GTT'
         else 'UNKNOWN'
         end;   
         
     if (entity_type_caption = 'UNKNOWN') then
     begin
       CAPTION3 = 'EntitÃ¤t "' || :entity || '" ist keine Tabelle, GTT oder View';
       
       suspend;
       exit;
     end
     else
     begin
       RECORD_TYPE = 1;
       RECORD_TYPE_CAPTION = 'HEADER';
       CAPTION1 = '[' || :entity || ']';
       CAPTION2 = '[' || :entity_type_caption || ']';
       CAPTION3 = '---';  
       
       suspend;   
     
       RECORD_TYPE = 1;
       RECORD_TYPE_CAPTION = 'HEADER';
       CAPTION1 = '[FIELD_NAME]';
       CAPTION2 = '[FIELD_TYPE]';
       CAPTION3 = '[BASE_FIELD]';

       suspend;
     
       for
       select RECORD_TYPE, RECORD_TYPE_CAPTION, CAPTION1, CAPTION2, CAPTION3
       from SP_DESCRIBE_ENTITY_FIELDS (:entity, :entity_type_caption)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;
       
       RECORD_TYPE = 1;  
       RECORD_TYPE_CAPTION = 'HEADER';  
       CAPTION1 = '[CONSTRAINT_NAME]';
       CAPTION2 = '[INDEX_NAME]';       
       CAPTION3 = '---';

       suspend;
     
       for
       select RECORD_TYPE, RECORD_TYPE_CAPTION, CAPTION1, CAPTION2, CAPTION3
       from SP_DESCRIBE_ENTITY_CONSTRAINTS (:entity, :entity_type_caption)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;
         
       RECORD_TYPE = 1;  
       RECORD_TYPE_CAPTION = 'HEADER';  
       CAPTION1 = '[INDEX_NAME]';
       CAPTION2 = '[FOREIGN_KEY]';       
       CAPTION3 = '---';

       suspend;
     
       for
       select RECORD_TYPE, RECORD_TYPE_CAPTION, CAPTION1, CAPTION2, CAPTION3
       from SP_DESCRIBE_ENTITY_INDICES (:entity, :entity_type_caption)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;
         
       RECORD_TYPE = 1;
       RECORD_TYPE_CAPTION = 'HEADER';  
       CAPTION1 = '[TRIGGER_NAME]';
       CAPTION2 = '---';                
       CAPTION3 = '---';

       suspend;
     
       for
       select RECORD_TYPE, RECORD_TYPE_CAPTION, CAPTION1, CAPTION2, CAPTION3
       from SP_DESCRIBE_ENTITY_TRIGGERS (:entity, :entity_type_caption)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;
       
       RECORD_TYPE = 1;
       RECORD_TYPE_CAPTION = 'HEADER';  
       CAPTION1 = '[DEPENDENT_NAME]';
       CAPTION2 = '[FIELD_NAME]';                
       CAPTION3 = '[PACKAGE_NAME]';
         
       suspend;  
         
       for
       select RECORD_TYPE, RECORD_TYPE_CAPTION, CAPTION1, CAPTION2, CAPTION3
       from SP_DESCRIBE_ENTITY_DEPENDENCIES (:entity, :entity_type_caption)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;         
                 
       RECORD_TYPE = 1;          
       RECORD_TYPE_CAPTION = 'HEADER';  
       CAPTION1 = '[USER_NAME]';
       CAPTION2 = '[GRANTOR_NAME]';                
       CAPTION3 = '[PRIVILEGE]';
         
       suspend;  
         
       for
       select RECORD_TYPE, RECORD_TYPE_CAPTION, CAPTION1, CAPTION2, CAPTION3
       from SP_DESCRIBE_ENTITY_GRANTS (:entity, :entity_type_caption)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;         
             
     end              
     
     when any do
     begin
       CAPTION1 = 'ERROR';
       CAPTION2 = SQLSTATE;
       CAPTION3 = info;
       
       suspend;          
     end   
   end  
   
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_DESCRIBE(
    AEntity DN_DB_OBJECT)
  RETURNS (
    RECORD_TYPE DN_DESCRIBE_RECORD_TYPE,
    RECORD_TYPE_CAPTION DN_DESCRIBE_RECORD_CAPTION,
    CAPTION1 DN_CAPTION,
    CAPTION2 DN_CAPTION,
    CAPTION3 DN_CAPTION)
   AS
   declare entity DN_DB_OBJECT;
   begin
     if (AEntity is distinct from 'ALL') then
     begin
       for
       select *
       from SP_DESCRIBE_ENTITY (:AEntity)
       into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
       do
         suspend;
     end  
     else
     begin
       for
       select distinct rn.RDB$RELATION_NAME
       from RDB$RELATIONS rn, RDB$TYPES t
       where rn.RDB$SYSTEM_FLAG = 0
       and rn.RDB$RELATION_TYPE=t.RDB$TYPE
       and ((t.RDB$TYPE_NAME='RELATION') or
            (t.RDB$TYPE_NAME='VIEW') or
            (t.RDB$TYPE_NAME='GLOBAL_TEMPORARY_DELETE') or
            (t.RDB$TYPE_NAME='GLOBAL_TEMPORARY_PRESERVE'))
       into :entity
       do
       begin
         for
         select *
         from SP_DESCRIBE_ENTITY (:entity, True)
         into :RECORD_TYPE, :RECORD_TYPE_CAPTION, :CAPTION1, :CAPTION2, :CAPTION3
         do
           suspend;
       end     
     end
   end     
end^
SET TERM ; ^
/*------------------------------------------------------------------------------------------------*/

COMMENT ON PROCEDURE PKG_COMMON.SP_GET_CURRENT_USER
IS 'Wrapper SP fÃ¼r den CURRENT_USER';

COMMENT ON PROCEDURE PKG_COMMON.SP_SUSPEND_MESSAGE
IS 'Einfach Routine um einen String auszugeben';

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.setting.model.create.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es wird das Model für Settings angelegt       
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/* ---------------------------------------------------------------------------------------------- */
CREATE GLOBAL TEMPORARY TABLE TBT_SETTING (
  ID DN_IDENTIFICATION generated by default as identity primary key,
  CATEGORY_NAME DN_CATEGORY NOT NULL,
  SECTION_NAME  DN_CATEGORY_SECTION NOT NULL,
  IDENT         DN_CATEGORY_IDENT NOT NULL,
  STRING_VALUE  DN_CATEGORY_STRING_VALUE NOT NULL
)
on commit delete rows;

COMMENT ON TABLE TBT_SETTING 
IS 'Temporäre Datenbank INI-Datei';

COMMENT ON COLUMN TBT_SETTING.ID
IS 'Primärschlüssel';

COMMENT ON COLUMN TBT_SETTING.CATEGORY_NAME
IS 'Kategorie (vergleichbar mit dem Namen einer Ini-Datei oder einem Registry-Schlüssel)';

COMMENT ON COLUMN TBT_SETTING.SECTION_NAME
IS 'Section (vergleichbar mit einer Ini-Datei)';

COMMENT ON COLUMN TBT_SETTING.IDENT
IS 'Ident (vergleichbar mit einer Ini-Datei)';

COMMENT ON COLUMN TBT_SETTING.STRING_VALUE
IS 'Value (vergleichbar mit einer Ini-Datei)';

/*
  ## Problem mit der Schlüsselgröße
    * s. http://www.firebirdfaq.org/faq211/
    * s. http://www.firebirdfaq.org/ip_ib_indexcalculator.htm
*/
         
ALTER TABLE TBT_SETTING ADD CONSTRAINT UNQ_TBT_SETTING UNIQUE (CATEGORY_NAME, SECTION_NAME, IDENT);

COMMIT WORK;
/* ---------------------------------------------------------------------------------------------- */

CREATE VIEW VW_T_SETTING (
  ID,
  CATEGORY_NAME,
  SECTION_NAME,
  IDENT,
  STRING_VALUE)
AS
select
  ID,
  CATEGORY_NAME,
  SECTION_NAME,
  IDENT,
  STRING_VALUE
from
  TBT_SETTING;

COMMENT ON VIEW VW_T_SETTING 
IS 'Temporäre Standard Update-View für die Tabelle TBT_SETTING';

COMMIT WORK;
/* ---------------------------------------------------------------------------------------------- */

CREATE TABLE TB_SETTING (
  ID DN_IDENTIFICATION generated by default as identity primary key,
  CATEGORY_NAME DN_CATEGORY NOT NULL,
  SECTION_NAME  DN_CATEGORY_SECTION NOT NULL,
  IDENT         DN_CATEGORY_IDENT NOT NULL,
  STRING_VALUE  DN_CATEGORY_STRING_VALUE NOT NULL
);

COMMENT ON TABLE TB_SETTING 
IS 'Datenbank INI-Datei';

COMMENT ON COLUMN TBT_SETTING.ID
IS 'Primärschlüssel';

COMMENT ON COLUMN TBT_SETTING.CATEGORY_NAME
IS 'Kategorie (vergleichbar mit dem Namen einer Ini-Datei oder einem Registry-Schlüssel)';

COMMENT ON COLUMN TB_SETTING.SECTION_NAME
IS 'Section (vergleichbar mit einer Ini-Datei)';

COMMENT ON COLUMN TB_SETTING.IDENT
IS 'Ident (vergleichbar mit einer Ini-Datei)';

COMMENT ON COLUMN TB_SETTING.STRING_VALUE
IS 'Value (vergleichbar mit einer Ini-Datei)';

/*
  ## Problem mit der Schlüsselgröße
    * s. http://www.firebirdfaq.org/faq211/
    * s. http://www.firebirdfaq.org/ip_ib_indexcalculator.htm
*/
         
ALTER TABLE TB_SETTING ADD CONSTRAINT UNQ_TB_SETTING UNIQUE (CATEGORY_NAME, SECTION_NAME, IDENT);

COMMIT WORK;
/* ---------------------------------------------------------------------------------------------- */

CREATE VIEW VW_SETTING (
  ID,
  CATEGORY_NAME,
  SECTION_NAME,
  IDENT,
  STRING_VALUE)
AS
select
  ID,
  CATEGORY_NAME,
  SECTION_NAME,
  IDENT,
  STRING_VALUE
from
  TB_SETTING;

COMMENT ON VIEW VW_SETTING 
IS 'Standard Update-View für die Tabelle TB_SETTING';

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.setting.model.data.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-05                                                    
/* Description: Daten fÃ¼r das StyleGuide-Model    
/*                                                                               
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-03-05
/*          Script erstellen
/*          ---
/*          Der Custom-User fÃ¼r das Bootstrap kann hier frei gewÃ¤hlt werden
/*   
/*------------------------------------------------------------------------------------------------*/

/* WarnLevel festlegen ---------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK
RETURNS (
  SQL_STATE DN_SQLSTATE,
  SUCCESS DN_BOOLEAN)
AS
declare variable warn_level DN_WARN_LEVEL;
begin
  SQL_STATE = '00000';
  SUCCESS = False;

  warn_level = 3;
  
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'HISTORY',
    'LOG',
    'WARN_LEVEL',
    cast(:warn_level as varchar(1))
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);
  
  SUCCESS = True;
  
  suspend;
  
  when any do
  begin
    SQL_STATE = SQLSTATE;
    SUCCESS = False;
  
    suspend;
  end
END^        
SET TERM ; ^

COMMIT WORK;
/* Debug-Status festlegen ------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK
RETURNS (
  SQL_STATE DN_SQLSTATE,
  SUCCESS DN_BOOLEAN)
AS
declare variable state_as_bool DN_BOOLEAN;
begin
  SQL_STATE = '00000';
  SUCCESS = False;

  state_as_bool = True;     
             
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'HISTORY',
    'DEBUG',
    'ACTIVE',
    cast(:state_as_bool as varchar(5))
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);
  
  SUCCESS = True;
  
  suspend;
  
  when any do
  begin
    SQL_STATE = SQLSTATE;
    SUCCESS = False;
  
    suspend;
  end
END^        
SET TERM ; ^

COMMIT WORK;
/* Custom-User/-Roles fÃ¼r das Bootstrap definieren -----------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK
RETURNS (
  SQL_STATE DN_SQLSTATE,
  SUCCESS DN_BOOLEAN)
AS
declare custom_prefix DN_STRING;
declare user_name DN_FIREBIRD_USER;
declare project_role_all DN_DB_OBJECT;
declare project_role_public DN_DB_OBJECT;
declare project_role_delete DN_DB_OBJECT;
begin
  SQL_STATE = '00000';
  SUCCESS = False;
  
  -- Custom-Prefix kann beliebig gewÃ¤hlt werden
  -- Custom-Prefix wird zum Prefix vom SDDL-User und SDDL-Rollen
  -- Custom-Prefix wird zum Firstname in den SDDL-User Informationen
  -- Custom-Prefix plus User- bzw. Rollen-Suffix dÃ¼rfen nicht lÃ¤nger als 31 Zeichen sein
  custom_prefix = 'Custom'; 

  -- User-Prefix sollte Custom-Prefix sein, User-Suffix sollte nicht geÃ¤ndert werden
  user_name = Trim(custom_prefix) || '_' || 'USER';

  -- Rollen-Prefix sollte Custom-Prefix sein, Rollen-Suffix sollte nicht geÃ¤ndert werden
  -- :!<--     
  project_role_all = Trim(custom_prefix) || '_' || 'ALL';
  project_role_public = Trim(custom_prefix) || '_' || 'PUBLIC';
  project_role_delete = Trim(custom_prefix) || '_' || 'DELETE';
  -- -->
                   
  /*----------------------------------------------------------------------------------------------*/             
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'CUSTOM',
    'SDDL',
    'CUSTOM.PREFIX',
    :custom_prefix
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);             
             
  /*----------------------------------------------------------------------------------------------*/             
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'CUSTOM',
    'SDDL',
    'USER.NAME',
    Upper(:user_name)
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);

  /*----------------------------------------------------------------------------------------------*/  
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'CUSTOM',
    'SDDL',
    'ROLE.ALL',
    Upper(:project_role_all)
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);    

  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'CUSTOM',
    'SDDL',
    'ROLE.PUBLIC',
    Upper(:project_role_public)
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);
  
  /*----------------------------------------------------------------------------------------------*/  
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'CUSTOM',
    'SDDL',
    'ROLE.DELETE',
    Upper(:project_role_delete)
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);  
  
  SUCCESS = True;
  
  suspend;
  
  when any do
  begin
    SQL_STATE = SQLSTATE;
    SUCCESS = False;
  
    suspend;
  end  
END^        
SET TERM ; ^
/* Festlegen ob Sequencen beim Recursive-Drop gelÃ¶scht werden sollen -----------------------------*/

SET TERM ^ ;
EXECUTE BLOCK
RETURNS (
  SQL_STATE DN_SQLSTATE,
  SUCCESS DN_BOOLEAN)
AS
declare do_drop DN_BOOLEAN;
begin
  SQL_STATE = '00000';
  SUCCESS = False;

  do_drop = True;
             
  update or insert
  into VW_SETTING
  (
    CATEGORY_NAME, 
    SECTION_NAME, 
    IDENT, 
    STRING_VALUE
  )
  values
  (
    'CUSTOM',
    'SDDL',
    'DROP.RECURSIVE.SEQUENCE',
    :do_drop
  )
  matching (CATEGORY_NAME, SECTION_NAME, IDENT);
  
  SUCCESS = True;
  
  suspend;
  
  when any do
  begin
    SQL_STATE = SQLSTATE;
    SUCCESS = False;
  
    suspend;
  end                              
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/                                         
/* ---- from bootstrap/sddl/sddl.bootstrap.setting.package.header.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es wird der Package-Header für Settings angelegt        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/* ---------------------------------------------------------------------------------------------- */

SET TERM ^ ;
CREATE OR ALTER PACKAGE PKG_SETTINGS
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DELETE_BY_IDENT (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AUseTemp DN_BOOLEAN DEFAULT False);
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DELETE_BY_SECTION (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AUseTemp DN_BOOLEAN DEFAULT False);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_READ_FLOAT (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_FLOAT,
    AUseTemp DN_BOOLEAN DEFAULT False) 
    RETURNS (
      RESULT_VALUE DN_FLOAT);   
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_READ_INTEGER (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_INTEGER,
    AUseTemp DN_BOOLEAN DEFAULT False)
  RETURNS (
      RESULT_VALUE DN_INTEGER);      
      
  /*----------------------------------------------------------------------------------------------*/      
  PROCEDURE SP_READ_BOOLEAN (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_BOOLEAN,
    AUseTemp DN_BOOLEAN DEFAULT False)
  RETURNS (
      RESULT_VALUE DN_BOOLEAN);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_READ_SECTION (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AUseTemp DN_BOOLEAN DEFAULT False)  
    RETURNS (
      IDENT DN_CATEGORY_IDENT,
      STRING_VALUE DN_STRING);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_READ_SECTION_VALUES (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT, 
    AUseTemp DN_BOOLEAN DEFAULT False)  
    RETURNS (
      STRING_VALUE DN_STRING);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_READ_SECTIONS (
    ACategoryName DN_CATEGORY,
    AUseTemp DN_BOOLEAN DEFAULT False)
    RETURNS (
      SECTION_NAME DN_CATEGORY_SECTION);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_READ_STRING (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_STRING,
    AUseTemp DN_BOOLEAN DEFAULT False)   
    RETURNS (
       RESULT_VALUE DN_STRING);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_WRITE_FLOAT (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AFloat DN_FLOAT,
    AUseTemp DN_BOOLEAN DEFAULT False);
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_WRITE_INTEGER (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AInteger DN_INTEGER,
    AUseTemp DN_BOOLEAN DEFAULT False);
    
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_WRITE_BOOLEAN (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ABoolean DN_BOOLEAN,
    AUseTemp DN_BOOLEAN DEFAULT False);    
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_WRITE_STRING (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AString DN_STRING,
    AUseTemp DN_BOOLEAN DEFAULT False);  
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.setting.package.body.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es wird der Package-Body für Settings angelegt        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/* ---------------------------------------------------------------------------------------------- */

SET TERM ^ ;
RECREATE PACKAGE BODY PKG_SETTINGS
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DELETE_BY_IDENT (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AUseTemp DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
      delete from VW_T_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName
      and ident = :AIdent;  
    else
      delete from VW_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName
      and ident = :AIdent;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_DELETE_BY_SECTION (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AUseTemp DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
      delete from VW_T_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName;  
    else
      delete from VW_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_FLOAT (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_FLOAT,
    AUseTemp DN_BOOLEAN)
  RETURNS (
      RESULT_VALUE DN_FLOAT)
  AS
  begin
    if (AUseTemp = True) then  
    begin
      if (exists(select 1 from VW_T_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select cast(STRING_VALUE as DN_FLOAT)
        from VW_T_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;  
    end
    else
    begin
      if (exists(select 1 from VW_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select cast(STRING_VALUE as DN_FLOAT)
        from VW_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;
    end
  
    suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_INTEGER (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_INTEGER,
    AUseTemp DN_BOOLEAN)
  RETURNS (
      RESULT_VALUE DN_INTEGER)
  AS
  begin
    if (AUseTemp = True) then  
    begin
      if (exists(select 1 from VW_T_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select cast(STRING_VALUE as integer)
        from VW_T_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;  
    end
    else
    begin
      if (exists(select 1 from VW_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select cast(STRING_VALUE as integer)
        from VW_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;
    end  
  
    suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_BOOLEAN (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_BOOLEAN,
    AUseTemp DN_BOOLEAN)
  RETURNS (
      RESULT_VALUE DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
    begin
      if (exists(select 1 from VW_T_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select cast(STRING_VALUE as DN_BOOLEAN)
        from VW_T_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;  
    end
    else
    begin
      if (exists(select 1 from VW_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select cast(STRING_VALUE as DN_BOOLEAN)
        from VW_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;
    end  
  
    suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_SECTION (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AUseTemp DN_BOOLEAN)
  RETURNS (
      IDENT DN_CATEGORY_IDENT,
      STRING_VALUE DN_STRING)
  AS
  begin
    if (AUseTemp = True) then  
      for 
      select IDENT, STRING_VALUE
      from VW_T_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName
      into :IDENT, :STRING_VALUE
      do
        suspend;
    else
      for 
      select IDENT, STRING_VALUE
      from VW_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName
      into :IDENT, :STRING_VALUE
      do
        suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_SECTION_VALUES (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT, 
    AUseTemp DN_BOOLEAN)
  RETURNS (
      STRING_VALUE DN_STRING)
  AS
  begin
    if (AUseTemp = True) then  
      for 
      select STRING_VALUE
      from VW_T_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName
      and IDENT = :AIdent
      into :STRING_VALUE
      do
        suspend;
    else
      for 
      select STRING_VALUE
      from VW_SETTING
      where CATEGORY_NAME = :ACategoryName
      and SECTION_NAME = :ASectionName
      and IDENT = :AIdent
      into :STRING_VALUE
      do
        suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_SECTIONS (
    ACategoryName DN_CATEGORY,
    AUseTemp DN_BOOLEAN)
  RETURNS (
      SECTION_NAME DN_CATEGORY_SECTION)
  AS
  begin
    if (AUseTemp = True) then
      for 
      select distinct SECTION_NAME
      from VW_T_SETTING
      where CATEGORY_NAME = :ACategoryName
      into :SECTION_NAME
      do
        suspend;    
    else
      for 
      select distinct SECTION_NAME
      from VW_SETTING
      where CATEGORY_NAME = :ACategoryName
      into :SECTION_NAME
      do
        suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_READ_STRING (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ADefault DN_STRING,
    AUseTemp DN_BOOLEAN)
  RETURNS (
      RESULT_VALUE DN_STRING)
  AS
  begin
    if (AUseTemp = True) then  
    begin
      if (exists(select 1 from VW_T_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select STRING_VALUE
        from VW_T_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;  
    end                   
    else
    begin
      if (exists(select 1 from VW_SETTING
                 where CATEGORY_NAME = :ACategoryName
                 and SECTION_NAME = :ASectionName
                 and IDENT = :AIdent))
      then
      begin
        select STRING_VALUE
        from VW_SETTING
        where CATEGORY_NAME = :ACategoryName
        and SECTION_NAME = :ASectionName
        and IDENT = :AIdent
        into :RESULT_VALUE;
      end
      else
        RESULT_VALUE = :ADefault;
    end  
  
    suspend;
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_WRITE_FLOAT (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AFloat DN_FLOAT,
    AUseTemp DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
      update or insert
      into VW_T_SETTING 
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )
      values
      (                               
        :ACategoryName,
        :ASectionName,
        :AIdent,
        Trim(cast(:AFloat as DN_CATEGORY_STRING_VALUE))
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);        
    else
      update or insert
      into VW_SETTING 
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        Trim(cast(:AFloat as DN_CATEGORY_STRING_VALUE))
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);  
  end
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_WRITE_INTEGER (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AInteger DN_INTEGER,
    AUseTemp DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
      update or insert 
      into VW_T_SETTING
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )         
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        Trim(cast(:AInteger as DN_CATEGORY_STRING_VALUE))
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);           
    else
      update or insert 
      into VW_SETTING
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )         
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        Trim(cast(:AInteger as DN_CATEGORY_STRING_VALUE))
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);  
  end 
  
  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_WRITE_BOOLEAN (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    ABoolean DN_BOOLEAN,
    AUseTemp DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
      update or insert 
      into VW_T_SETTING
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )         
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        Trim(cast(:ABoolean as DN_CATEGORY_STRING_VALUE))
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);           
    else
      update or insert 
      into VW_SETTING
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )         
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        Trim(cast(:ABoolean as DN_CATEGORY_STRING_VALUE))
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);  
  end

  /* ---------------------------------------------------------------------------------------------- */
  PROCEDURE SP_WRITE_STRING (
    ACategoryName DN_CATEGORY,
    ASectionName DN_CATEGORY_SECTION,
    AIdent DN_CATEGORY_IDENT,
    AString DN_STRING,
    AUseTemp DN_BOOLEAN)
  AS
  begin
    if (AUseTemp = True) then  
      update or insert 
      into VW_T_SETTING
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )         
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        :AString
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);          
    else
      update or insert 
      into VW_SETTING
      (
        CATEGORY_NAME,
        SECTION_NAME,
        IDENT,
        STRING_VALUE        
      )         
      values
      (
        :ACategoryName,
        :ASectionName,
        :AIdent,
        :AString
      )
      matching (CATEGORY_NAME, SECTION_NAME, IDENT);                  
  end
end^  
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.roles.custom.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es werden Standard-Benutzer und -Rollen fÃ¼r das sDDL.bootstrap angelegt    
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
SET TERM ^ ;
EXECUTE BLOCK
RETURNS (
  INFO DN_STRING,
  SQL_STATE DN_SQLSTATE,
  SUCCESS DN_BOOLEAN)
AS
declare custom_prefix DN_STRING;
declare user_name DN_FIREBIRD_USER;
declare project_role_all DN_DB_OBJECT;
declare project_role_public DN_DB_OBJECT;
declare project_role_delete DN_DB_OBJECT;
declare sql_stmt DN_SQL_BLOB;
begin
  INFO = 'Custom-EintrÃ¤ge in der Settings prÃ¼fen';
  SQL_STATE = '00000';
  SUCCESS = False;

  /*----------------------------------------------------------------------------------------------*/
  select RESULT_VALUE
  from PKG_SETTINGS.SP_READ_STRING ('CUSTOM',
    'SDDL',
    'CUSTOM.PREFIX',
    '')
  into :custom_prefix;
  
  if (Trim(custom_prefix) = '') then
    exit;
  
  /*----------------------------------------------------------------------------------------------*/
  select RESULT_VALUE
  from PKG_SETTINGS.SP_READ_STRING ('CUSTOM',
    'SDDL',
    'USER.NAME',
    '')
  into :user_name;
  
  if (Trim(user_name) = '') then
    exit;
    
  /*----------------------------------------------------------------------------------------------*/    
  select RESULT_VALUE
  from PKG_SETTINGS.SP_READ_STRING ('CUSTOM',
    'SDDL',
    'ROLE.DELETE',
    '')
  into :project_role_delete;
  
  if (Trim(project_role_delete) = '') then
    exit;
  
  /*----------------------------------------------------------------------------------------------*/  
  select RESULT_VALUE
  from PKG_SETTINGS.SP_READ_STRING ('CUSTOM',
    'SDDL',
    'ROLE.PUBLIC',
    '')
  into :project_role_public;
    
  if (Trim(project_role_public) = '') then
    exit;
    
  /*----------------------------------------------------------------------------------------------*/    
  select RESULT_VALUE
  from PKG_SETTINGS.SP_READ_STRING ('CUSTOM',
    'SDDL',
    'ROLE.ALL',
    '')
  into :project_role_all;    
    
  if (Trim(project_role_all) = '') then
    exit;

  /*----------------------------------------------------------------------------------------------*/
  INFO = 'Custom-User lÃ¶schen';
  
    
  
  /*----------------------------------------------------------------------------------------------*/
  INFO = 'Custom-Roles lÃ¶schen';
      
  if (exists(select 1
             from RDB$ROLES 
             where RDB$ROLE_NAME = :project_role_delete)) 
  then
    execute statement 'DROP ROLE ' || :project_role_delete;    
  
  if (exists(select 1
             from RDB$ROLES 
             where RDB$ROLE_NAME = :project_role_public)) 
  then
    execute statement 'DROP ROLE ' || :project_role_public;    

  if (exists(select 1
             from RDB$ROLES 
             where RDB$ROLE_NAME = :project_role_public)) 
  then
    execute statement 'DROP ROLE ' || :project_role_all;
   
  /*----------------------------------------------------------------------------------------------*/
  INFO = 'Custom-User anlegen';     
   
  
  INFO = 'Custom-Roles anlegen';
  
  sql_stmt = 'CREATE ROLE ' || :project_role_delete;
  execute statement sql_stmt;

  sql_stmt = 'COMMENT ON ROLE ' || :project_role_delete || ' IS ''Sammelt alle Delete-Rechte''';
  execute statement sql_stmt;
  
  sql_stmt = 'CREATE ROLE ' || :project_role_public;
  execute statement sql_stmt;

  sql_stmt = 'COMMENT ON ROLE ' || :project_role_public || 
    ' IS ''Sammelt alle Select-, Update-, Insert- und Exectue-Rechte''';
  execute statement sql_stmt;
  
  sql_stmt = 'CREATE ROLE ' || :project_role_all;
  execute statement sql_stmt;

  sql_stmt = 'COMMENT ON ROLE ' || :project_role_all || 
    ' IS ''Sammelt alle Select-, Update-, Insert-, Delete- und Exectue-Rechte''';
  execute statement sql_stmt;
  
  INFO = 'Custom-User und -Roles angelegt';
  SUCCESS = True;
  
  /*----------------------------------------------------------------------------------------------*/  
  
  sql_stmt = 'GRANT ' || :project_role_all || ' TO ' || :user_name;
  execute statement sql_stmt;
  
  sql_stmt = 'GRANT ' || :project_role_public || ' TO ' || :user_name;
  execute statement sql_stmt;
  
  sql_stmt = 'GRANT ' || :project_role_delete || ' TO ' || :user_name;
  execute statement sql_stmt;
  
  suspend;
  
  when any do
  begin
    SUCCESS = False;
    SQL_STATE = SQLSTATE;
    
    suspend;
  end
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.history.model.create.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es wird das Model für die Update-History angelegt    
/*                                                                               
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
CREATE TABLE TB_HISTORY_UPDATE(
  ID DN_IDENTIFICATION generated by default as identity primary key, 
  MAJOR DN_MAJOR_NO,
  MINOR DN_MINOR_NO,
  SCRIPT DN_FILENAME_SHORT NOT NULL,
  DESCRIPTION DN_DESCRIPTION,
  CRE_USER DN_CURRENT_USER,
  CRE_DATE DN_CURRENT_TIMESTAMP,
  CHG_USER DN_FIREBIRD_USER,
  CHG_DATE DN_TIMESTAMP
);

COMMENT ON TABLE TB_HISTORY_UPDATE
IS 'Updatehistorie';

COMMENT ON COLUMN TB_HISTORY_UPDATE.ID 
IS 'Primärschlüssel';

COMMENT ON COLUMN TB_HISTORY_UPDATE.MAJOR 
IS 'Hauptversion des Updatescriptes';

COMMENT ON COLUMN TB_HISTORY_UPDATE.MINOR 
IS 'Unterversion des Updatescriptes';

COMMENT ON COLUMN TB_HISTORY_UPDATE.SCRIPT 
IS 'Name des Updatescriptes';

COMMENT ON COLUMN TB_HISTORY_UPDATE.DESCRIPTION 
IS 'Beschreibung zum Updatescript';

COMMENT ON COLUMN TB_HISTORY_UPDATE.CRE_USER 
IS 'Erstellt von';

COMMENT ON COLUMN TB_HISTORY_UPDATE.CRE_DATE 
IS 'Erstellt am';

COMMENT ON COLUMN TB_HISTORY_UPDATE.CHG_USER 
IS 'Bearbeitet von';

COMMENT ON COLUMN TB_HISTORY_UPDATE.CHG_DATE 
IS 'Bearbeitet am';

/*------------------------------------------------------------------------------------------------*/
CREATE VIEW VW_HISTORY_UPDATE(
  ID, 
  MAJOR,
  MINOR,
  SCRIPT,
  DESCRIPTION,
  CRE_USER,
  CRE_DATE,
  CHG_USER,
  CHG_DATE)
AS
select
  ID, 
  MAJOR,
  MINOR,
  SCRIPT,
  DESCRIPTION,
  CRE_USER,
  CRE_DATE,
  CHG_USER,
  CHG_DATE
from      
  TB_HISTORY_UPDATE;
  
COMMENT ON VIEW VW_HISTORY_UPDATE 
IS 'Standard Update-View für die Tabelle TP_HISTORY_UPDATE';
  
/*------------------------------------------------------------------------------------------------*/
SET TERM ^ ;
CREATE TRIGGER TRG_HISTORY_UPDATE_BU0 FOR TB_HISTORY_UPDATE ACTIVE
BEFORE UPDATE POSITION 0
AS
begin
  new.chg_user = PKG_COMMON.SF_GET_CURRENT_USER();
  new.chg_date = current_timestamp;
end^
SET TERM ; ^

/*------------------------------------------------------------------------------------------------*/
CREATE TABLE TB_HISTORY_LOG
(
  ID DN_IDENTIFICATION generated by default as identity primary key, 
  WARN_LEVEL DN_WARN_LEVEL,
  DESCRIPTION DN_DESCRIPTION,
  CRE_USER DN_CURRENT_USER,
  CRE_DATE DN_CURRENT_TIMESTAMP,
  CHG_USER DN_FIREBIRD_USER,
  CHG_DATE DN_TIMESTAMP     
);

COMMENT ON TABLE TB_HISTORY_LOG
IS 'Log-History';

COMMENT ON COLUMN TB_HISTORY_LOG.ID 
IS 'Primärschlüssel';

COMMENT ON COLUMN TB_HISTORY_LOG.WARN_LEVEL 
IS 'Warnlevel (s. Domain DN_WARN_LEVEL)';

COMMENT ON COLUMN TB_HISTORY_LOG.DESCRIPTION 
IS 'Log-Information';

COMMENT ON COLUMN TB_HISTORY_LOG.CRE_USER 
IS 'Erstellt von';

COMMENT ON COLUMN TB_HISTORY_LOG.CRE_DATE 
IS 'Erstellt am';

COMMENT ON COLUMN TB_HISTORY_LOG.CHG_USER 
IS 'Bearbeitet von';

COMMENT ON COLUMN TB_HISTORY_LOG.CHG_DATE 
IS 'Bearbeitet am';

/*------------------------------------------------------------------------------------------------*/
CREATE VIEW VW_HISTORY_LOG (
  ID, 
  WARN_LEVEL,
  DESCRIPTION,
  CRE_USER,
  CRE_DATE,
  CHG_USER,
  CHG_DATE     
)
AS
select
  ID, 
  WARN_LEVEL,
  DESCRIPTION,
  CRE_USER,
  CRE_DATE,
  CHG_USER,
  CHG_DATE
from
  TB_HISTORY_LOG;

COMMENT ON VIEW VW_HISTORY_LOG
IS 'Standard Update-View für die Tabelle TB_HISTORY_LOG';

/*------------------------------------------------------------------------------------------------*/
SET TERM ^ ;
CREATE TRIGGER TRG_HISTORY_LOG_BU0 FOR TB_HISTORY_LOG ACTIVE
BEFORE UPDATE POSITION 0
AS
begin
  new.chg_user = PKG_COMMON.SF_GET_CURRENT_USER();
  new.chg_date = current_timestamp;
end^
SET TERM ; ^

/*------------------------------------------------------------------------------------------------*/
CREATE TABLE TB_HISTORY_DEBUG
(
  ID DN_IDENTIFICATION generated by default as identity primary key,
  CAPTION DN_CAPTION,
  DESCRIPTION DN_DESCRIPTION,
  CRE_USER DN_CURRENT_USER,
  CRE_DATE DN_CURRENT_TIMESTAMP,
  CHG_USER DN_FIREBIRD_USER,
  CHG_DATE DN_TIMESTAMP    
);

COMMENT ON TABLE TB_HISTORY_DEBUG
IS 'Debug-History';

COMMENT ON COLUMN TB_HISTORY_DEBUG.ID 
IS 'Primärschlüssel';

COMMENT ON COLUMN TB_HISTORY_DEBUG.CAPTION 
IS 'Bezeichnung';

COMMENT ON COLUMN TB_HISTORY_DEBUG.DESCRIPTION 
IS 'Beschreibung';

COMMENT ON COLUMN TB_HISTORY_DEBUG.CRE_USER 
IS 'Erstellt von';

COMMENT ON COLUMN TB_HISTORY_DEBUG.CRE_DATE 
IS 'Erstellt am';

COMMENT ON COLUMN TB_HISTORY_DEBUG.CHG_USER 
IS 'Bearbeitet von';

COMMENT ON COLUMN TB_HISTORY_DEBUG.CHG_DATE 
IS 'Bearbeitet am';

/*------------------------------------------------------------------------------------------------*/
CREATE VIEW VW_HISTORY_DEBUG (
  ID,
  CAPTION,
  DESCRIPTION,
  CRE_USER,
  CRE_DATE,
  CHG_USER,
  CHG_DATE     
)
AS
select
  ID,
  CAPTION,
  DESCRIPTION,
  CRE_USER,
  CRE_DATE,
  CHG_USER,
  CHG_DATE
from
  TB_HISTORY_DEBUG;

COMMENT ON VIEW VW_HISTORY_DEBUG
IS 'Standard Update-View für die Tabelle TB_HISTORY_DEBUG';

/*------------------------------------------------------------------------------------------------*/
SET TERM ^ ;
CREATE TRIGGER TRG_HISTORY_DEBUG_BU0 FOR TB_HISTORY_DEBUG ACTIVE
BEFORE UPDATE POSITION 0
AS
begin
  new.chg_user = PKG_COMMON.SF_GET_CURRENT_USER();
  new.chg_date = current_timestamp;
end^
SET TERM ; ^

/*------------------------------------------------------------------------------------------------*/

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.history.package.header.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es wird der Package-Header für die Update-History angelegt    
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
CREATE OR ALTER PACKAGE PKG_HISTORY
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_UPDATE_INFO (
    AMajorNumber DN_MAJOR_NO,
    AMinorNumber DN_MINOR_NO,
    AScript DN_FILENAME,
    ADescription DN_DESCRIPTION);

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_WARN_LEVEL (
    AWarnLevel DN_WARN_LEVEL Default 0);
  
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_SET_LOG_INFORMATION (
    ADescription DN_DESCRIPTION);
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_LOG_WARNING (
    ADescription DN_DESCRIPTION);
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_LOG_ERROR (
    ADescription DN_DESCRIPTION);    
        
  /*----------------------------------------------------------------------------------------------*/        
  PROCEDURE SP_SET_DEBUG_STATE(
    AState DN_BOOLEAN Default False);
        
  /*----------------------------------------------------------------------------------------------*/      
  PROCEDURE SP_SET_DEBUG (
    ACaption DN_CAPTION,
    ADescription DN_DESCRIPTION = 'keine Information');    
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.history.package.body.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Es wird der Package-Body für die Update-History angelegt    
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
RECREATE PACKAGE BODY PKG_HISTORY
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_UPDATE_INFO (
    AMajorNumber DN_MAJOR_NO,
    AMinorNumber DN_MINOR_NO,
    AScript DN_FILENAME,
    ADescription DN_DESCRIPTION)
  AS
  begin
    if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME='VW_HISTORY_UPDATE')) then
      in autonomous transaction do
        insert
        into VW_HISTORY_UPDATE 
        ( 
          MAJOR,
          MINOR,
          SCRIPT,
          DESCRIPTION
        ) 
        values 
        ( 
          :AMajorNumber, 
          :AMinorNumber, 
          :AScript, 
          :ADescription
        );
  end
    
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_LOG_INFO (
    ADescription DN_DESCRIPTION,
    AWarnLevel DN_WARN_LEVEL)
  AS
  begin
    if (Trim(ADescription) <> '') then
      if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME='VW_HISTORY_LOG')) then
        in autonomous transaction do
          insert
          into VW_HISTORY_LOG 
          ( 
            WARN_LEVEL,
            DESCRIPTION
          ) 
          values 
          ( 
            :AWarnLevel, 
            :ADescription
          );    
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_SET_WARN_LEVEL (
    AWarnLevel DN_WARN_LEVEL)
  AS
  begin
    if (AWarnLevel is null) then
      AWarnLevel = 0;
      
    execute 
    procedure PKG_SETTINGS.SP_WRITE_BOOLEAN 'HISTORY', 
      'LOG', 
      'WARN_LEVEL', 
      AWarnLevel;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  FUNCTION SF_GET_WARN_LEVEL(
    )
  RETURNS DN_WARN_LEVEL
  AS
  declare warn_level_as_int integer;
  begin
    warn_level_as_int = 0;
    select RESULT_VALUE 
    from PKG_SETTINGS.SP_READ_INTEGER ('HISTORY', 'LOG', 'WARN_LEVEL', 0)
    into :warn_level_as_int;
    
    if ((warn_level_as_int > 0) and (warn_level_as_int < 4)) then
      RETURN cast(warn_level_as_int as DN_WARN_LEVEL);
    else
      RETURN 0;
   
   when any do
   begin
     execute 
     procedure SP_SET_LOG_INFO SQLSTATE,
       1;
       
     RETURN 0;   
   end         
  end  
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_LOG_INFORMATION (
    ADescription DN_DESCRIPTION)
  AS
  declare warn_level DN_WARN_LEVEL;
  begin      
    warn_level = SF_GET_WARN_LEVEL(); 
  
    if (warn_level > 2) then
      execute
      procedure SP_SET_LOG_INFO :ADescription, 3;      
  end
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_SET_LOG_WARNING (
    ADescription DN_DESCRIPTION)
  AS
  declare warn_level DN_WARN_LEVEL;
  begin    
    warn_level = SF_GET_WARN_LEVEL(); 
  
    if (warn_level > 1) then
      execute
      procedure SP_SET_LOG_INFO :ADescription, 2;        
  end
  
  /*----------------------------------------------------------------------------------------------*/
  procedure SP_SET_LOG_ERROR (
    ADescription DN_DESCRIPTION)
  AS
  declare warn_level DN_WARN_LEVEL;
  begin    
    warn_level = SF_GET_WARN_LEVEL(); 
  
    if (warn_level > 0) then
      execute
      procedure SP_SET_LOG_INFO :ADescription, 1;          
  end   
          
  /*----------------------------------------------------------------------------------------------*/          
  PROCEDURE SP_SET_DEBUG_STATE(
    AState DN_BOOLEAN)
  AS
  begin
    if (AState is null) then
      AState = False;
      
    execute 
    procedure PKG_SETTINGS.SP_WRITE_BOOLEAN 'HISTORY', 
      'DEBUG', 
      'ACTIVE', 
      AState;
  end          
          
  /*----------------------------------------------------------------------------------------------*/    
  FUNCTION SF_GET_DEBUG_STATE(
    )
  RETURNS DN_BOOLEAN
  AS
   declare debug_state DN_BOOLEAN;  
  begin
     debug_state = False;
     select RESULT_VALUE
     from PKG_SETTINGS.SP_READ_BOOLEAN ('HISTORY', 'DEBUG', 'ACTIVE', False)
     into :debug_state;      
     
     RETURN debug_state;
     
     when any do
     begin
       execute 
       procedure SP_SET_LOG_INFO SQLSTATE,
         1;
       
       RETURN False;   
     end        
  end        
          
  /*----------------------------------------------------------------------------------------------*/  
  procedure SP_SET_DEBUG (
    ACaption DN_CAPTION,
    ADescription DN_DESCRIPTION)
  AS
  declare debug_flag DN_BOOLEAN;
  begin
    debug_flag = SF_GET_DEBUG_STATE();
    
    if (debug_flag = True) then
      if (Trim(ACaption) <> '')  then
      begin  
        if ((Trim(ADescription) = '') or (ADescription is null)) then
          ADescription = 'keine Informationen';
        
        if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME='VW_HISTORY_DEBUG')) then
          in autonomous transaction do
            insert
            into VW_HISTORY_DEBUG
            ( 
              CAPTION,
              DESCRIPTION
            ) 
            values 
            ( 
              :ACaption, 
              :ADescription
            );
      end    
  end 
end^  
SET TERM ; ^
/*------------------------------------------------------------------------------------------------*/

COMMENT ON PROCEDURE PKG_HISTORY.SP_SET_UPDATE_INFO  
IS 'Vereinfacht den Eintrag in die Tabelle TB_HISTORY_UPDATE';
 
COMMENT ON FUNCTION PKG_HISTORY.SF_GET_WARN_LEVEL
IS 'Ermittelt den WarnLevel für die Log-Routinen';

COMMENT ON PROCEDURE PKG_HISTORY.SP_SET_LOG_INFORMATION  
IS 'Logeinträge mit dem WarnLevel 2 -> Information';    

COMMENT ON PROCEDURE PKG_HISTORY.SP_SET_LOG_WARNING  
IS 'Logeinträge mit dem WarnLevel 1 -> Warnung';    

COMMENT ON PROCEDURE PKG_HISTORY.SP_SET_LOG_ERROR  
IS 'Logeinträge mit dem WarnLevel 0 -> Error';    

COMMENT ON PROCEDURE PKG_HISTORY.SP_SET_DEBUG
IS 'Setzt Debug-Einträge';
    
/*------------------------------------------------------------------------------------------------*/

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.context.sql',
    'Conetxt-Variablen eingetragen');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.roles.standard.sql',
    'Standard-Benutzer und -Rollen für das Bootstrap installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.domains.create.sql',
    'Domains für das Bootstrap installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.common.package.header.sql',
    'Package-Header der Common -Procedures/-Function installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.common.package.body.sql',
    'Package-Body der Common -Procedures/-Function installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.setting.model.create.sql',
    'Model für die Settings installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.setting.model.data.sql',
    'Daten für die Settings eingetrage');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.setting.package.header.sql',
    'Package-Header für die Settings installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.setting.package.body.sql',
    'Package-Body für die Settings installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.roles.custom.sql',
    'Custom-Benutzer und -Rollen für das Bootstrap installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.history.model.create.sql',
    'Model der History installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.history.package.header.sql',
    'Package-Header der History installiert');

  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.history.package.body.sql',
    'Package-Body der History installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.sql.model.create.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-07-06                                                      
/* Description: Es wird das Model fÃ¼r das SQL Package angelegt       
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-07-06
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/* ---------------------------------------------------------------------------------------------- */
CREATE GLOBAL TEMPORARY TABLE TBT_SQL_STATEMENT (
  ID DN_IDENTIFICATION generated by default as identity primary key,
  SQL_IDENT DN_SQL_IDENT,
  SQL_STATEMENT DN_SQL_BLOB
)
on commit delete rows;

COMMENT ON TABLE TBT_SQL_STATEMENT 
IS 'TemporÃ¤re Tabelle zum Zusammenstellen eines umfangreichen SQL_STATEMENTS';

COMMENT ON COLUMN TBT_SQL_STATEMENT.ID
IS 'PrimÃ¤rschlÃ¼ssel';

COMMENT ON COLUMN TBT_SQL_STATEMENT.SQL_IDENT
IS 'Identifizierung fÃ¼r ein Script';

COMMENT ON COLUMN TBT_SQL_STATEMENT.SQL_STATEMENT
IS 'Umfangreiches SQL-Stamtent';

CREATE UNIQUE INDEX UNQ_IDX_SQL_IDENT ON TBT_SQL_STATEMENT (SQL_IDENT);

COMMIT WORK;
/* ---------------------------------------------------------------------------------------------- */

CREATE VIEW VW_T_SQL_STATEMENT (
  ID,
  SQL_IDENT,
  SQL_STATEMENT)
AS
select
  ID,
  SQL_IDENT,
  SQL_STATEMENT
from
  TBT_SQL_STATEMENT;

COMMENT ON VIEW VW_T_SQL_STATEMENT 
IS 'TemporÃ¤re Standard Update-View fÃ¼r die Tabelle TBT_SQL_STATEMENT';

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.sql.package.header.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-07-06                                                       
/* Description: Handling fÃ¼r SQL-Statements implementieren
/*   - Package-Header        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-07-06
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

/* Interface */
SET TERM ^ ;
CREATE OR ALTER PACKAGE PKG_SQL
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  FUNCTION SF_IS_AVAILABLE (AIdent DN_SQL_IDENT not null default 'DEFAULT')
  RETURNS DN_BOOLEAN;

  /*----------------------------------------------------------------------------------------------*/
  FUNCTION SF_GET (AIdent DN_SQL_IDENT not null default 'DEFAULT')
  RETURNS DN_SQL_BLOB;
  
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_SET(AScript DN_SQL_BLOB,
    AIdent DN_SQL_IDENT not null default 'DEFAULT');  
     
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_GET (AIdent DN_SQL_IDENT not null default 'DEFAULT')
  RETURNS (
    SQL_STATEMENT DN_SQL_BLOB);    
    
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CLEAR(AIdent DN_SQL_IDENT default null);      
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_EXECUTE(AScript DN_SQL_BLOB default null,
    AClear DN_BOOLEAN default false,
    AIdent DN_SQL_IDENT not null default 'DEFAULT');
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_EXECUTE_ALL;        
    
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.sql.package.body.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-07-06                                                       
/* Description: Handling fÃ¼r SQL-Statements implementieren
/*   - - Package-Body        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-07-06
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

/* Interface */
SET TERM ^ ;
RECREATE PACKAGE BODY PKG_SQL
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  FUNCTION SF_IS_AVAILABLE (AIdent DN_SQL_IDENT not null)
  RETURNS DN_BOOLEAN
  AS
  declare variable count_rec integer;
  begin
    count_rec = null;
    select count(ID)
    from VW_T_SQL_STATEMENT
    where Upper(SQL_IDENT) = Upper(:AIdent)
    into :count_rec;
    
    if (count_rec is null) then
      RETURN false;
    else
      RETURN (count_rec > 0);  
  end

  /*----------------------------------------------------------------------------------------------*/
  FUNCTION SF_GET (AIdent DN_SQL_IDENT not null)
  RETURNS DN_SQL_BLOB
  AS
  declare sql_stmt DN_SQL_BLOB;
  begin
    sql_stmt = null;
    
    select SQL_STATEMENT
    from VW_T_SQL_STATEMENT
    where Upper(SQL_IDENT) = Upper(:AIdent)
    into :sql_stmt;
    
    RETURN sql_stmt;
  end      

  /*----------------------------------------------------------------------------------------------*/   
  PROCEDURE SP_SET(AScript DN_SQL_BLOB,
    AIdent DN_SQL_IDENT not null)     
  AS
  declare sql_script DN_SQL_BLOB;  
  begin
    sql_script = SF_GET(AIdent);
    
    if (sql_script is null) then
      insert 
      into VW_T_SQL_STATEMENT
      (
        SQL_STATEMENT,
        SQL_IDENT
      )
      values
      (
        :AScript,
        Upper(:AIdent)
      );
    else
    begin
      sql_script = sql_script || ascii_char(13) || :AScript;
      update VW_T_SQL_STATEMENT
      set SQL_STATEMENT = :sql_script
      where Upper(SQL_IDENT) = Upper(:AIdent);                
    end  
  end
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_GET (AIdent DN_SQL_IDENT not null)
  RETURNS (
    SQL_STATEMENT DN_SQL_BLOB)
  AS
  begin
    SQL_STATEMENT = SF_GET(:AIdent);
    if (SQL_STATEMENT is null) then
      SQL_STATEMENT = '';
  
    suspend;
  end      

  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CLEAR (AIdent DN_SQL_IDENT)
  AS
  begin
    if (AIdent is null) then    
      delete
      from VW_T_SQL_STATEMENT;
    else
      delete
      from VW_T_SQL_STATEMENT
      where Upper(SQL_IDENT)=Upper(:AIdent);
  end  
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_EXECUTE(AScript DN_SQL_BLOB,
    AClear DN_BOOLEAN,
    AIdent DN_SQL_IDENT not null)
  AS
  begin
    if (AClear = true) then
      execute 
      procedure SP_CLEAR(:AIdent);
      
    if (AScript is not null) then  
      execute
      procedure SP_SET(:AScript, :AIdent);
    
    if (SF_IS_AVAILABLE(:AIdent) = true) then
    begin
      execute statement SF_GET(:AIdent);
    
      execute 
      procedure SP_CLEAR (:AIdent);
    end
    
    when any do
    begin
      execute 
      procedure SP_CLEAR (:AIdent);
          
      execute
      procedure PKG_HISTORY.SP_SET_LOG_ERROR (
        cast(GDSCODE as DN_DESCRIPTION));
        
      execute
      procedure PKG_HISTORY.SP_SET_LOG_ERROR (
        cast(SQLCODE as DN_DESCRIPTION));    
        
      execute
      procedure PKG_HISTORY.SP_SET_LOG_ERROR (
        cast(SQLSTATE as DN_DESCRIPTION));    
    end  
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_EXECUTE_ALL
  AS
  declare variable sql_stmt DN_SQL_BLOB;
  begin
    sql_stmt = null;  
    for
    select SQL_STATEMENT
    from VW_T_SQL_STATEMENT    
    into :sql_stmt
    do
    begin
      execute statement :sql_stmt;
      sql_stmt = null; 
    end

    when any do
    begin
      execute 
      procedure SP_CLEAR;
          
      execute
      procedure PKG_HISTORY.SP_SET_LOG_ERROR (
        cast(GDSCODE as DN_DESCRIPTION));
        
      execute
      procedure PKG_HISTORY.SP_SET_LOG_ERROR (
        cast(SQLCODE as DN_DESCRIPTION));    
        
      execute
      procedure PKG_HISTORY.SP_SET_LOG_ERROR (
        cast(SQLSTATE as DN_DESCRIPTION));    
    end    
  end        
  
end^
SET TERM ; ^
/*------------------------------------------------------------------------------------------------*/

COMMENT ON FUNCTION PKG_SQL.SF_IS_AVAILABLE 
IS 'PrÃ¼ft ob zu einem SQL-Ident ein Script vorhanden ist';

COMMENT ON FUNCTION PKG_SQL.SF_GET 
IS 'Ermittelt zu einem SQL-Ident ein Script';

COMMENT ON PROCEDURE PKG_SQL.SP_SET 
IS 'Ãbergibt zu einem SQL-Ident eine Zeile eines Scriptes';

COMMENT ON PROCEDURE PKG_SQL.SP_GET 
IS 'Ermittelt zu einem SQL-Ident ein Script';

COMMENT ON PROCEDURE PKG_SQL.SP_CLEAR 
IS 'LÃ¶scht zu einem SQL-Ident ein Script';

COMMENT ON PROCEDURE PKG_SQL.SP_EXECUTE 
IS 'FÃ¼hrt zu einem SQL-Ident ein Script aus';

COMMENT ON PROCEDURE PKG_SQL.SP_EXECUTE_ALL 
IS 'FÃ¼hrt alle Scripte aus';
    
COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.sql.package.body.sql',
    'Package-Body des SQL-Package installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.package.header.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Das sDDL.bootstrap wird angelegt
/*   - s. https://github.com/AlfredGerke/simplifyDDL
/*   - s. https://github.com/AlfredGerke/ZABonline
/*   - Package-Header        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

/* SPs */
SET TERM ^ ;
CREATE OR ALTER PACKAGE PKG_SDDL
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DROP_RECURSIVE (
    AEntity DN_DB_OBJECT,
    ADoRecursive DN_BOOLEAN Default True)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    SQL_STATE DN_SQLSTATE,
    LOG_MESSAGE DN_MESSAGE);  

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_RESTRUCTURE_TABLE (
    ATablename DN_DB_OBJECT,
    AColumn DN_DB_OBJECT,
    APosition DN_INDEX DEFAULT 1)
  RETURNS (
    SUCCESS DN_BOOLEAN); 

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CREATE_CATALOG (
    ACatalogname DN_DB_OBJECT,
    ADomain DN_DB_OBJECT DEFAULT 'DN_CAPTION',
    AComment DN_COMMENT DEFAULT '')
  RETURNS (
    SUCCESS DN_BOOLEAN);

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CREATE_STAMP (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN);
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CREATE_FIELD_DESCRIPTION (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN);
   
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_COMPLETE_TABLE (
    ATablename DN_DB_OBJECT,
    ADoDescription DN_BOOLEAN,
    ADoStamp DN_BOOLEAN,
    ADoComment DN_BOOLEAN,
    AComment DN_COMMENT, 
    ADoPK DN_BOOLEAN DEFAULT True)
  RETURNS (
    SUCCESS DN_BOOLEAN);
   
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CREATE_CONSTRAINTS (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE);
    
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CREATE_ALL_CONSTRAINTS
  RETURNS (
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE);
   
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_GRANT_ALL;       
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_GRANT (
    ADBObject DN_DB_OBJECT);
              
end^  
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.package.header.sql',
    'Package-Header des sDDL-Bootstrap installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.package.body.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-02-22                                                        
/* Description: Das sDDL.bootstrap wird angelegt
/*   - s. https://github.com/AlfredGerke/simplifyDDL
/*   - s. https://github.com/AlfredGerke/ZABonline        
/*   - Package-Body
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

/* SPs */
SET TERM ^ ;
RECREATE PACKAGE BODY PKG_SDDL
AS
begin
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GET_CUSTOM_ROLES
  RETURNS (
    SUCCESS DN_BOOLEAN,
    ROLE_ALL DN_DB_OBJECT,
    ROLE_PUBLIC DN_DB_OBJECT,
    ROLE_DELETE DN_DB_OBJECT)
  AS
  begin
    SUCCESS = False;  
    
    ROLE_ALL = 'SDDL_ALL';
    ROLE_PUBLIC = 'SDDL_PUBLIC';
    ROLE_DELETE = 'SDDL_DELETE';  
  
    select Trim(RESULT_VALUE)
    from PKG_SETTINGS.SP_READ_STRING('CUSTOM',
      'SDDL',
      'ROLE.ALL',
      'SDDL_ALL')
    into :ROLE_ALL;
    
    select Trim(RESULT_VALUE)
    from PKG_SETTINGS.SP_READ_STRING('CUSTOM',
      'SDDL',
      'ROLE.PUBLIC',
      'SDDL_PUBLIC')
    into :ROLE_PUBLIC;  

    select Trim(RESULT_VALUE)
    from PKG_SETTINGS.SP_READ_STRING('CUSTOM',
      'SDDL',
      'ROLE.DELETE',
      'SDDL_DELETE')
    into :ROLE_DELETE;
    
    if ((Trim(:ROLE_ALL) <> '') and 
        (Trim(:ROLE_PUBLIC) <> '') and 
        (Trim(:ROLE_DELETE) <> '')) 
    then
      SUCCESS = True;
    
    suspend;
    
    when any do
    begin
      ROLE_ALL = 'SDDL_ALL';
      ROLE_PUBLIC = 'SDDL_PUBLIC';
      ROLE_DELETE = 'SDDL_DELETE';
        
      SUCCESS = False;
      
      suspend;
    end  
  end  

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DROP_TABLE (
    ATable DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    SQL_STATE DN_SQLSTATE,
    LOG_MESSAGE DN_MESSAGE)
  AS
  begin
    SUCCESS = False;
    SQL_STATE = '00000';
    LOG_MESSAGE = 'keine Information';
    
    /* Tabelle löschen */
    
    /* Prüfung ob Löschung erfolgreich */
     
    SUCCESS = True;
    
    suspend;
    
    when any do
    begin
      SUCCESS = False;
      SQL_STATE = SQLSTATE;
      LOG_MESSAGE = 'Fehler beim Löschen einer Tabelle';

      suspend;
    end
  end  
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DROP_VIEW (
    AView DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    SQL_STATE DN_SQLSTATE,
    LOG_MESSAGE DN_MESSAGE)
  AS
  begin
    SUCCESS = False;
    SQL_STATE = '00000';
    LOG_MESSAGE = 'keine Information';
    
    /* View löschen */
    
    /* Prüfung ob Löschung erfolgreich */
     
    SUCCESS = True;
    
    suspend;
    
    when any do
    begin
      SUCCESS = False;
      SQL_STATE = SQLSTATE;
      LOG_MESSAGE = 'Fehler beim Löschen einer View';

      suspend;
    end  
  end  
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DROP_SEQ (
    ASF DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    SQL_STATE DN_SQLSTATE,
    LOG_MESSAGE DN_MESSAGE)
  AS
  begin
    SUCCESS = False;
    SQL_STATE = '00000';
    LOG_MESSAGE = 'keine Information';
    
    /* SEQ löschen */
    
    /* Prüfung ob Löschung erfolgreich */
     
    SUCCESS = True;
    
    suspend;
    
    when any do
    begin
      SUCCESS = False;
      SQL_STATE = SQLSTATE;
      LOG_MESSAGE = 'Fehler beim Löschen einer Sequence';

      suspend;
    end  
  end      

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_DROP_RECURSIVE (
    AEntity DN_DB_OBJECT,
    ADoRecursive DN_BOOLEAN)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    SQL_STATE DN_SQLSTATE,
    LOG_MESSAGE DN_MESSAGE)
  AS
  declare drop_sequence DN_BOOLEAN;
  begin
    SUCCESS = False;
    SQL_STATE = '00000';
    LOG_MESSAGE = 'keine Information';
    
    :drop_sequence = False;
    select RESULT_VALUE
    from PKG_SETTINGS.SP_READ_BOOLEAN ('CUSTOM', 
      'SDDL', 
      'DROP.RECURSIVE.SEQUENCE', 
      False)
    into :drop_sequence;
       
    suspend;
    
    when any do
    begin
      SUCCESS = False;
      SQL_STATE = SQLSTATE;
      LOG_MESSAGE = 'Fehler beim Löschen einer Entität';

      suspend;
    end    
  end  
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_RESTRUCTURE_TABLE (
    ATablename DN_DB_OBJECT,
    AColumn DN_DB_OBJECT,
    APosition DN_INDEX)
  RETURNS (
    SUCCESS DN_BOOLEAN)
  AS
    --- declare sql_stmt DN_SQL_STMT;
  begin
    SUCCESS = False;
    
    execute 
    procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :ATABLENAME || ' ALTER COLUMN ' || :AColumn || 
      ' POSITION ' || :APosition);
    
    /* 
      sql_stmt = 'ALTER TABLE ' || :ATABLENAME || ' ALTER COLUMN ' || :AColumn || ' POSITION ' || :APosition; 
      execute statement sql_stmt;
    */
  
    SUCCESS = True;
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_EXTRACT_TABLENAME (
    ATablename DN_DB_OBJECT,
    APrefix DN_PREFIX)
  RETURNS (
    DETERMINED DN_BOOLEAN,
    TABLENAME DN_DB_OBJECT )
  AS
  declare variable idx DN_COUNT;
  declare variable table_name DN_DB_OBJECT;
  declare variable len DN_DIMENSION;
  declare variable pre_fix DN_PREFIX_EXT;
  begin
    DETERMINED = False;
    TABLENAME = ATABLENAME;
  
    /* prüfe auf normale Tabelle */
    pre_fix = Trim(APrefix) || '_'; 
    idx = position(:pre_fix in :ATablename);
    if (idx <> 1) then
    begin
      /* prüfe auf Katalog */
      pre_fix = Trim(APrefix) || 'L_';
      idx = position(:pre_fix in :ATablename);
      if (idx <> 1) then
      begin
        /* prüfe auf Relation */
        pre_fix = Trim(APrefix) || 'R_';
        idx = position(:pre_fix in :ATablename);
        if (idx <> 1) then
        begin
          /* prüfe Prefix pur */
          pre_fix = Trim(APrefix);
          idx = position(:pre_fix in :ATablename);
        end
        else
          pre_fix = Trim(APrefix); /* Das L in TBL soll im Namen enthalten bleiben */
      end
      else
        pre_fix = Trim(APrefix); /* Das L in TBL soll im Namen enthalten bleiben */
    end
                           
    if (idx = 1) then
    begin
      len = char_length(:pre_fix);                     
      table_name = substring(:ATablename from len+1);
    end  
    else
      table_name = ATablename;
      
    if (Trim(Upper(table_name)) <> Trim(Upper(ATablename))) then
      DETERMINED = True;
      
    if (DETERMINED = True) then
      TABLENAME = table_name;  
      
    suspend;      
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GET_COLUMNLIST(
    ATablename DN_DB_OBJECT,
    ASeparator DN_COLUMNLIST_SEPARATOR,
    ADoCR DN_BOOLEAN)
  returns(
    COLUMNLIST DN_COLUMNLIST)
  as
  declare variable field_name DN_DB_OBJECT;
  begin
    COLUMNLIST = '';
    
    for
    select Trim(RDB$FIELD_NAME)
    from RDB$RELATION_FIELDS 
    where UPPER(RDB$RELATION_NAME)=UPPER(:ATablename)
    order by RDB$FIELD_POSITION   
    into 
      :field_name
    do
    begin
      if (exists(select 1 from RDB$TYPES where RDB$TYPE_NAME=:field_name)) then
        field_name = '"' || :field_name || '"';
    
      if (columnlist <> '') then
      begin
        columnlist = columnlist || :ASEPARATOR || ' ';
        if (:ADoCR = True) then
          columnlist = columnlist || ascii_char(13);
      end  
        
      COLUMNLIST = columnlist || :field_name;  
    end 
    
    suspend; 
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GET_PRIMKEYLIST (
    ATablename DN_DB_OBJECT,
    ASeparator DN_COLUMNLIST_SEPARATOR,
    ADoCR DN_BOOLEAN)
  returns (
    COUNT_PK_FIELDS DN_COUNT,
    COLUMNLIST DN_COLUMNLIST)
  as
  declare variable field_name DN_DB_OBJECT;
  declare variable pk_index_name DN_DB_OBJECT;
  begin
    COUNT_PK_FIELDS = 0;
    COLUMNLIST = '';
    
    select RDB$INDEX_NAME
    from RDB$RELATION_CONSTRAINTS
    where RDB$RELATION_NAME=:ATablename
    and RDB$CONSTRAINT_TYPE='PRIMARY KEY'
    into :pk_index_name;
  
    select count(RDB$FIELD_NAME) 
    from RDB$INDEX_SEGMENTS 
    where UPPER(RDB$INDEX_NAME)=UPPER(:pk_index_name) 
    into :COUNT_PK_FIELDS;
    
    if ((COUNT_PK_FIELDS is null) or (COUNT_PK_FIELDS = 0)) then
    begin
      suspend;
      exit;
    end
    
    for
    select Trim(RDB$FIELD_NAME) 
    from RDB$INDEX_SEGMENTS 
    where UPPER(RDB$INDEX_NAME)=UPPER(:pk_index_name) 
    into :field_name
    do  
    begin
      if (exists(select 1 from RDB$TYPES where RDB$TYPE_NAME=:field_name)) then
        field_name = '"' || :field_name || '"';
    
      if (columnlist <> '') then
      begin
        columnlist = columnlist || :ASeparator || ' ';
        if (:ADoCR = True) then
          columnlist = columnlist || ascii_char(13);
      end  
        
      COLUMNLIST = columnlist || :field_name;  
    end   
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_STD_TABLE_VIEW_CMT (
    ATablename DN_DB_OBJECT,
    AViewname DN_DB_OBJECT)  
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable field_name DN_DB_OBJECT;
  declare variable field_description DN_DB_COMMENT;
  declare variable idx DN_COUNT;
  begin
    field_description = null;
    
    for
    select Trim(RDB$FIELD_NAME),
           cast(Trim(RDB$DESCRIPTION) as VARCHAR(4000))
    from RDB$RELATION_FIELDS 
    where UPPER(RDB$RELATION_NAME)=UPPER(:ATablename)
    order by RDB$FIELD_POSITION   
    into :field_name, :field_description
    do
    begin  
      if (field_description is not null) then
      begin
      
        idx = -1;
        while (idx <> 0) do
        begin
          idx = position('}' in Trim(Upper(:field_description)));
          if (idx > 0) then
            field_description = substring(:field_description from idx+1);
        end   
      
        execute
        procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :AViewname || '.' || :field_name || 
          ' IS ''' || :field_description || '''');
      
        /*
        sql_stmt = 'COMMENT ON COLUMN ' || :AViewname || '.' || :field_name || 
          ' IS ''' || :field_description || '''';
  
        execute statement sql_stmt;
        */
      end  
      
      field_description = null;
    end
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_STD_TABLE_VIEW(
    ATablename DN_DB_OBJECT,
    AOrderByPrim DN_BOOLEAN) /* wenn True dann USER_VIEW nur ReadOnly */
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  declare variable columnlist DN_COLUMNLIST;
  declare variable interfacelist DN_COLUMNLIST;
  declare variable implementationlist DN_COLUMNLIST;
  declare variable pk_columnlist DN_COLUMNLIST;
  declare variable pk_columncount DN_COUNT;
  declare variable table_name DN_DB_OBJECT;
  declare variable determined DN_BOOLEAN;
  begin
    SUCCESS = False;  
  
    determined = False;
    table_name = null;
    
    select DETERMINED, TABLENAME
    from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
    into :determined, :table_name;
        
    if (:AOrderByPrim = True) then
      relation_name = 'VR_' || :table_name;
    else
      relation_name = 'VW_' || :table_name;  
      
    --- sql_stmt = '';
    interfacelist = '';
    implementationlist = '';
  
    select Trim(columnlist) 
    from SP_GET_COLUMNLIST(:ATablename, ',', True) 
    into :columnlist;
    
    if (Trim(columnlist) <> '') then
    begin
      interfacelist = '(' || :columnlist || ')';
      implementationlist = :columnlist; 
    end
    else
    begin
      interfacelist = '';
      implementationlist = '*';   
    end  
    
    /*
    sql_stmt = 'create or alter view ' || :relation_name || :interfacelist || 
      ' as ' || ascii_char(13) || 'select ' || ascii_char(13) || :implementationlist 
      || ascii_char(13) || 'from' || ascii_char(13) || :ATablename;
    */
    
    execute
    procedure PKG_SQL.SP_SET('create or alter view ' || :relation_name || :interfacelist || 
      ' as ' || ascii_char(13) || 'select ' || ascii_char(13) || :implementationlist 
      || ascii_char(13) || 'from' || ascii_char(13) || :ATablename);
    
    if (:AOrderByPrim = True) then
    begin 
      select count_pk_fields, Trim(columnlist) 
      from SP_GET_PRIMKEYLIST(:ATablename, ',', True) 
      into :pk_columncount, :pk_columnlist;
      
      if (pk_columncount > 0) then
        --- sql_stmt = sql_stmt || ' order by ' || :pk_columnlist;
        execute
        procedure PKG_SQL.SP_SET(' order by ' || :pk_columnlist);     
    end
      
    --- execute statement sql_stmt;
    execute
    procedure PKG_SQL.SP_EXECUTE;
    
    /*
    if (:AOrderByPrim = True) then
      sql_stmt = 'COMMENT ON VIEW ' || :relation_name || 
        ' IS ''Standard Readonly-View für die Tabelle ' || :ATablename || 
        ' (created by SP_CREATE_STD_TABLE_VIEW)''';
    else
      sql_stmt = 'COMMENT ON VIEW ' || :relation_name || 
        ' IS ''Standard Update-View für die Tabelle ' || :ATablename || 
        ' (created by SP_CREATE_STD_TABLE_VIEW)''';
    */

    if (:AOrderByPrim = True) then
      execute
      procedure PKG_SQL.SP_SET('COMMENT ON VIEW ' || :relation_name || 
        ' IS ''Standard Readonly-View für die Tabelle ' || :ATablename || 
        ' (created by SP_CREATE_STD_TABLE_VIEW)''');
    else
      execute
      procedure PKG_SQL.SP_SET('COMMENT ON VIEW ' || :relation_name || 
        ' IS ''Standard Update-View für die Tabelle ' || :ATablename || 
        ' (created by SP_CREATE_STD_TABLE_VIEW)''');

    --- execute statement sql_stmt;
    execute
    procedure PKG_SQL.SP_EXECUTE;
    
    execute
    procedure
      SP_CREATE_STD_TABLE_VIEW_CMT :ATablename,
        :relation_name;
       
    SUCCESS = True; 
      
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_TRIGGER_BI (
    ATablename DN_DB_OBJECT)
  returns (
    SUCCESS DN_BOOLEAN)
  as
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  declare variable sequence_name DN_DB_OBJECT;
  declare variable table_name DN_DB_OBJECT;
  declare variable determined DN_BOOLEAN;
  begin
    SUCCESS = False;
    
    determined = False;
    table_name = null;
    
    select DETERMINED, TABLENAME
    from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
    into :determined, :table_name; 
      
    table_name = Trim(substring(:table_name from 1 for 24));  
    
    relation_name = 'TRG_' || :table_name || '_BI';
    sequence_name = 'SEQ_' || :table_name || '_ID';
    
    if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME=:relation_name)) then
    begin   
      SUCCESS = False;
    end
    else
    begin
      if (exists(select 1 from RDB$GENERATORS where RDB$GENERATOR_NAME=:sequence_name)) then
      begin   
  
    /* Die eigentümliche Formatierung des DDL-Codes sorgt für ein einfach lesbares Format des 
       fertigen Triggercodes in der DB */
    /*    
        sql_stmt = 'CREATE TRIGGER ' || :relation_name || ' FOR ' || :ATablename
                   || ' ACTIVE BEFORE INSERT POSITION 0
  as
  declare variable curr_user DN_DB_OBJECT;
  begin
    if (new.id is null) then
      new.id = next value for ' || :sequence_name || ';
  
    if (new.cre_user is null) then
    begin  
      new.cre_user = PKG_COMMON.SF_GET_CURRENT_USER();
    end  
  end ';       
     */
     
        /* Die eigentümliche Formatierung des DDL-Codes sorgt für ein einfach lesbares Format des 
           fertigen Triggercodes in der DB */
     
        execute
        procedure PKG_SQL.SP_EXECUTE('CREATE TRIGGER ' || :relation_name || ' FOR ' || :ATablename
                   || ' ACTIVE BEFORE INSERT POSITION 0
  as
  declare variable curr_user DN_DB_OBJECT;
  begin
    if (new.id is null) then
      new.id = next value for ' || :sequence_name || ';
  
    if (new.cre_user is null) then
    begin  
      new.cre_user = PKG_COMMON.SF_GET_CURRENT_USER();
    end  
  end ');
        
        --- execute statement sql_stmt;
           
        /*   
        sql_stmt = 'COMMENT ON TRIGGER ' || :relation_name || 
          ' IS ''Before-Insert-Trigger für die Tabelle ' || :ATablename || 
          ' (created by SP_CREATE_TRIGGER_BI)''';
        */  
          
        --- execute statement sql_stmt;
        
        execute
        procedure PKG_SQL.SP_EXECUTE('COMMENT ON TRIGGER ' || :relation_name || 
          ' IS ''Before-Insert-Trigger für die Tabelle ' || :ATablename || 
          ' (created by SP_CREATE_TRIGGER_BI)''');
          
        SUCCESS = True;
      end
      else
        SUCCESS = False; 
    end
      
    suspend;
  end    
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_TRIGGER_BU (
    ATablename DN_DB_OBJECT)
  returns (
    SUCCESS DN_BOOLEAN)
  as
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  declare variable determined DN_BOOLEAN;
  declare variable table_name DN_DB_OBJECT;
  begin
    SUCCESS = False;
    
    determined = False;
    table_name = null;
    
    select DETERMINED, TABLENAME
    from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
    into :determined, :table_name; 
    
    table_name = Trim(substring(:table_name from 1 for 24));  
    relation_name = 'TRG_' || :table_name || '_BU';
    
    if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME=:relation_name)) then
    begin   
      SUCCESS = False;
    end
    else
    begin
  
  /* Die eigentümliche Formatierung des DDL-Codes sorgt für ein einfach lesbares Format des 
     fertigen Triggercodes in der DB */
  /*   
      sql_stmt = 'CREATE TRIGGER ' || :relation_name || ' FOR ' || :ATablename
                 || ' ACTIVE BEFORE UPDATE POSITION 0
  as
  declare variable curr_user DN_DB_OBJECT;
  begin
    new.chg_user = PKG_COMMON.SF_GET_CURRENT_USER();
    new.chg_date = current_timestamp;
  end ';
  */
  ---    execute statement sql_stmt;
      
    /* Die eigentümliche Formatierung des DDL-Codes sorgt für ein einfach lesbares Format des 
       fertigen Triggercodes in der DB */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('CREATE TRIGGER ' || :relation_name || ' FOR ' || :ATablename
                 || ' ACTIVE BEFORE UPDATE POSITION 0
  as
  declare variable curr_user DN_DB_OBJECT;
  begin
    new.chg_user = PKG_COMMON.SF_GET_CURRENT_USER();
    new.chg_date = current_timestamp;
  end ');
      
      /*   
      sql_stmt = 'COMMENT ON TRIGGER ' || :relation_name || 
        ' IS ''Before-Update-Trigger für die Tabelle ' || :ATablename || 
        ' (created by SP_CREATE_TRIGGER_BU)''';
        
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON TRIGGER ' || :relation_name || 
        ' IS ''Before-Update-Trigger für die Tabelle ' || :ATablename || 
        ' (created by SP_CREATE_TRIGGER_BU)''');      
        
      SUCCESS = True;  
    end
      
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_SEQUNECE(
    ATablename DN_DB_OBJECT,
    AFieldname DN_DB_OBJECT Default 'ID',
    AComment DN_COMMENT Default '')
  RETURNS (
    SUCCESS DN_BOOLEAN)    
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  declare variable table_name DN_DB_OBJECT;
  declare variable determined DN_BOOLEAN;
  begin
    SUCCESS = False;
  
    determined = False;
    table_name = null;
    
    select DETERMINED, TABLENAME
    from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
    into :determined, :table_name; 
      
    table_name = Trim(substring(:table_name from 1 for 24));  
    
    relation_name = 'SEQ_' || :table_name || '_' || :AFieldname;
      
    if (exists(select 1 from RDB$GENERATORS where RDB$GENERATOR_NAME=:relation_name)) then
    begin   
      SUCCESS = False;
    end
    else
    begin
      /*
      sql_stmt = 'CREATE SEQUENCE ' || :relation_name;  
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('CREATE SEQUENCE ' || :relation_name);
      
      /*
      sql_stmt = 'ALTER SEQUENCE ' || :relation_name || ' RESTART WITH 0';
      execute statement sql_stmt;
      */

      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER SEQUENCE ' || :relation_name || ' RESTART WITH 0');
      
      /*
      if (Trim(AComment) = '') then
        sql_stmt = 'COMMENT ON SEQUENCE ' || :relation_name || 
          ' IS ''Sequence für das Feld ' || :AFieldname || ' der Tabelle ' || :ATablename || 
          ' (created by SP_CREATE_SEQUNECE)''';
      else
        sql_stmt = 'COMMENT ON SEQUENCE ' || :relation_name || 
          ' IS ''' || :AComment || 
          ' (created by SP_CREATE_SEQUNECE)''';     
    
      execute statement sql_stmt;
      */
      
      if (Trim(AComment) = '') then
        execute
        procedure PKG_SQL.SP_SET('COMMENT ON SEQUENCE ' || :relation_name || 
          ' IS ''Sequence für das Feld ' || :AFieldname || ' der Tabelle ' || :ATablename || 
          ' (created by SP_CREATE_SEQUNECE)''');
      else
        execute
        procedure PKG_SQL.SP_SET('COMMENT ON SEQUENCE ' || :relation_name || 
          ' IS ''' || :AComment || 
          ' (created by SP_CREATE_SEQUNECE)''');
          
      execute
      procedure PKG_SQL.SP_EXECUTE;         
        
      SUCCESS = True;  
    end
      
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_TBL_CATALOG (
    ATablename DN_DB_OBJECT,
    ADomain DN_DB_OBJECT DEFAULT 'DN_CAPTION',
    AComment DN_COMMENT DEFAULT '', 
    ACreateUniqueKey DN_BOOLEAN DEFAULT True)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    CATALOGNAME DN_DB_OBJECT,
    TABLENAME DN_DB_OBJECT)
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  declare variable cat_comment DN_COMMENT;
  declare variable cat_name DN_DB_OBJECT;
  BEGIN
    SUCCESS = False;
    CATALOGNAME = null;
    TABLENAME = null;
    
    /*cat_name = 'CAT_' || Upper(ATablename); 
    relation_name = 'TB_' || Upper(cat_name);*/
    cat_name = 'L_' || Upper(ATablename); 
    relation_name = 'TB' || Upper(cat_name);
    cat_comment = AComment;
  
    if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME=:relation_name)) then
    begin
      SUCCESS = False;
    end
    else
    begin
      /*
      sql_stmt = 'CREATE TABLE ' || :relation_name || ' (
      ID  DN_IDENTIFICATION,
      CAPTION ' || :ADomain || ',
      DESCRIPTION DN_DESCRIPTION,
      CRE_USER DN_FIREBIRD_USER,
      CRE_DATE DN_CURRENT_TIMESTAMP,
      CHG_USER DN_FIREBIRD_USER,
      CHG_DATE DN_TIMESTAMP
  )';
      execute statement sql_stmt;
      */     
      execute
      procedure PKG_SQL.SP_EXECUTE('CREATE TABLE ' || :relation_name || ' (
      ID  DN_IDENTIFICATION,
      CAPTION ' || :ADomain || ',
      DESCRIPTION DN_DESCRIPTION,
      CRE_USER DN_FIREBIRD_USER,
      CRE_DATE DN_CURRENT_TIMESTAMP,
      CHG_USER DN_FIREBIRD_USER,
      CHG_DATE DN_TIMESTAMP
  )');
      
      /*
      sql_stmt = 'COMMENT ON TABLE ' || :relation_name || ' IS ''Katalog: ' || :relation_name || 
        ' für ' || :cat_comment || ' (created by SP_CREATE_TBL_CATALOG)''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON TABLE ' || :relation_name || ' IS ''Katalog: ' || :relation_name || 
        ' für ' || :cat_comment || ' (created by SP_CREATE_TBL_CATALOG)''');

      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.ID IS ''Primärschlüssel''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.ID IS ''Primärschlüssel''');

      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CAPTION IS ''Bezeichnung''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CAPTION IS ''Bezeichnung''');

      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.DESCRIPTION IS ''Beschreibung''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.DESCRIPTION IS ''Beschreibung''');
      
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CRE_USER IS ''Erstellt von''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CRE_USER IS ''Erstellt von''');
 
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CRE_DATE IS ''Erstellt am''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CRE_DATE IS ''Erstellt am''');
  
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CHG_USER IS ''Geändert von''';
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CHG_USER IS ''Geändert von''');
      
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CHG_DATE IS ''Geändert am''';    
      execute statement sql_stmt;
      */    
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CHG_DATE IS ''Geändert am''');
      
      /*      
      sql_stmt = 'ALTER TABLE ' || :relation_name || ' ADD CONSTRAINT PK_' || :cat_name ||
        ' PRIMARY KEY (ID)';      
      execute statement sql_stmt;
      */
      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :relation_name || ' ADD CONSTRAINT PK_' || :cat_name ||
        ' PRIMARY KEY (ID)');
      
      if (:ACreateUniqueKey = True) then
      begin
        /*
        sql_stmt = 'ALTER TABLE ' || :relation_name || ' ADD CONSTRAINT ALT_' || :cat_name || 
          ' UNIQUE (CAPTION) USING INDEX ALT_IDX_' || :cat_name;
        execute statement sql_stmt;
        */
        execute
        procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :relation_name || ' ADD CONSTRAINT ALT_' || :cat_name || 
          ' UNIQUE (CAPTION) USING INDEX ALT_IDX_' || :cat_name);        
      end    
      else
      begin
        /*
        sql_stmt = 'CREATE UNIQUE INDEX ALT_' || :cat_name || ' ON ' || :relation_name || 
          '(CAPTION)';        
        execute statement sql_stmt;
        */
        execute
        procedure PKG_SQL.SP_EXECUTE('CREATE UNIQUE INDEX ALT_' || :cat_name || ' ON ' || :relation_name || 
          '(CAPTION)');

        /*
        sql_stmt = 'COMMENT ON INDEX ALT_' || :cat_name || ' IS ''(created by SP_CREATE_TBL_CATALOG)''';    
        execute statement sql_stmt;
        */
        execute
        procedure PKG_SQL.SP_EXECUTE('COMMENT ON INDEX ALT_' || :cat_name || ' IS ''(created by SP_CREATE_TBL_CATALOG)''');                    
      end  
           
      CATALOGNAME = cat_name;
      TABLENAME = relation_name;     
                 
      SUCCESS = True;  
    end      
  
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_CATALOG (
    ACatalogname DN_DB_OBJECT,
    ADomain DN_DB_OBJECT,
    AComment DN_COMMENT)
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  declare variable relation_name DN_DB_OBJECT;
  declare variable cat_comment DN_COMMENT;
  declare variable domain_name DN_DB_OBJECT;
  declare variable cat_name DN_DB_OBJECT;
  declare variable table_name DN_DB_OBJECT;
  BEGIN
    SUCCESS = False;
    cat_name = null;
    table_name = null;
    
    relation_name = Upper(ACatalogname);
    cat_comment = AComment;  
    domain_name = ADomain;
  
    /* Katalog anlegen */
    select SUCCESS, CATALOGNAME, TABLENAME 
    from SP_CREATE_TBL_CATALOG(:relation_name, :domain_name, :cat_comment, True) 
    into :SUCCESS, :cat_name, :table_name; 
   
    /* Standardview anlegen */
    if (SUCCESS = True) then
      select SUCCESS 
      from SP_CREATE_STD_TABLE_VIEW(:table_name, False) 
      into :SUCCESS;
    
    /* Sequence anlegen */
    if (SUCCESS = True) then
      select SUCCESS 
      from SP_CREATE_SEQUNECE(:table_name) 
      into :SUCCESS;
     
    /* Trigger anlegen */
    if (SUCCESS = True) then
      select SUCCESS 
      from SP_CREATE_TRIGGER_BI(:table_name) 
      into :SUCCESS;
    
    if (SUCCESS = True) then
      select SUCCESS 
      from SP_CREATE_TRIGGER_BU(:table_name) 
      into :SUCCESS;
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_STAMP (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  declare variable relation_name DN_DB_OBJECT;
  --- declare variable sql_stmt DN_SQL_STMT;
  begin
    SUCCESS = False;
    
    relation_name = ATablename;
  
    if (exists(select 1 
               from RDB$RELATION_FIELDS 
               where RDB$FIELD_NAME='CRE_USER' and RDB$RELATION_NAME=:relation_name)) 
    then
    begin
      SUCCESS = False;
    end
    else
    begin
      /*
      sql_stmt = 
        'ALTER TABLE ' || :relation_name || ' ADD CRE_USER DN_FIREBIRD_USER, ADD CRE_DATE DN_CURRENT_TIMESTAMP, ' ||
        'ADD CHG_USER DN_FIREBIRD_USER, ADD CHG_DATE DN_TIMESTAMP';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :relation_name || ' ADD CRE_USER DN_FIREBIRD_USER, ADD CRE_DATE DN_CURRENT_TIMESTAMP, ' ||
        'ADD CHG_USER DN_FIREBIRD_USER, ADD CHG_DATE DN_TIMESTAMP');
      
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CRE_USER IS ''Erstellt von''';
      execute statement sql_stmt;
      */

      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CRE_USER IS ''Erstellt von''');
  
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CRE_DATE IS ''Erstellt am''';
      execute statement sql_stmt;
      */

      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CRE_DATE IS ''Erstellt am''');
  
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CHG_USER IS ''Geändert von''';
      execute statement sql_stmt;
      */

      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CHG_USER IS ''Geändert von''');
  
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.CHG_DATE IS ''Geändert am''';    
      execute statement sql_stmt;
      */    

      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.CHG_DATE IS ''Geändert am''');
            
      SUCCESS = True;  
    end      
  
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_FIELD_DESCRIPTION (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  declare variable relation_name DN_DB_OBJECT;
  --- declare variable sql_stmt DN_SQL_STMT;
  begin
    SUCCESS = False;
    
    relation_name = ATablename;
  
    if (exists(select 1 
               from RDB$RELATION_FIELDS 
               where RDB$FIELD_NAME='DESCRIPTION' and RDB$RELATION_NAME=:relation_name)) 
    then
    begin
      SUCCESS = False;
    end
    else
    begin
      /*
      sql_stmt = 'ALTER TABLE ' || :relation_name || ' ADD DESCRIPTION DN_DESCRIPTION';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :relation_name || ' ADD DESCRIPTION DN_DESCRIPTION');
      
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :relation_name || '.DESCRIPTION IS ''Beschreibung''';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :relation_name || '.DESCRIPTION IS ''Beschreibung''');      
  
      SUCCESS = True;  
    end      
  
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_TABLE_COMMENT (
    ATablename DN_DB_OBJECT,
    AComment DN_COMMENT)
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  declare variable relation_name DN_DB_OBJECT;
  --- declare variable sql_stmt DN_SQL_STMT;
  begin
    SUCCESS = False;
    
    relation_name = ATablename;
  
    if (not exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME=:relation_name)) then
    begin
      SUCCESS = False;
    end
    else
    begin
      /*
      sql_stmt = 'COMMENT ON TABLE ' || :relation_name || ' IS ''' || :AComment || '''';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON TABLE ' || :relation_name || ' IS ''' || :AComment || '''');
  
      SUCCESS = True;  
    end      
  
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_PRIMARY_CONSTRAINT (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  declare variable relation_name DN_DB_OBJECT;
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable determined DN_BOOLEAN;
  begin
    SUCCESS = False;
    
    if (not exists(select 1 
                   from RDB$RELATION_FIELDS 
                   where RDB$FIELD_NAME='ID' and RDB$RELATION_NAME=:ATablename)) 
    then
    begin
      SUCCESS = False;
    end
    else
    begin
      determined = False;
      relation_name = null;
  
      select DETERMINED, TABLENAME
      from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
      into :determined, :relation_name;
        
      if (:determined = False) then
        relation_name = ATablename;    
    
      /*
      sql_stmt = 'ALTER TABLE ' || :ATablename || ' ADD CONSTRAINT PK_' || :relation_name ||
        ' PRIMARY KEY (ID)';      
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :ATablename || ' ADD CONSTRAINT PK_' || :relation_name ||
        ' PRIMARY KEY (ID)');
      
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :ATablename || '.ID IS ''Primärschlüssel''';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :ATablename || '.ID IS ''Primärschlüssel''');      
      
      SUCCESS = True;  
    end      
  
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_COMPLETE_TABLE (
    ATablename DN_DB_OBJECT,
    ADoDescription DN_BOOLEAN,
    ADoStamp DN_BOOLEAN,
    ADoComment DN_BOOLEAN,
    AComment DN_COMMENT, 
    ADoPK DN_BOOLEAN)
  RETURNS (
    SUCCESS DN_BOOLEAN)  
  AS
  declare variable table_name DN_DB_OBJECT;
  begin
    SUCCESS = False;
    
    table_name = ATablename;
    
    /* Beschreibung anlegen */
    if (:ADoDescription = True) then
    begin
      select SUCCESS
      from SP_CREATE_FIELD_DESCRIPTION(:table_name)
      into :SUCCESS;
        
      if (SUCCESS = False) then
      begin
        suspend;
        exit;
      end  
     end   
    
    /* Stempel anlegen */
    if (:ADoStamp = True) then
    begin
      select SUCCESS
      from SP_CREATE_STAMP(:table_name) 
      into :SUCCESS;
        
      if (SUCCESS = False) then
      begin
        suspend;
        exit;
      end      
    end      
      
    /* Kommentar anlegen */    
    if ((:ADoComment = True) and (Trim(AComment) <> '')) then
    begin
      select SUCCESS
      from SP_CREATE_TABLE_COMMENT(:table_name, :AComment)
      into :SUCCESS;
        
      if (SUCCESS = False) then
      begin
        suspend;
        exit;
      end      
    end      
        
    /* Primärschlüssel anlegen */
    if (:ADoPK = True) then
    begin
      select SUCCESS
      from SP_CREATE_PRIMARY_CONSTRAINT(:table_name)
      into :SUCCESS;
  
      if (SUCCESS = False) then
      begin
        suspend;
        exit;
      end      
    end          
    
    /* Standardview anlegen */
    if (SUCCESS = True) then
      select SUCCESS 
      from SP_CREATE_STD_TABLE_VIEW(:table_name, False) 
      into :SUCCESS;
    
    /* Sequence anlegen */
    if ((SUCCESS = True) and (:ADoPK = True)) then
      select SUCCESS 
      from SP_CREATE_SEQUNECE(:table_name) 
      into :SUCCESS;
     
    /* Trigger anlegen */
    if ((SUCCESS = True) and (:ADoPK = True)) then
      select SUCCESS 
      from SP_CREATE_TRIGGER_BI(:table_name) 
      into :SUCCESS;
    
    if ((SUCCESS = True) and (:ADoStamp = True)) then  
      select SUCCESS 
      from SP_CREATE_TRIGGER_BU(:table_name) 
      into :SUCCESS;
    
    suspend; 
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CHECK_COMMAND (
    AGenCommand DN_SDDL_COMMAND,
    AFieldDescription DN_DB_COMMENT)
  RETURNS (
    DETERMINED DN_BOOLEAN,
    FIELDDESCRIPTION DN_DB_COMMENT,
    TABLENAME DN_DB_OBJECT,
    FIELDNAME DN_DB_OBJECT,
    REQUIRED DN_SQL_STMT)
  AS
  declare variable gen_command DN_SDDL_COMMAND;
  declare variable idx DN_COUNT;
  declare variable idx2 DN_COUNT;
  declare variable idx3 DN_COUNT;
  declare variable idx4 DN_COUNT;
  declare variable idx5 DN_COUNT;
  declare variable len DN_DIMENSION;
  declare variable field_description DN_DB_COMMENT;
  declare variable field_name DN_SDDL_COMMAND;
  begin
    DETERMINED = False;
    FIELDDESCRIPTION = AFieldDescription;
    TABLENAME = null;
    FIELDNAME = null;
    REQUIRED = null;  
    
    gen_command = AGenCommand;
    field_description = AFieldDescription;
    
    /*--------------------------------------------------------------------------------------------*/
    gen_command = '{UNIQUE.KEY}';
    if (gen_command = Trim(Upper(AGenCommand))) then
    begin
      idx = position(:gen_command in Trim(Upper(:field_description)));
      if (idx = 1) then
       begin
         len = char_length(:gen_command);
         FIELDDESCRIPTION = substring(:field_description from len+1);
         
         if (Trim(FIELDDESCRIPTION) = '') then
           FIELDDESCRIPTION = 'Alternativer Primärschlüssel';
         
         DETERMINED = True;
         
         suspend;
         exit;
       end  
    end
    
    /*--------------------------------------------------------------------------------------------*/
    gen_command = '{UNIQUE.IDX}';
    if (gen_command = Trim(Upper(AGenCommand))) then
    begin
      idx = position(:gen_command in Trim(Upper(:field_description)));
      if (idx = 1) then
       begin
         len = char_length(:gen_command);
         FIELDDESCRIPTION = substring(:field_description from len+1);
         
         if (Trim(FIELDDESCRIPTION) = '') then
           FIELDDESCRIPTION = 'Quelle für einen eindeutigen Einspalten-Index';
         
         DETERMINED = True;
         
         suspend;
         exit;
       end  
    end   
    
    /*--------------------------------------------------------------------------------------------*/
    gen_command = '{FK:=';
    if (gen_command = Trim(Upper(AGenCommand))) then
    begin
      idx = position(:gen_command in Trim(Upper(:field_description)));
      if (idx = 1) then
       begin
         idx2 = position('}' in Trim(Upper(:field_description)));     
          
         if (idx2 > 0) then 
         begin 
           gen_command = substring(field_description from 1 for idx2);
              
           len = char_length(:gen_command);
           FIELDDESCRIPTION = substring(:field_description from len+1);
           
           idx3 = position('=' in gen_command);
           
           if (idx3 = 5) then 
           begin 
             field_name = substring(gen_command from idx3+1 for (idx2-(idx3+1)));
             
             idx4 = position('.' in field_name);
             idx5 = position(';' in field_name);
             if (idx5 > 0) then
             begin
               len = char_length(:field_name);
               
               REQUIRED = Upper(Trim(substring(:field_name from idx5+1 for len)));
               field_name = substring(:field_name from 1 for idx5-1);
             end
             else
               REQUIRED = 'DCUC';
             
             len = char_length(:field_name);
             
             FIELDNAME = substring(:field_name from idx4+1 for len);
             TABLENAME = substring(:field_name from 1 for idx4-1);
           
             if (Trim(FIELDDESCRIPTION) = '') then
               FIELDDESCRIPTION = 'Fremdschlüssel der Tabelle ' || TABLENAME;
           
             DETERMINED = True;
          
             suspend;
             exit;                  
           end        
         end
       end  
    end
    
    /*--------------------------------------------------------------------------------------------*/
    --gen_command = '{REL:='; 
    
    /*--------------------------------------------------------------------------------------------*/
    --gen_command = '{CAT:=';
    
    suspend;     
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_UNIQUE_KEY(
    ATablename DN_DB_OBJECT,
    AFieldname DN_DB_OBJECT,
    AFieldDescription DN_DB_COMMENT)
  RETURNS (  
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE)
  AS
  declare variable determined DN_BOOLEAN;
  declare variable table_name DN_DB_OBJECT;
  declare variable index_name DN_DB_OBJECT;
  declare variable index_name_fix DN_SDDL_COMMAND;
  declare variable constraint_name DN_DB_OBJECT;
  declare variable constraint_name_fix DN_SDDL_COMMAND;
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable counter DN_COUNT;
  begin
    SUCCESS = False;
    LOG_MESSAGE = null; 
  
    /* Ist auf dem Feld schon ein Unique Constraint vorhanden? */
    if (not exists(select 1
                   from RDB$RELATION_CONSTRAINTS a, RDB$INDEX_SEGMENTS b
                   where a.RDB$RELATION_NAME=:ATablename
                   and b.RDB$FIELD_NAME=:AFieldname  
                   and a.RDB$CONSTRAINT_TYPE = 'UNIQUE'
                   and b.RDB$INDEX_NAME=a.RDB$INDEX_NAME))
    then
    begin
  
      determined = False;
      table_name = null;
      
      select DETERMINED, TABLENAME
      from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
      into :determined, :table_name;
        
      if (:determined = False) then
        table_name = ATablename;  
        
      /* Eindeutigen Unique-Constraint-Namen finden */  
      constraint_name_fix = 'ALT_' || :table_name;    
      constraint_name = Trim(substring(constraint_name_fix from 1 for 31));
      counter = 0;
      while (exists(select 1 
                    from RDB$RELATION_CONSTRAINTS 
                    where RDB$CONSTRAINT_NAME =:constraint_name)) 
      do
      begin
        counter = counter + 1;        
        constraint_name = Trim(substring(constraint_name_fix from 1 for 30)) || 
          Trim(CAST(counter AS varchar(4)));
      end
      
      /* Eindeutigen Index-Namen finden */
      index_name_fix = 'ALT_IDX_' || :table_name;   
      index_name = Trim(substring(index_name_fix from 1 for 31));    
      counter = 0;
      while (exists(select 1 
                    from RDB$INDEX_SEGMENTS 
                    where RDB$INDEX_NAME =:index_name)) 
      do
      begin
        counter = counter + 1;  
        index_name = Trim(substring(index_name_fix from 1 for 30)) || 
          Trim(CAST(counter AS varchar(4)));      
      end    
      
      /*
      sql_stmt = 'ALTER TABLE ' || :ATablename || ' ADD CONSTRAINT ' || :constraint_name || 
        ' UNIQUE (' || :AFieldname ||') USING INDEX ' || :index_name;         
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :ATablename || ' ADD CONSTRAINT ' || :constraint_name || 
        ' UNIQUE (' || :AFieldname ||') USING INDEX ' || :index_name);
        
      /*                                                                         
      sql_stmt = 'COMMENT ON COLUMN ' || :ATablename || '.' || :AFieldname || ' IS ''' || 
        :AFieldDescription || '''';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :ATablename || '.' || :AFieldname || ' IS ''' || 
        :AFieldDescription || '''');          
      
      SUCCESS = True;
      LOG_MESSAGE = 'Ok';
    end
    begin
      SUCCESS = True;
      LOG_MESSAGE = 'Ein Unique Constraint für Tabelle ' || Trim(:ATablename) || ' für die Spalte ' || 
        Trim(:AFieldname) || ' ist schon vorhanden';
    end
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_UNIQUE_IDX(
    ATablename DN_DB_OBJECT,
    AFieldname DN_DB_OBJECT,
    AFieldDescription DN_DB_COMMENT)
  RETURNS (  
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE)
  AS
  declare variable determined DN_BOOLEAN;
  declare variable table_name DN_DB_OBJECT;
  declare variable index_name DN_DB_OBJECT;
  declare variable index_name_fix DN_SDDL_COMMAND;
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable counter DN_COUNT;
  begin
    SUCCESS = False;
    LOG_MESSAGE = null; 
    
    /* Ist auf dem Feld schon ein eindeutiger Einspalten-Index vorhanden? */
    if (not exists(select 1 
                   from RDB$RELATION_FIELDS a
                        join RDB$INDICES b on (a.RDB$RELATION_NAME=b.RDB$RELATION_NAME)
                        join RDB$INDEX_SEGMENTS c on (b.RDB$INDEX_NAME=c.RDB$INDEX_NAME)
                   where (a.RDB$SYSTEM_FLAG=0
                         and a.RDB$FIELD_NAME=:ATablename
                         and a.RDB$RELATION_NAME=:AFieldname) 
                   and (b.RDB$SYSTEM_FLAG=0
                        and b.RDB$UNIQUE_FLAG=1
                        and b.RDB$SEGMENT_COUNT=1)  
                   and (c.RDB$FIELD_NAME=a.RDB$FIELD_NAME)))
    then
    begin  
      determined = False;
      table_name = null;
      select
        DETERMINED,
        TABLENAME
      from
        SP_EXTRACT_TABLENAME(:ATablename,
          'TB')
      into
        :determined,
        :table_name;
        
      if (:determined = False) then
        table_name = ATablename;  
          
      /* Eindeutigen Index-Namen finden */
      index_name_fix = 'UNQ_IDX_' || :table_name;   
      index_name = Trim(substring(index_name_fix from 1 for 31));    
      counter = 0;
      while (exists(select 1 
                    from RDB$INDEX_SEGMENTS 
                    where RDB$INDEX_NAME =:index_name)) 
      do
      begin
        counter = counter + 1;  
        index_name = Trim(substring(index_name_fix from 1 for 30)) || 
          Trim(CAST(counter AS varchar(4)));      
      end    
      
      /*
      sql_stmt = 'CREATE UNIQUE INDEX ' || :index_name || ' ON ' || :ATablename || ' ('|| :AFieldname || ')' ;   
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('CREATE UNIQUE INDEX ' || :index_name || ' ON ' || :ATablename || ' ('|| :AFieldname || ')');
        
      /*                                                                         
      sql_stmt = 'COMMENT ON COLUMN ' || :ATablename || '.' || :AFieldname || ' IS ''' || 
        :AFieldDescription || '''';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :ATablename || '.' || :AFieldname || ' IS ''' || 
        :AFieldDescription || '''');          
      
      SUCCESS = True;
      LOG_MESSAGE = 'Ok';
    end
    begin
      SUCCESS = True;
      LOG_MESSAGE = 'Ein eindeutiger Einspalten-Index für Tabelle ' || Trim(:ATablename) || ' für die Spalte ' || 
        Trim(:AFieldname) || ' ist schon vorhanden';
    end
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_FOREIGN_KEY(
    ATablename DN_DB_OBJECT,
    AFieldname DN_DB_OBJECT,
    AFieldDescription DN_DB_COMMENT,
    AFKTablename DN_DB_OBJECT,
    AFKFieldname DN_DB_OBJECT,
    ACondition DN_SQL_STMT)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE)
  AS
  declare variable constraint_name DN_DB_OBJECT;
  declare variable constraint_name_fix DN_SDDL_COMMAND;
  declare variable table_name DN_DB_OBJECT;
  declare variable fk_table_name DN_DB_OBJECT;
  declare variable short_relation_name DN_DB_OBJECT;
  declare variable counter DN_COUNT;
  declare variable determined DN_BOOLEAN;
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable fk_condition DN_SQL_STMT;
  begin
    SUCCESS = False;
    LOG_MESSAGE = null;
    
    /* Ist auf dem Feld schon ein Unique Constraint vorhanden? */  
    if (not exists(select 1
                   from RDB$RELATION_CONSTRAINTS a, RDB$INDEX_SEGMENTS b
                   where a.RDB$RELATION_NAME=:ATablename
                   and b.RDB$FIELD_NAME=:AFieldname  
                   and a.RDB$CONSTRAINT_TYPE = 'FOREIGN KEY'
                   and b.RDB$INDEX_NAME=a.RDB$INDEX_NAME))
    then
    begin      
      determined = False;
      table_name = null;
      
      select DETERMINED, TABLENAME
      from SP_EXTRACT_TABLENAME(:ATablename, 'TB')
      into :determined, :table_name;
        
      if (:determined = False) then
        table_name = ATablename;  
    
      determined = False;
      fk_table_name = null;
      
      select DETERMINED, TABLENAME
      from SP_EXTRACT_TABLENAME(:AFKTablename, 'TB')
      into :determined, :fk_table_name;
        
      if (:determined = False) then
        fk_table_name = AFKTablename;    
      
      /* Existiert ein Primär- bzw. Unique-Key auf der engegebenen Spalte? */
      if (not exists(select 1
                     from RDB$RELATION_CONSTRAINTS a, RDB$INDEX_SEGMENTS b
                     where a.RDB$RELATION_NAME=:AFKTablename
                     and b.RDB$FIELD_NAME=:AFKFieldname  
                     and a.RDB$CONSTRAINT_TYPE in ('UNIQUE', 'PRIMARY KEY')
                     and b.RDB$INDEX_NAME=a.RDB$INDEX_NAME))
      then
      begin
        /* Wenn nicht, dann alle Constraints der Zieltabelle zuerst anlegen */
        for
        select SUCCESS, LOG_MESSAGE
        from SP_CREATE_CONSTRAINTS(:AFKTablename)
        into :SUCCESS, :LOG_MESSAGE
        do
        begin
          /* 
             Prüfen ob bei SUCCESS=FALSE abgebrochen werden soll. s. folgende Zeilen 
             Prüfung: Da es vorkommen kann das die SP_CREATE_CONSTRAINTS kein Resultset zurück liefert,
                      ist es nicht sinnvoll inherhalb des begin-end Blockes SUCCESS auf False abzugragen
          */           
        end
          
        if (SUCCESS = False) then
        begin
          LOG_MESSAGE = 'Für die Tabelle ' || Trim(:AFKTablename) || ' konnte kein Constraint mit der Spalte ' || 
            Trim(:AFKFieldname) || ' angelegt werden';
            
          suspend;  
          exit;
        end
      end
                                    
      short_relation_name = Upper(substring(table_name from 1 for 1) || substring(fk_table_name from 1 for 1));
    
      /* Eindeutigen Foreign-Constraint-Namen finden */
      constraint_name_fix = 'FK_' || :short_relation_name || '_' || table_name;
      constraint_name = Trim(substring(constraint_name_fix from 1 for 31));  
      counter = 0;
      
      while (exists(select 1 from RDB$RELATION_CONSTRAINTS where RDB$CONSTRAINT_NAME =:constraint_name)) do
      begin
        counter = counter + 1;  
        constraint_name = Trim(substring(constraint_name_fix from 1 for 30)) || 
          Trim(CAST(counter AS varchar(4)));
      end
    
      ACondition = Upper(Trim(ACondition));
    
      if (ACondition = 'DCUC') then
        fk_condition = 'DELETE CASCADE ON UPDATE CASCADE';
      else        
      if (ACondition = 'DNUC') then
        fk_condition = 'DELETE SET NULL ON UPDATE CASCADE';
      else
      if (ACondition = 'DCUN') then
        fk_condition = 'DELETE CASCADE ON UPDATE SET NULL';
      else
      if (ACondition = 'DNUN') then
        fk_condition = 'DELETE SET NULL ON UPDATE SET NULL';
      else  
        fk_condition = 'DELETE CASCADE ON UPDATE CASCADE';
    
      /*
      sql_stmt = 'ALTER TABLE ' || :ATablename || ' ADD CONSTRAINT ' || :constraint_name || 
        ' FOREIGN KEY (' || :AFieldname || ') REFERENCES ' || :AFKTablename || ' (' || :AFKFieldname || 
        ') ON ' || :fk_condition; ---||DELETE SET NULL ON UPDATE CASCADE';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('ALTER TABLE ' || :ATablename || ' ADD CONSTRAINT ' || :constraint_name || 
        ' FOREIGN KEY (' || :AFieldname || ') REFERENCES ' || :AFKTablename || ' (' || :AFKFieldname || 
        ') ON ' || :fk_condition);
    
      /*
      sql_stmt = 'COMMENT ON COLUMN ' || :ATablename || '.' || :AFieldname || ' IS ''' || 
          :AFieldDescription || '''';
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('COMMENT ON COLUMN ' || :ATablename || '.' || :AFieldname || ' IS ''' || 
          :AFieldDescription || '''');
      
      SUCCESS = True;
      LOG_MESSAGE = 'Ok';
    end
    else
    begin
      SUCCESS = True;
      LOG_MESSAGE = 'Ein Foregin Constraint für Tabelle ' || Trim(:ATablename) || ' für die Spalte ' || 
        Trim(:AFieldname) || ' ist schon vorhanden';
    end
    
    suspend;
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_CONSTRAINTS (
    ATablename DN_DB_OBJECT)
  RETURNS (
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE)
  AS
  declare table_name DN_DB_OBJECT;
  declare field_description DN_DB_COMMENT;
  declare field_name DN_DB_OBJECT;
  declare gen_command DN_SDDL_COMMAND;
  declare idx DN_COUNT;
  declare len DN_DIMENSION;
  declare fk_table_name DN_DB_OBJECT;
  declare fk_field_name DN_DB_OBJECT;
  declare found_command_unique_key DN_BOOLEAN;
  declare found_command_foreign_key DN_BOOLEAN;
  declare found_command_unique_idx DN_BOOLEAN;
  declare found_command_relation DN_BOOLEAN;
  declare found_command_catalog DN_BOOLEAN;
  declare first_try DN_BOOLEAN;
  declare fk_condition DN_SQL_STMT;
  begin
    SUCCESS = False;
    LOG_MESSAGE = null;
    
    table_name = ATablename;
    
    if (exists(select 1 from RDB$RELATIONS where RDB$RELATION_NAME=:ATablename)) then
    begin
      for
      select Trim(RDB$FIELD_NAME), cast(Trim(RDB$DESCRIPTION) as VARCHAR(4000))
      from RDB$RELATION_FIELDS 
      where UPPER(RDB$RELATION_NAME)=UPPER(:ATablename)
      order by RDB$FIELD_POSITION   
      into :field_name, :field_description
      do
      begin
        SUCCESS = False;
        LOG_MESSAGE = null;
        first_try = True;
        found_command_foreign_key = False;
        found_command_unique_key = False;
        found_command_relation = False;
        found_command_catalog = False;
        
        while ((found_command_foreign_key <> False) or 
               (found_command_unique_key <> False) or
               (found_command_relation <> False) or
               (found_command_catalog <> False) or                
               (:first_try = True)) 
        do
        begin
          first_try = False;
             
          /*--------------------------------------------------------------------------------------*/
          gen_command = '{UNIQUE.KEY}';
          
          found_command_unique_key = False;
          fk_table_name = null;
          fk_field_name = null;
          
          select DETERMINED, FIELDDESCRIPTION, TABLENAME, FIELDNAME
          from SP_CHECK_COMMAND (:gen_command, :field_description)
          into :found_command_unique_key, :field_description, :fk_table_name, :fk_field_name;
    
          if (:found_command_unique_key = True) then
          begin         
            select SUCCESS, LOG_MESSAGE
            from SP_CREATE_UNIQUE_KEY(:table_name, :field_name, :field_description)
            into :SUCCESS, :LOG_MESSAGE;
            
            SUSPEND;
          end
          
          /*--------------------------------------------------------------------------------------*/          
          gen_command = '{UNIQUE.IDX}';
          
          found_command_unique_idx = False;
          fk_table_name = null;
          fk_field_name = null;
          
          select DETERMINED, FIELDDESCRIPTION, TABLENAME, FIELDNAME
          from SP_CHECK_COMMAND (:gen_command, :field_description)
          into :found_command_unique_idx, :field_description, :fk_table_name, :fk_field_name;
    
          if (:found_command_unique_idx = True) then
          begin         
            select SUCCESS, LOG_MESSAGE
            from SP_CREATE_UNIQUE_IDX(:table_name, :field_name, :field_description)
            into :SUCCESS, :LOG_MESSAGE;
            
            SUSPEND;
          end        
    
          /*--------------------------------------------------------------------------------------*/    
          gen_command = '{FK:=';
          
          found_command_foreign_key = False;        
          fk_table_name = null;
          fk_field_name = null;
          
          select DETERMINED, FIELDDESCRIPTION, TABLENAME, FIELDNAME, REQUIRED
          from SP_CHECK_COMMAND (:gen_command, :field_description)
          into :found_command_foreign_key, :field_description, :fk_table_name, :fk_field_name, :fk_condition;
            
          if (:found_command_foreign_key = True) then
          begin         
            select SUCCESS, LOG_MESSAGE
            from SP_CREATE_FOREIGN_KEY(:table_name,
                   :field_name,
                   :field_description,
                   :fk_table_name,
                   :fk_field_name,
                   :fk_condition)
            into :SUCCESS, :LOG_MESSAGE;
            
            SUSPEND;
          end
          
          /*--------------------------------------------------------------------------------------*/
          gen_command = '{CAT:=';

          found_command_catalog = False;        
          fk_table_name = null;
          fk_field_name = null;
          
          select DETERMINED, FIELDDESCRIPTION, TABLENAME, FIELDNAME, REQUIRED
          from SP_CHECK_COMMAND (:gen_command, :field_description)
          into :found_command_catalog, :field_description, :fk_table_name, :fk_field_name, :fk_condition;
          
--           if (:found_command_catalog = True) then
--           begin         
--             select SUCCESS, LOG_MESSAGE
--             from SP_CREATE_CATALOG_BY_FIELD()
--             into :SUCCESS, :LOG_MESSAGE;
--             
--             SUSPEND;
--           end

          /*--------------------------------------------------------------------------------------*/
          gen_command = '{REL:=';

          found_command_relation = False;        
          fk_table_name = null;
          fk_field_name = null;
          
          select DETERMINED, FIELDDESCRIPTION, TABLENAME, FIELDNAME, REQUIRED
          from SP_CHECK_COMMAND (:gen_command, :field_description)
          into :found_command_relation, :field_description, :fk_table_name, :fk_field_name, :fk_condition;
          
--           if (:found_command_relation = True) then
--           begin         
--             select SUCCESS, LOG_MESSAGE
--             from SP_CREATE_RELATION_BY_FIELD()
--             into :SUCCESS, :LOG_MESSAGE;
--             
--             SUSPEND;
--           end
          
          
        end                     
      end   
    end
    else
    begin
      LOG_MESSAGE = :ATablename || ' ist nicht vorhanden';
      
      suspend;
    end
  end  
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CREATE_ALL_CONSTRAINTS
  RETURNS (
    SUCCESS DN_BOOLEAN,
    LOG_MESSAGE DN_MESSAGE)
  AS
  declare variable table_name DN_DB_OBJECT;
  begin
    for
    select distinct rn.RDB$RELATION_NAME
    from RDB$RELATIONS rn, RDB$TYPES t
    where rn.RDB$SYSTEM_FLAG = 0
    and rn.RDB$RELATION_TYPE=t.RDB$TYPE
    and ((t.RDB$TYPE_NAME='RELATION')
         or
         (t.RDB$TYPE_NAME='GLOBAL_TEMPORARY_DELETE')) 
      
    into :table_name  
    do
    begin
      for
      select SUCCESS, LOG_MESSAGE
      from SP_CREATE_CONSTRAINTS(:table_name)
      into :SUCCESS, :LOG_MESSAGE
      do
      begin
        suspend;
      end  
    end 
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_VIEW (
    ADBObject DN_DB_OBJECT,  
    AAllRole DN_DB_OBJECT DEFAULT 'SDDL_ALL',
    ADeleteRole DN_DB_OBJECT DEFAULT 'SDDL_DELETE',
    APublicRole DN_DB_OBJECT DEFAULT 'SDDL_PUBLIC')
  AS
  -- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  begin 
    if (position(Upper('VR') in Upper(:ADBObject)) = 1) then
    begin
      /*
      sql_stmt = 'GRANT SELECT ON ' || :ADBObject || ' TO ' || :AAllRole;
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('GRANT SELECT ON ' || :ADBObject || ' TO ' || :AAllRole);
      
      /*
      sql_stmt = 'GRANT SELECT ON ' || :ADBObject || ' TO ' || :APublicRole;
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('GRANT SELECT ON ' || :ADBObject || ' TO ' || :APublicRole);      
    end  
    else
    begin
      /*
      sql_stmt = 'GRANT SELECT, INSERT, UPDATE, DELETE ON ' || :ADBObject || ' TO ' || :AAllRole;
      execute statement sql_stmt;
      */

      execute
      procedure PKG_SQL.SP_EXECUTE('GRANT SELECT, INSERT, UPDATE, DELETE ON ' || :ADBObject || ' TO ' || :AAllRole);      
      
      /*
      sql_stmt = 'GRANT SELECT, INSERT, UPDATE ON ' || :ADBObject || ' TO ' || :APublicRole;
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('GRANT SELECT, INSERT, UPDATE ON ' || :ADBObject || ' TO ' || :APublicRole);

      /*
      sql_stmt = 'GRANT DELETE ON ' || :ADBObject || ' TO ' || :ADeleteRole;
      execute statement sql_stmt;
      */
      
      execute
      procedure PKG_SQL.SP_EXECUTE('GRANT DELETE ON ' || :ADBObject || ' TO ' || :ADeleteRole);      
    end
    
    /*
    sql_stmt = 'GRANT SELECT ON ' || :ADBObject || ' TO PUBLIC';
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT SELECT ON ' || :ADBObject || ' TO PUBLIC');   
            
    for 
    select RDB$RELATION_NAME
    from RDB$VIEW_RELATIONS  
    where RDB$VIEW_NAME=:ADBObject
    into :relation_name
    do
    begin
      --- sql_stmt = null;
      
      /*
      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then 
        sql_stmt = 'GRANT SELECT ON ' || :relation_name || ' TO ' || :ADBObject;
      else
      if (position(Upper('VW') in Upper(Trim(:relation_name))) = 1) then            
        sql_stmt = 'GRANT SELECT, INSERT, UPDATE, DELETE ON ' || :relation_name || ' TO ' || :ADBObject;
      else
      if (position(Upper('T') in Upper(Trim(:relation_name))) = 1) then
      begin 
        if (position(Upper('VR') in Upper(:ADBObject)) = 1) then
          sql_stmt = 'GRANT SELECT ON ' || Trim(:relation_name) || ' TO ' || :ADBObject;
        else
          sql_stmt = 'GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO ' || :ADBObject;    
      end
      */
      
      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then 
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT ON ' || :relation_name || ' TO ' || :ADBObject);
      else
      if (position(Upper('VW') in Upper(Trim(:relation_name))) = 1) then            
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT, INSERT, UPDATE, DELETE ON ' || :relation_name || ' TO ' || :ADBObject);       
      else
      if (position(Upper('T') in Upper(Trim(:relation_name))) = 1) then
      begin 
        if (position(Upper('VR') in Upper(:ADBObject)) = 1) then
          execute
          procedure PKG_SQL.SP_SET('GRANT SELECT ON ' || Trim(:relation_name) || ' TO ' || :ADBObject);                
        else
          execute
          procedure PKG_SQL.SP_SET('GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO ' || :ADBObject);                             
      end
    
      /*
      if (sql_stmt is not null) then
        execute statement sql_stmt;
      */  
      
      if (PKG_SQL.SF_IS_AVAILABLE() = True) then  
        execute
        procedure PKG_SQL.SP_EXECUTE;
    end  
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_SEQ (
    ADBObject DN_DB_OBJECT,  
    AAllRole DN_DB_OBJECT DEFAULT 'SDDL_ALL',
    APublicRole DN_DB_OBJECT DEFAULT 'SDDL_PUBLIC')
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  begin 
    /*
    sql_stmt = 'GRANT USAGE ON SEQUENCE ' || :ADBObject || ' TO ' || :AAllRole;
    execute statement sql_stmt;
    */    
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT USAGE ON SEQUENCE ' || :ADBObject || ' TO ' || :AAllRole);
  
    /*
    sql_stmt = 'GRANT USAGE ON SEQUENCE ' || :ADBObject || ' TO ' || :APublicRole;   
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT USAGE ON SEQUENCE ' || :ADBObject || ' TO ' || :APublicRole);      
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_EXC (
    ADBObject DN_DB_OBJECT,  
    AAllRole DN_DB_OBJECT DEFAULT 'SDDL_ALL',
    APublicRole DN_DB_OBJECT DEFAULT 'SDDL_PUBLIC')
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  begin 
    /*
    sql_stmt = 'GRANT USAGE ON EXCEPTION ' || :ADBObject || ' TO ' || :AAllRole;
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT USAGE ON EXCEPTION ' || :ADBObject || ' TO ' || :AAllRole);        
    
    /*
    sql_stmt = 'GRANT USAGE ON EXCEPTION ' || :ADBObject || ' TO ' || :APublicRole;   
    execute statement sql_stmt;
    */  
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT USAGE ON EXCEPTION ' || :ADBObject || ' TO ' || :APublicRole);      
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_SP (
    ADBObject DN_DB_OBJECT_EXT,  
    AAllRole DN_DB_OBJECT DEFAULT 'SDDL_ALL',
    APublicRole DN_DB_OBJECT DEFAULT 'SDDL_PUBLIC',
    AAllowHistory DN_BOOLEAN = True)
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  begin 
    /*
    sql_stmt = 'GRANT EXECUTE ON PROCEDURE ' || :ADBObject || ' TO ' || :AAllRole;
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PROCEDURE ' || :ADBObject || ' TO ' || :AAllRole);
    
    /*
    sql_stmt = 'GRANT EXECUTE ON PROCEDURE ' || :ADBObject || ' TO ' || :APublicRole;
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PROCEDURE ' || :ADBObject || ' TO ' || :APublicRole);      
    
    for
    select a.RDB$DEPENDED_ON_NAME
    from RDB$DEPENDENCIES a 
    where RDB$DEPENDENT_NAME = :ADBObject
    and a.RDB$DEPENDED_ON_NAME like 'V%'  
    into :relation_name
    do
    begin
      /* Eventuell zuerst prüfen ob :relation_name tatsächlich eine VIEW ist */
    
      /*
      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then
        sql_stmt = 'GRANT SELECT ON ' || Trim(:relation_name) || ' TO PROCEDURE ' || :ADBObject;
      else
        sql_stmt = 'GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO PROCEDURE ' || :ADBObject;        
          
      execute statement sql_stmt;  
      */
      
      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT ON ' || Trim(:relation_name) || ' TO PROCEDURE ' || :ADBObject);
      else
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO PROCEDURE ' || :ADBObject);                    
      
      execute
      procedure PKG_SQL.SP_EXECUTE;
    
      if (:AAllowHistory = True) then
      begin
        /*
        sql_stmt = 'GRANT EXECUTE ON PACKAGE PKG_HISTORY TO PROCEDURE ' || :ADBObject;
        execute statement sql_stmt;
        */
        
        execute
        procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PACKAGE PKG_HISTORY TO PROCEDURE ' || :ADBObject);                  
      end
    end
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_SF (
    ADBObject DN_DB_OBJECT_EXT,  
    AAllRole DN_DB_OBJECT DEFAULT 'SDDL_ALL',
    APublicRole DN_DB_OBJECT DEFAULT 'SDDL_PUBLIC',
    AAllowHistory DN_BOOLEAN = True)
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  begin
    /*
    sql_stmt = 'GRANT EXECUTE ON FUNCTION ' || :ADBObject || ' TO ' || :AAllRole;
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON FUNCTION ' || :ADBObject || ' TO ' || :AAllRole);
    
    /*
    sql_stmt = 'GRANT EXECUTE ON FUNCTION ' || :ADBObject || ' TO ' || :APublicRole;
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON FUNCTION ' || :ADBObject || ' TO ' || :APublicRole);      
    
    for
    select a.RDB$DEPENDED_ON_NAME
    from RDB$DEPENDENCIES a 
    where RDB$DEPENDENT_NAME = :ADBObject
    and a.RDB$DEPENDED_ON_NAME like 'V%'  
    into :relation_name
    do
    begin
      /* Eventuell zuerst prüfen ob :relation_name tatsächlich eine VIEW ist */
    
      /*
      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then
        sql_stmt = 'GRANT SELECT ON ' || Trim(:relation_name) || ' TO FUNCTION ' || :ADBObject;
      else
        sql_stmt = 'GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO FUNCTION ' || :ADBObject;
          
      execute statement sql_stmt;
      */  

      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT ON ' || Trim(:relation_name) || ' TO FUNCTION ' || :ADBObject);
      else
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO FUNCTION ' || :ADBObject);
      
      execute
      procedure PKG_SQL.SP_EXECUTE;
            
      if (:AAllowHistory = True) then
      begin
        /*
        sql_stmt = 'GRANT EXECUTE ON PACKAGE PKG_HISTORY TO FUNCTION ' || :ADBObject;
        execute statement sql_stmt;
        */
        
        execute
        procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PACKAGE PKG_HISTORY TO FUNCTION ' || :ADBObject);                  
      end
    end
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_PKG (
    ADBObject DN_DB_OBJECT,  
    AAllRole DN_DB_OBJECT DEFAULT 'SDDL_ALL',
    APublicRole DN_DB_OBJECT DEFAULT 'SDDL_PUBLIC',
    AAllowHistory DN_BOOLEAN = True)
  AS
  --- declare variable sql_stmt DN_SQL_STMT;
  declare variable relation_name DN_DB_OBJECT;
  begin 
    /*
    sql_stmt = 'GRANT EXECUTE ON PACKAGE ' || :ADBObject || ' TO ' || :AAllRole;
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PACKAGE ' || :ADBObject || ' TO ' || :AAllRole);
    
    /*
    sql_stmt = 'GRANT EXECUTE ON PACKAGE ' || :ADBObject || ' TO ' || :APublicRole;   
    execute statement sql_stmt;
    */
    
    execute
    procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PACKAGE ' || :ADBObject || ' TO ' || :APublicRole);        
    
    for
    select distinct RDB$DEPENDED_ON_NAME
    from RDB$DEPENDENCIES 
    where RDB$DEPENDENT_NAME = :ADBObject
    and RDB$DEPENDED_ON_NAME like 'V%'  
    into :relation_name
    do
    begin
      /* Eventuell zuerst prüfen ob :relation_name tatsächlich eine VIEW ist */
    
      /*
      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then
        sql_stmt = 'GRANT SELECT ON ' || Trim(:relation_name) || ' TO PACKAGE ' || :ADBObject;
      else
        sql_stmt = 'GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO PACKAGE ' || :ADBObject;
          
      execute statement sql_stmt;
      */

      if (position(Upper('VR') in Upper(Trim(:relation_name))) = 1) then
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT ON ' || Trim(:relation_name) || ' TO PACKAGE ' || :ADBObject);
      else
        execute
        procedure PKG_SQL.SP_SET('GRANT SELECT, INSERT, UPDATE, DELETE ON ' || Trim(:relation_name) || ' TO PACKAGE ' || :ADBObject);
      
      execute
      procedure PKG_SQL.SP_EXECUTE;       
      
      if ((:AAllowHistory = True) and (Upper(Trim(:ADBOBject)) <> 'PKG_HISTORY')) then
      begin
        /*
        sql_stmt = 'GRANT EXECUTE ON PACKAGE PKG_HISTORY TO PACKAGE ' || :ADBObject;
        execute statement sql_stmt;
        */
        
        execute
        procedure PKG_SQL.SP_EXECUTE('GRANT EXECUTE ON PACKAGE PKG_HISTORY TO PACKAGE ' || :ADBObject);                  
      end
    end  
  end
    
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT_ALL
  AS
  declare relation_name DN_DB_OBJECT;
  declare package_name DN_DB_OBJECT;
  declare role_all DN_DB_OBJECT;
  declare role_public DN_DB_OBJECT;
  declare role_delete DN_DB_OBJECT;
  declare success DN_DB_OBJECT; 
  begin
    success = False;
  
    select SUCCESS, ROLE_ALL, ROLE_PUBLIC, ROLE_DELETE
    from SP_GET_CUSTOM_ROLES
    into :success, :role_all, :role_public, :role_delete;
    
    if (success = False) then
    begin
      role_all = 'SDDL_ALL';
      role_public = 'SDDL_PUBLIC';
      role_delete = 'SDDL_DELETE';  
    end 
 
    for
    select distinct RDB$PROCEDURE_NAME, RDB$PACKAGE_NAME 
    from RDB$PROCEDURES 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name, :package_name
    do
    begin
      if ((Trim(package_name) = '') or (package_name is null)) then
        execute
        procedure
          SP_GRANT_SP (Trim(:relation_name), :role_all, :role_public);
    end
     
    for
    select distinct RDB$FUNCTION_NAME, RDB$PACKAGE_NAME  
    from RDB$FUNCTIONS 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name, :package_name 
    do
    begin
      if ((Trim(package_name) = '') or (package_name is null)) then    
        execute
        procedure
          SP_GRANT_SF (Trim(:relation_name), :role_all, :role_public);
    end
  
    for
    select distinct RDB$PACKAGE_NAME 
    from RDB$PACKAGES 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_PKG (Trim(:relation_name), :role_all, :role_public);
    end            
    
    for
    select distinct RDB$VIEW_NAME 
    from RDB$VIEW_RELATIONS 
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_VIEW (Trim(:relation_name), :role_all, :role_delete, :role_public);
    end      
    
    for
    select distinct RDB$GENERATOR_NAME 
    from RDB$GENERATORS 
    where RDB$SYSTEM_FLAG=0    
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_SEQ (Trim(:relation_name), :role_all, :role_public);
    end   
  
    for
    select distinct RDB$EXCEPTION_NAME 
    from RDB$EXCEPTIONS 
    where RDB$SYSTEM_FLAG=0   
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_EXC (Trim(:relation_name), :role_all, :role_public);
    end       
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_GRANT (
    ADBObject DN_DB_OBJECT)
  AS
  declare relation_name DN_DB_OBJECT;
  declare package_name DN_DB_OBJECT;
  declare role_all DN_DB_OBJECT;
  declare role_public DN_DB_OBJECT;
  declare role_delete DN_DB_OBJECT; 
  declare success DN_DB_OBJECT; 
  begin
    success = False;
  
    select SUCCESS, ROLE_ALL, ROLE_PUBLIC, ROLE_DELETE
    from SP_GET_CUSTOM_ROLES
    into :success, :role_all, :role_public, :role_delete;
    
    if (success = False) then
    begin
      role_all = 'SDDL_ALL';
      role_public = 'SDDL_PUBLIC';
      role_delete = 'SDDL_DELETE';  
    end 
 
    for
    select distinct a.RDB$PROCEDURE_NAME 
    from RDB$PROCEDURES a 
    where a.RDB$PROCEDURE_NAME=:ADBObject
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_SP (Trim(:relation_name), :role_all, :role_public);
        
      exit;  
    end    
    
    for
    select distinct a.RDB$FUNCTION_NAME 
    from RDB$FUNCTIONS a 
    where a.RDB$FUNCTION_NAME=:ADBObject 
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_SF (Trim(:relation_name), :role_all, :role_public);
        
      exit;  
    end
    
    for
    select distinct a.RDB$PACKAGE_NAME 
    from RDB$PACKAGES a 
    where a.RDB$PACKAGE_NAME=:ADBObject
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_PKG (Trim(:relation_name), :role_all, :role_public);
        
      exit;  
    end            
    
    for
    select distinct a.RDB$VIEW_NAME 
    from RDB$VIEW_RELATIONS a
    where a.RDB$VIEW_NAME=:ADBObject   
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_VIEW (Trim(:relation_name), :role_all, :role_delete, :role_public);
        
      exit;  
    end   
    
    for
    select distinct RDB$GENERATOR_NAME 
    from RDB$GENERATORS 
    where RDB$GENERATOR_NAME=:ADBObject   
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_SEQ (Trim(:relation_name), :role_all, :role_public);
        
      exit;  
    end   
  
    for
    select distinct RDB$EXCEPTION_NAME 
    from RDB$EXCEPTIONS 
    where RDB$EXCEPTION_NAME=:ADBObject   
    into :relation_name
    do
    begin
      execute
      procedure
        SP_GRANT_EXC (Trim(:relation_name), :role_all, :role_public);
        
      exit;  
    end     
  end              
end^
SET TERM ; ^
/*------------------------------------------------------------------------------------------------*/

COMMENT ON PROCEDURE PKG_SDDL.SP_EXTRACT_TABLENAME IS
'Entfernt den Prefix aus einem Tabellennamen';

COMMENT ON PROCEDURE PKG_SDDL.SP_GET_COLUMNLIST IS
'Ermittelt die Spaltenliste zu einem Tabellenamen';

COMMENT ON PROCEDURE PKG_SDDL.SP_GET_PRIMKEYLIST IS
'Ermittelt eine Spaltenliste der Primärschlüssel';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_STD_TABLE_VIEW_CMT 
IS 'Erstellt anhand der Tabellenkommentare, die Standardviewkommentare';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_STD_TABLE_VIEW IS
'Erstellt eine Standardview zu einem Tabellennamen';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_TRIGGER_BU IS
'Erstellt den ersten Before-Update-Trigger (BU0) zu einem Tabellennamen um den Stempel zu aktualisieren';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_SEQUNECE IS
'Erstellt eine Sequence zu einem Tabellennamen um ein beliebiges Feld zu erhöhen';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_TBL_CATALOG IS
'Erstellt einen Katalog';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_CATALOG IS
'Legt einen Katalog mit all seinen Datenbankobjekten an';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_STAMP IS
'Erstellt eine Stempel für eine Tabelle';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_FIELD_DESCRIPTION IS
'Erstellt das Standardfeld: DESCRIPTION';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_TABLE_COMMENT IS
'Erstellt einen Kommentar zur Tabelle';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_PRIMARY_CONSTRAINT IS
'Erstellt einen Primärschlüssel zur Tabelle';

COMMENT ON PROCEDURE PKG_SDDL.SP_COMPLETE_TABLE IS
'Ergänzt ein Grundschema um Standards: Constraints, Sequences, Triggers, Standardviews, etc.';

COMMENT ON PROCEDURE PKG_SDDL.SP_CHECK_COMMAND IS
'Prüft ob in einer Feldbeschreibung ein Gencode-Kommand vorhanden ist';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_UNIQUE_KEY IS
'Erstellt einen Unique-Key';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_UNIQUE_IDX IS
'Erstellt einen eindeutigen Einspalten-Index';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_FOREIGN_KEY IS
'Erstellt einen Foreign-Key';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_CONSTRAINTS IS
'Erstellt für eine Tabelle alle über ein Gencommande angeforderten Constraints';

COMMENT ON PROCEDURE PKG_SDDL.SP_CREATE_ALL_CONSTRAINTS IS
'Erstellt für alle Tabellen alle über ein Gencommande angeforderten Constraints';   
    
COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_VIEW IS
'Erstellt Grants für Views';   

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_SEQ IS
'Erstellt Grants für Sequences';  

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_EXC IS
'Erstellt Grants für Exceptions'; 

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_SP IS
'Erstellt Grants für SPs';   

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_SF IS
'Erstellt Grants für SFs';

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_PKG IS
'Erstellt Grants für PKGs';

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT_ALL IS
'Erstellt alle Grants für alle Views und SPs';   

COMMENT ON PROCEDURE PKG_SDDL.SP_GRANT IS
'Erstellt Grants für eine beliebige View oder SP';   
    
COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.package.body.sql',
    'Package-Body des sDDL-Bootstrap installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.styleguide.model.create.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-01                                                    
/* Description: Es wird das Model für das Styleguide-Package angelegt    
/*                                                                               
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung für FB 3.0x   
/* - Das Script ist für die Ausführung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-03-01
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
select SUCCESS
from PKG_SDDL.SP_CREATE_CATALOG ('STYLEGUIDE_CHECK',
  'DN_DB_OBJECT',
  'Reservierte Wörter');
  
COMMIT WORK;  
/*------------------------------------------------------------------------------------------------*/

select SUCCESS
from PKG_SDDL.SP_CREATE_CATALOG ('STYLEGUIDE_KEYWORD',
  'DN_DB_OBJECT',
  'Ausgeschlossene StyleGuide-Elemente');

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.styleguide.model.create.sql',
    'Model für das Package Styleguie installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.styleguide.model.data.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-03                                                    
/* Description: Daten fÃ¼r das StyleGuide-Model    
/*                                                                               
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-03-03
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/

-- insert into VW_L_STYLEGUIDE_CHECK (CAPTION, DESCRIPTION) values ('<Bezeichnung welche nicht vorhanden sein soll>', '<Beschreibung wie die Bezeichnung gÃ¤ndert werden sollte>');
/*------------------------------------------------------------------------------------------------*/

insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ADD', 'Firebird but not SQL Standard');       
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('DB_KEY', 'Firebird but not SQL Standard');    
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('GDSCODE', 'Firebird but not SQL Standard');      
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('INDEX', 'Firebird but not SQL Standard');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('LONG', 'Firebird but not SQL Standard');      
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('PLAN', 'Firebird but not SQL Standard');      
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('POST_EVENT', 'Firebird but not SQL Standard');   
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('RETURNING_VALUES', 'Firebird but not SQL Standard');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('SQLCODE', 'Firebird but not SQL Standard');   
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('VARIABLE', 'Firebird but not SQL Standard');  
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('VIEW', 'Firebird but not SQL Standard');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('SIMILAR', 'Firebird but not SQL Standard');               
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('SQLSTATE', 'Firebird but not SQL Standard');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ABORT', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ABS', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ABSOLUTE', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ACCESS', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ACTION', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ADA', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');
insert into VW_L_STYLEGUIDE_KEYWORD (CAPTION, DESCRIPTION) values ('ADMIN', 'ANSI SQL 92, ANSI SQL 99, ANSI SQL 2003, MySQL 3.23.x, MySQL 4.x, MySQL 5.x, PostGreSQL 8.1, MS SQL Server 2000, MS ODBC, Oracle 10.2');

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.styleguide.model.data.sql',
    'Daten fÃ¼r das Styleguide-Model installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/

/* ---- from bootstrap/sddl/sddl.bootstrap.styleguide.package.header.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-01                                                        
/* Description: Styleguide ÃberprÃ¼fung
/*   - Package-Header        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-03-01
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
                                                
/* SPs */
SET TERM ^ ;
CREATE OR ALTER PACKAGE PKG_STYLEGUIDE
AS
begin
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CHECK_KEYWORD(
    AKeyWordToCheck DN_DB_OBJECT = '') 
  RETURNS (
    HIT DN_BOOLEAN,  
    OBJECT_NAME DN_DB_OBJECT,
    FOUND_IN DN_COMMENT);

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CHECK 
  RETURNS (
    HIT DN_BOOLEAN,  
    OBJECT_NAME DN_DB_OBJECT,
    FOUND_IN DN_COMMENT,
    STYLE_GUIDE_KEYW DN_DB_OBJECT,
    TO_DO DN_DESCRIPTION);

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CHECK_RESERVED(
    AKeyWordToCheck DN_DB_OBJECT = '') 
  RETURNS (
    HIT DN_BOOLEAN,  
    RESERVED DN_DB_OBJECT,
    FOUND_IN DN_COMMENT);
    
  /*----------------------------------------------------------------------------------------------*/    
  PROCEDURE SP_CHECK_PREFIX
  RETURNS (
    HIT DN_BOOLEAN,
    OBJECT_NAME DN_DB_OBJECT,
    FOUND_IN DN_COMMENT,
    MISSING_PREFIX DN_COMMENT);  
end^
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.styleguide.package.header.sql',
    'Package-Header Styleguide installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.styleguide.package.body.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-01                                                        
/* Description: Styleguide ÃberprÃ¼fung
/*   - Package-Header        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-03-01
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/*------------------------------------------------------------------------------------------------*/
                                                
/* SPs */
SET TERM ^ ;
RECREATE PACKAGE BODY PKG_STYLEGUIDE
AS
begin

  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CHECK_KEYWORD(
    AKeyWordToCheck DN_DB_OBJECT) 
  RETURNS (
    HIT DN_BOOLEAN,  
    OBJECT_NAME DN_DB_OBJECT,
    FOUND_IN DN_COMMENT)
  AS
  declare relation_name DN_DB_OBJECT;
  begin
    HIT = False;
    OBJECT_NAME = null;
    FOUND_IN = null;
    
    /* Felder in Tabellen und Views */
    for
    select distinct RDB$FIELD_NAME 
    from RDB$RELATION_FIELDS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Felder';
        
        suspend;
      end
    end  
    
    /* Alle Domains */
    for  
    select distinct RDB$FIELD_NAME 
    from RDB$FIELDS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Domains';
        
        suspend;
      end  
    end  
    
    /* Alle Sequencen */
    for
    select distinct RDB$GENERATOR_NAME 
    from RDB$GENERATORS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Sequences';
        
        suspend;
      end    
    end
  
    /* Alle SPs */
    for
    select distinct RDB$PROCEDURE_NAME 
    from RDB$PROCEDURES 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'StoredProcedures';
        
        suspend;
      end  
    end
    
    for
    select distinct RDB$PARAMETER_NAME 
    from RDB$PROCEDURE_PARAMETERS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Parameters/Returns (SP)';
        
        suspend;
      end  
    end  
    
    /* Alle SFs */
    for
    select distinct RDB$FUNCTION_NAME 
    from RDB$FUNCTIONS 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'StoredFunction';
        
        suspend;
      end  
    end
    
    for
    select distinct RDB$FIELD_NAME 
    from RDB$FUNCTION_ARGUMENTS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Arguments (SF)';
        
        suspend;
      end  
    end  
        
    /* Packages */
    for
    select distinct RDB$PACKAGE_NAME
    from RDB$PACKAGES
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Packages';
        
        suspend;
      end  
    end           
        
    /* Relations */
    for
    select distinct RDB$RELATION_NAME 
    from RDB$RELATIONS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Tabellen/Views';
        
        suspend;
      end  
    end
    
    /* Constraints */
    for
    select RDB$CONSTRAINT_NAME
    from RDB$RELATION_CONSTRAINTS 
    into :relation_name
    do
    begin  
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Constraints';
        
        suspend;
      end
    end
    
    /* Indexe */
    for
    select RDB$INDEX_NAME 
    from RDB$INDICES 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Indices';
        
        suspend;
      end 
    end
  end
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CHECK 
  RETURNS (
    HIT DN_BOOLEAN,  
    OBJECT_NAME DN_DB_OBJECT,
    FOUND_IN DN_COMMENT,
    STYLE_GUIDE_KEYW DN_DB_OBJECT,
    TO_DO DN_DESCRIPTION)
  AS
  begin
    HIT = False;  
    OBJECT_NAME = '';
    FOUND_IN = '';
    STYLE_GUIDE_KEYW = '';
    TO_DO = '';    
  
    for
    select CAPTION, DESCRIPTION 
    from VW_L_STYLEGUIDE_CHECK
    into :STYLE_GUIDE_KEYW, :TO_DO
    do
    begin
      for
      select HIT, OBJECT_NAME, FOUND_IN
      from SP_CHECK_KEYWORD(:STYLE_GUIDE_KEYW)
      into :HIT, :OBJECT_NAME, :FOUND_IN
      do
      begin  
        if (HIT = True) then
          suspend;  
      end    
      
      HIT = False;  
      OBJECT_NAME = '';
      FOUND_IN = '';
      STYLE_GUIDE_KEYW = '';
      TO_DO = '';    
    end      
  end
  
  /*----------------------------------------------------------------------------------------------*/
  PROCEDURE SP_CHECK_RESERVED(
    AKeyWordToCheck DN_DB_OBJECT) 
  RETURNS (
    HIT DN_BOOLEAN,  
    RESERVED DN_DB_OBJECT,
    FOUND_IN DN_COMMENT)
  AS
  declare variable relation_name DN_DB_OBJECT;
  begin
    HIT = False;
    RESERVED = null;
    FOUND_IN = null;
    
    if (Trim(AKeyWordToCheck) = '') then
    begin
      /* Felder in Tabellen und Views */
      for
      select distinct RDB$FIELD_NAME 
      from RDB$RELATION_FIELDS 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Felder (VW_L_STYLEGUIDE_KEYWORD)';
          
          suspend;
        end
        else
        begin
          if (exists(select 1 
                     from RDB$TYPES 
                     where Upper(Trim(RDB$TYPE_NAME))=Upper(Trim(:relation_name)))) 
          then
          begin
            HIT = True;
            RESERVED = relation_name; 
            FOUND_IN = 'Felder (RDB$TYPE_NAME)';
            
            suspend;     
          end
        end
      end  
      
      /* Alle Domains */
      for  
      select distinct RDB$FIELD_NAME 
      from RDB$FIELDS 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Domains';
          
          suspend;
        end  
      end  
      
      /* Alle Sequencen */
      for
      select distinct RDB$GENERATOR_NAME 
      from RDB$GENERATORS 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Sequences';
          
          suspend;
        end    
      end
    
      /* Alle SPs */
      for
      select distinct RDB$PROCEDURE_NAME 
      from RDB$PROCEDURES 
      where RDB$SYSTEM_FLAG = 0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'StoredProcedures';
          
          suspend;
        end  
      end
      
      for
      select distinct RDB$PARAMETER_NAME 
      from RDB$PROCEDURE_PARAMETERS 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Parameters/Returns';
          
          suspend;
        end  
      end  
      
      /* Alle SFs */
      for
      select distinct RDB$FUNCTION_NAME 
      from RDB$FUNCTIONS 
      where RDB$SYSTEM_FLAG = 0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'StoredFunctions';
          
          suspend;
        end    
      end
      
      for
      select distinct RDB$FIELD_NAME 
      from RDB$FUNCTION_ARGUMENTS 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Arguments (SF)';
          
          suspend;
        end  
      end  
          
      /* Packages */
      for
      select distinct RDB$PACKAGE_NAME
      from RDB$PACKAGES
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Packages';
          
          suspend;
        end        
      end           
        
      /* Relations */
      for
      select distinct RDB$RELATION_NAME 
      from RDB$RELATIONS 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Tabellen/Views';
          
          suspend;
        end  
      end
      
      /* Constraints */
      for
      select RDB$CONSTRAINT_NAME
      from RDB$RELATION_CONSTRAINTS 
      into
        :relation_name
      do
      begin  
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Constraints';
          
          suspend;
        end
      end
      
      /* Indexe */
      for
      select RDB$INDEX_NAME 
      from RDB$INDICES 
      where RDB$SYSTEM_FLAG=0
      into :relation_name
      do
      begin
        if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:relation_name)))) 
        then
        begin
          HIT = True;
          RESERVED = relation_name; 
          FOUND_IN = 'Indices';
          
          suspend;
        end 
      end
    end
    else
    begin
       if (exists(select 1 
                   from VW_L_STYLEGUIDE_KEYWORD 
                   where Upper(Trim(CAPTION))=Upper(Trim(:AKeyWordToCheck)))) 
        then
        begin
          HIT = True;
          RESERVED = AKeyWordToCheck; 
          FOUND_IN = 'OnDemand';
          
          suspend;
        end   
    end  
  end
  
  /*----------------------------------------------------------------------------------------------*/  
  PROCEDURE SP_CHECK_PREFIX
  RETURNS (
    HIT DN_BOOLEAN,
    OBJECT_NAME DN_DB_OBJECT,
    FOUND_IN DN_COMMENT,
    MISSING_PREFIX DN_COMMENT)
  AS
  declare relation_name DN_DB_OBJECT;
  declare prefix_to_check DN_COMMENT;
  begin
    HIT = False;
    
    OBJECT_NAME = null;
    FOUND_IN = null;
    
    /* Tabellen und Views */
    prefix_to_check = 'TB';
    for
    select distinct RDB$RELATION_NAME 
    from RDB$RELATIONS 
    where RDB$SYSTEM_FLAG=0
    and RDB$RELATION_TYPE=0
    into :relation_name
    do
    begin
      execute
      procedure PKG_HISTORY.SP_SET_DEBUG(:relation_name, 
        :prefix_to_check);
    
      if (position(Upper(:prefix_to_check) in Upper(Trim(:relation_name))) = 1) then
      begin
        if ((not (position(Upper('_') in Upper(Trim(:relation_name))) = 3)) and 
            (not (position(Upper('L_') in Upper(Trim(:relation_name))) = 3)) and
            (not (position(Upper('R_') in Upper(Trim(:relation_name))) = 3)))        
        then
        begin
          HIT = True;
          OBJECT_NAME = relation_name; 
          FOUND_IN = 'Tables'; 
          
          MISSING_PREFIX = 'TB_ / TBL_ / TBR_';         
          
          suspend;         
        end
      end
      else      
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Tables'; 
        
        MISSING_PREFIX = 'TB';         
        
        suspend; 
      end
    end
    
    prefix_to_check = 'TBT_';
    for
    select distinct RDB$RELATION_NAME 
    from RDB$RELATIONS 
    where RDB$SYSTEM_FLAG=0
    and RDB$RELATION_TYPE=5
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Temporary Tables';        
        
        suspend;
      end
    end    
    
    prefix_to_check = 'VW_';
    for
    select distinct RDB$RELATION_NAME 
    from RDB$RELATIONS 
    where RDB$SYSTEM_FLAG=0
    and RDB$RELATION_TYPE=1
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        MISSING_PREFIX = 'VR_';
        if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
        begin        
          HIT = True;
          OBJECT_NAME = relation_name; 
          FOUND_IN = 'Views';
          
          MISSING_PREFIX = 'VR_ / VW_';        
          
          suspend;
        end
      end  
    end  
          
    /* Alle Domains */
    prefix_to_check = 'DN_';
    for  
    select distinct RDB$FIELD_NAME 
    from RDB$FIELDS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Domains';        
        
        suspend;
      end  
    end  
    
    /* Alle Sequencen */
    prefix_to_check = 'SEQ_';
    for
    select distinct RDB$GENERATOR_NAME 
    from RDB$GENERATORS 
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Sequences';        
        
        suspend;
      end      
    end
  
    /* Alle SPs */
    prefix_to_check = 'SP_';
    for
    select distinct RDB$PROCEDURE_NAME 
    from RDB$PROCEDURES 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Stored Procedures';        
        
        suspend;
      end        
    end
    
    prefix_to_check = 'A';    
    for
    select distinct RDB$PARAMETER_NAME 
    from RDB$PROCEDURE_PARAMETERS 
    where RDB$SYSTEM_FLAG=0
    and RDB$PARAMETER_TYPE=0 
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Stored Procedure Parameters';        
        
        suspend;
      end          
    end  
    
    /* Alle SFs */
    prefix_to_check = 'SF_';
    for
    select distinct RDB$FUNCTION_NAME 
    from RDB$FUNCTIONS 
    where RDB$SYSTEM_FLAG = 0
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Stored Functions';        
        
        suspend;
      end            
    end

--     /* Muss noch geprÃ¼ft werden wie Results von Parametern unterschieden werden */    
--     for
--     select distinct RDB$FIELD_NAME 
--     from RDB$FUNCTION_ARGUMENTS 
--     where RDB$SYSTEM_FLAG=0
--     into :relation_name
--     do
--     begin
--       if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
--       begin
--         HIT = True;
--         OBJECT_NAME = relation_name; 
--         FOUND_IN = 'Arguments (SF)';
--         
--         suspend;
--       end  
--     end  
        
    /* Packages */
    prefix_to_check = 'PKG_';    
    for
    select distinct RDB$PACKAGE_NAME
    from RDB$PACKAGES
    where RDB$SYSTEM_FLAG=0
    into :relation_name
    do
    begin
      if (not (position(Upper(:prefix_to_check) in Upper(:relation_name)) = 1)) then
      begin
        HIT = True;
        OBJECT_NAME = relation_name; 
        FOUND_IN = 'Packages';        
        
        suspend;
      end              
    end           
           
--     /* Muss eingehend geprÃ¼ft werden wie die Indexe unterschieden werden kÃ¶nnen         
--     /* Constraints */
--     for
--     select RDB$CONSTRAINT_NAME
--     from RDB$RELATION_CONSTRAINTS 
--     into :relation_name
--     do
--     begin  
--       if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
--       begin
--         HIT = True;
--         OBJECT_NAME = relation_name; 
--         FOUND_IN = 'Constraints';
--         
--         suspend;
--       end
--     end
--     
--     /* Indexe */
--     for
--     select RDB$INDEX_NAME 
--     from RDB$INDICES 
--     where RDB$SYSTEM_FLAG=0
--     into :relation_name
--     do
--     begin
--       if (position(Upper(:AKeyWordToCheck) in Upper(:relation_name)) > 0) then
--       begin
--         HIT = True;
--         OBJECT_NAME = relation_name; 
--         FOUND_IN = 'Indices';
--         
--         suspend;
--       end 
--     end  
  end  
end^
SET TERM ; ^
/*------------------------------------------------------------------------------------------------*/

COMMENT ON PROCEDURE PKG_STYLEGUIDE.SP_CHECK_RESERVED IS
'ÃberprÃ¼ft Felder, Parameter und Ausgabefelder auf reservierte WÃ¶rter';

COMMENT ON PROCEDURE PKG_STYLEGUIDE.SP_CHECK IS
'ÃberprÃ¼ft Felder, Parameter und Ausgabefelder auf ausgeschlossene StyleGuide-Elemente';

COMMENT ON PROCEDURE PKG_STYLEGUIDE.SP_CHECK_KEYWORD IS
'PrÃ¼ft Datenmodell auf Abweichungen im StyleGuide anhand eines SchlÃ¼sselwortes';

COMMENT ON PROCEDURE PKG_STYLEGUIDE.SP_CHECK_PREFIX IS
'PrÃ¼ft Datenmodell auf Abweichungen im vorgeschriebenem Prefix';

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  execute
  procedure
  PKG_HISTORY.SP_SET_UPDATE_INFO (0,
    0,
    'sddl.bootstrap.styleguide.package.body.sql',
    'Package-Body Styleguide installiert');
END^        
SET TERM ; ^

COMMIT WORK;
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/*------------------------------------------------------------------------------------------------*/
/* ---- from bootstrap/sddl/sddl.bootstrap.complete.sql */
/*------------------------------------------------------------------------------------------------*/
/* Author: Alfred Gerke (AGE)                                                  
/* Date: 2019-03-01                                                        
/* Description: Es werden Constraints und Grants angelegt        
/*                                                                              
/*------------------------------------------------------------------------------------------------*/
/* - Das Script arbeitet mit Befehlen der SQL-Erweiterung fÃ¼r FB 3.0x   
/* - Das Script ist fÃ¼r die AusfÃ¼hrung im ISQL erstellt worden
/* - Ein Datenbank-Connect wird vorausgesetzt
/*   
/*------------------------------------------------------------------------------------------------*/
/* History: 2019-02-22
/*          Script erstellen
/*   
/*------------------------------------------------------------------------------------------------*/

/* Constraints -----------------------------------------------------------------------------------*/

select SUCCESS, LOG_MESSAGE
from PKG_SDDL.SP_CREATE_ALL_CONSTRAINTS;

COMMIT WORK;
/* Grants ----------------------------------------------------------------------------------------*/

execute
procedure PKG_SDDL.SP_GRANT_ALL;

COMMIT WORK;
/* PREFIX --------------------------------------------------------------------------------------*/

