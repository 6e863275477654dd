// Statement texts of every kind of object, in each SQL dialect, as the plan and the review write them.
#include "tests/model/ModelBuilders.h"

#include <gtest/gtest.h>

using namespace model;
using schema::ConstraintKind;
using schema::Ddl;
using schema::ObjectKind;

TEST(ModelDdl, NamesAreQuotedInDialectThreeUnlessPlainUpperCaseAndNotReserved)
{
    const Ddl ddl(3);
    EXPECT_EQ((Lines{ddl.Name("CUSTOMER"), ddl.Name("RDB$X_1"), ddl.Name("Customer"), ddl.Name("USER"),
                     ddl.Name("MY TABLE"), ddl.Name("A\"B"), ddl.Name("_X"), ddl.Name("1A")}),
              (Lines{"CUSTOMER", "RDB$X_1", "\"Customer\"", "\"USER\"", "\"MY TABLE\"", "\"A\"\"B\"", "\"_X\"",
                     "\"1A\""}));
}

TEST(ModelDdl, DialectOneWritesPlainNamesAndRefusesThoseThatNeedQuotes)
{
    const Ddl ddl(1);
    EXPECT_EQ(ddl.Name("CUSTOMER"), "CUSTOMER");
    EXPECT_EQ((Lines{ErrorOf([&] { ddl.Name("Customer"); }), ErrorOf([&] { ddl.Name("VALUE"); })}),
              (Lines{"The name Customer needs quotes, which SQL dialect 1 cannot write",
                     "The name VALUE needs quotes, which SQL dialect 1 cannot write"}));
}

TEST(ModelDdl, LiteralsDoubleTheirQuotes)
{
    EXPECT_EQ((Lines{Ddl::Literal("it's"), Ddl::Literal(""), Ddl::Literal("a''b"), Ddl::Literal("\"x\"")}),
              (Lines{"'it''s'", "''", "'a''''b'", "'\"x\"'"}));
}

TEST(ModelDdl, EveryTypeCodeHasItsText)
{
    const Ddl ddl(3);
    auto text = [&](int fieldType, int subType = 0, int length = 0, const std::string& charset = "") {
        schema::Type t = TypeCode(fieldType);
        t.subType = subType;
        t.charLength = length;
        t.segmentLength = length;
        t.charset = charset;
        return ddl.TypeText(t);
    };
    EXPECT_EQ((Lines{text(7), text(8), text(16), text(26), text(10), text(27), text(24), text(25), text(12), text(13),
                     text(35), text(28), text(29), text(23), text(14, 0, 3, "OCTETS"), text(37, 0, 20, "UTF8"),
                     text(40, 0, 8), text(261, 0, 80), text(261, 1, 80, "UTF8"), text(261, 7, 100)}),
              (Lines{"SMALLINT", "INTEGER", "BIGINT", "INT128", "FLOAT", "DOUBLE PRECISION", "DECFLOAT(16)",
                     "DECFLOAT(34)", "DATE", "TIME", "TIMESTAMP", "TIME WITH TIME ZONE", "TIMESTAMP WITH TIME ZONE",
                     "BOOLEAN", "CHAR(3) CHARACTER SET OCTETS", "VARCHAR(20) CHARACTER SET UTF8", "CSTRING(8)",
                     "BLOB SUB_TYPE BINARY SEGMENT SIZE 80", "BLOB SUB_TYPE TEXT SEGMENT SIZE 80 CHARACTER SET UTF8",
                     "BLOB SUB_TYPE 7 SEGMENT SIZE 100"}));
    EXPECT_EQ(ErrorOf([&] { text(99); }), "The catalog holds a data type this comparison does not know: code 99");
}

TEST(ModelDdl, ScaledNumbersAreNumericOrDecimalAndArraysCarryTheirBounds)
{
    const Ddl ddl(3);
    schema::Type decimal = Numeric(18, 4);
    decimal.subType = 2;
    schema::Type noPrecision = Numeric(18, 3);
    noPrecision.precision = 0;
    schema::Type doubleScaled = TypeCode(27);
    doubleScaled.scale = -2;
    schema::Type array = Integer();
    array.dimensions = {{1, 5}, {0, 3}};
    EXPECT_EQ((Lines{ddl.TypeText(Numeric(9, 2)), ddl.TypeText(Numeric(4, 0)), ddl.TypeText(decimal),
                     ddl.TypeText(noPrecision), ddl.TypeText(doubleScaled), ddl.TypeText(array)}),
              (Lines{"NUMERIC(9, 2)", "NUMERIC(4, 0)", "DECIMAL(18, 4)", "NUMERIC(18, 3)", "NUMERIC(15, 2)",
                     "INTEGER[5, 0:3]"}));
}

TEST(ModelDdl, DialectOneRefusesTypesItHasNotAndWritesATimestampAsIs)
{
    const Ddl ddl(1);
    EXPECT_EQ(ddl.TypeText(TypeCode(35)), "TIMESTAMP");
    const std::string refusal = " (BIGINT, NUMERIC over 9 digits, DATE or TIME)";
    EXPECT_EQ((Lines{ErrorOf([&] { ddl.TypeText(TypeCode(16)); }), ErrorOf([&] { ddl.TypeText(TypeCode(12)); })}),
              (Lines{"SQL dialect 1 cannot write the type with code 16" + refusal,
                     "SQL dialect 1 cannot write the type with code 12" + refusal}));
}

TEST(ModelDdl, NamedObjectsAreCreatedWithWhatDiffersFromTheirDefaults)
{
    const Ddl ddl(3);
    const schema::Collation ci{"UNICODE_CI_AI", "UTF8", "UNICODE", 6, "NUMERIC-SORT=1", ""};
    const schema::Collation ext{"ES_ES_CI", "ISO8859_1", "", 1, "", ""};
    EXPECT_EQ((Lines{ddl.CreateCollation(ci), ddl.CreateCollation(ext), ddl.CreateGenerator({"G", 0, 1, ""}),
                     ddl.CreateGenerator({"G_ID", 1000, -2, ""}), ddl.CreateException({"E_NO", "Can't do it", ""}),
                     ddl.CreateRole({"R_SALES", ""})}),
              (Lines{"CREATE COLLATION UNICODE_CI_AI FOR UTF8 FROM UNICODE NO PAD CASE INSENSITIVE ACCENT INSENSITIVE "
                     "'NUMERIC-SORT=1'",
                     "CREATE COLLATION ES_ES_CI FOR ISO8859_1 FROM EXTERNAL ('ES_ES_CI') PAD SPACE",
                     "CREATE SEQUENCE G", "CREATE SEQUENCE G_ID START WITH 1000 INCREMENT BY -2",
                     "CREATE EXCEPTION E_NO 'Can''t do it'", "CREATE ROLE R_SALES"}));
}

TEST(ModelDdl, ADomainIsCreatedWithoutItsCheckWhichIsAddedApart)
{
    const Ddl ddl(3);
    const schema::Domain money{"D_MONEY", Numeric(15, 2), "DEFAULT 0", "CHECK (VALUE >= 0)", true, ""};
    schema::Type name = Varchar(40, "UTF8");
    name.collation = "UNICODE_CI";
    const schema::Domain text{"D_NAME", name, "", "", false, ""};
    EXPECT_EQ((Lines{ddl.CreateDomain(money), ddl.AddDomainCheck(money), ddl.CreateDomain(text)}),
              (Lines{"CREATE DOMAIN D_MONEY AS NUMERIC(15, 2) DEFAULT 0 NOT NULL",
                     "ALTER DOMAIN D_MONEY ADD CONSTRAINT CHECK (VALUE >= 0)",
                     "CREATE DOMAIN D_NAME AS VARCHAR(40) CHARACTER SET UTF8 COLLATE UNICODE_CI"}));
}

TEST(ModelDdl, ADomainIsChangedInPlaceAndItsTypeWithoutTheCollation)
{
    const Ddl ddl(3);
    schema::Type type = Varchar(60, "UTF8");
    type.collation = "UNICODE_CI";
    schema::Domain d{"D_NAME", type, "DEFAULT ''", "", true, ""};
    const schema::Domain bare{"D_NAME", type, "", "", false, ""};
    EXPECT_EQ((Lines{ddl.AlterDomainType(d), ddl.AlterDomainDefault(d), ddl.AlterDomainDefault(bare),
                     ddl.AlterDomainNullability(d), ddl.AlterDomainNullability(bare), ddl.DropDomainCheck(d)}),
              (Lines{"ALTER DOMAIN D_NAME TYPE VARCHAR(60) CHARACTER SET UTF8", "ALTER DOMAIN D_NAME SET DEFAULT ''",
                     "ALTER DOMAIN D_NAME DROP DEFAULT", "ALTER DOMAIN D_NAME SET NOT NULL",
                     "ALTER DOMAIN D_NAME DROP NOT NULL", "ALTER DOMAIN D_NAME DROP CONSTRAINT"}));
}

TEST(ModelDdl, ATableIsCreatedWithComputedColumnsAsComputedByNullAndTheirExpressionLater)
{
    schema::Schema old, neu;
    schema::Column a = ColumnOf("A", Integer(), 0);
    a.notNull = true;
    schema::Column b = ColumnOf("B", Integer(), 1);
    b.computedSource = "(A * 2)";
    AddTable(neu, TableOf("T", {a, b}));
    EXPECT_EQ(Statements(PlanOf(old, neu)),
              (Lines{"CREATE TABLE T (A INTEGER NOT NULL,\n    B INTEGER COMPUTED BY (NULL))",
                     "ALTER TABLE T ALTER B TYPE INTEGER COMPUTED BY (A * 2)"}));
    EXPECT_EQ(Ddl(3).ColumnDefinition(b, false), "B INTEGER COMPUTED BY (A * 2)");
}

TEST(ModelDdl, AComputedColumnWithACollationCarriesItInItsPlaceholderAndLeavesTheTypeToItsExpression)
{
    const Ddl ddl(3);
    schema::Column c = ColumnOf("FULL_NAME", Varchar(81, "UTF8"), 2);
    c.type.collation = "UNICODE_CI";
    c.computedSource = "(FIRST_NAME || ' ' || LAST_NAME)";
    EXPECT_EQ((Lines{ddl.ColumnDefinition(c, true), ddl.AlterComputed("PEOPLE", c)}),
              (Lines{"FULL_NAME VARCHAR(81) CHARACTER SET UTF8 COMPUTED BY (CAST(NULL AS VARCHAR(81) CHARACTER SET "
                     "UTF8) COLLATE UNICODE_CI)",
                     "ALTER TABLE PEOPLE ALTER FULL_NAME COMPUTED BY (FIRST_NAME || ' ' || LAST_NAME)"}));
}

TEST(ModelDdl, ColumnsCarryIdentityDomainDefaultNamedNotNullAndCollation)
{
    const Ddl ddl(3);
    schema::Column byDefault = ColumnOf("ID", Integer(), 0);
    byDefault.identityType = 1;
    byDefault.identityStart = 10;
    byDefault.identityIncrement = 2;
    byDefault.notNull = true;
    schema::Column always = ColumnOf("ID", TypeCode(16), 0);
    always.identityType = 0;
    always.notNull = true;
    schema::Column name = ColumnOf("NAME", Varchar(10, "UTF8"), 1);
    name.defaultSource = "DEFAULT ''";
    name.notNull = true;
    name.notNullConstraint = "NN_NAME";
    name.type.collation = "UNICODE_CI";
    schema::Column price = ColumnOf("price", {}, 2);
    price.domain = "D_MONEY";
    EXPECT_EQ((Lines{ddl.ColumnDefinition(byDefault, true), ddl.ColumnDefinition(always, true),
                     ddl.ColumnDefinition(name, true), ddl.ColumnDefinition(price, true)}),
              (Lines{"ID INTEGER GENERATED BY DEFAULT AS IDENTITY (START WITH 10 INCREMENT BY 2)",
                     "ID BIGINT GENERATED ALWAYS AS IDENTITY",
                     "NAME VARCHAR(10) CHARACTER SET UTF8 DEFAULT '' CONSTRAINT NN_NAME NOT NULL COLLATE UNICODE_CI",
                     "\"price\" D_MONEY"}));
}

TEST(ModelDdl, TemporaryAndExternalTablesSayWhatTheyAre)
{
    const Ddl ddl(3);
    schema::Relation gtt = TableOf("T_WORK", {ColumnOf("A", Integer(), 0)});
    gtt.kind = schema::RelationKind::GlobalTemporaryPreserve;
    schema::Relation gttDelete = gtt;
    gttDelete.kind = schema::RelationKind::GlobalTemporaryDelete;
    schema::Relation external = TableOf("T_FILE", {ColumnOf("A", TypeCode(14), 0)});
    external.columns[0].type.charLength = 10;
    external.kind = schema::RelationKind::External;
    external.externalFile = "/data/in.dat";
    EXPECT_EQ((Lines{ddl.CreateTable(gtt), ddl.CreateTable(gttDelete), ddl.CreateTable(external)}),
              (Lines{"CREATE GLOBAL TEMPORARY TABLE T_WORK (A INTEGER) ON COMMIT PRESERVE ROWS",
                     "CREATE GLOBAL TEMPORARY TABLE T_WORK (A INTEGER) ON COMMIT DELETE ROWS",
                     "CREATE TABLE T_FILE EXTERNAL FILE '/data/in.dat' (A CHAR(10))"}));
}

TEST(ModelDdl, ConstraintsCarryTheirRulesAndTheirNamedIndex)
{
    const Ddl ddl(3);
    schema::Constraint pk = KeyOf(ConstraintKind::PrimaryKey, "PK_T", "T", {"ID"});
    pk.indexName = "IX_T_PK";
    pk.descending = true;
    schema::Constraint fk = ForeignKeyOf("FK_C", "C", {"P_ID", "P_NO"}, "P", {"ID", "NO"});
    fk.onUpdate = "CASCADE";
    fk.onDelete = "SET NULL";
    schema::Constraint plain = ForeignKeyOf("", "Orders", {"custId"}, "Customers", {"id"});
    plain.onUpdate = "";
    plain.onDelete = "RESTRICT";
    plain.indexName = "FK_ORDERS_CUST";
    EXPECT_EQ((Lines{ddl.AddConstraint(pk), ddl.AddConstraint(KeyOf(ConstraintKind::Unique, "", "T", {"A", "B"})),
                     ddl.AddConstraint(fk), ddl.AddConstraint(plain),
                     ddl.AddConstraint(CheckOf("CK_A", "T", "CHECK (A > 0)"))}),
              (Lines{"ALTER TABLE T ADD CONSTRAINT PK_T PRIMARY KEY (ID) USING DESCENDING INDEX IX_T_PK",
                     "ALTER TABLE T ADD UNIQUE (A, B)",
                     "ALTER TABLE C ADD CONSTRAINT FK_C FOREIGN KEY (P_ID, P_NO) REFERENCES P (ID, \"NO\") ON UPDATE "
                     "CASCADE ON DELETE SET NULL",
                     "ALTER TABLE \"Orders\" ADD FOREIGN KEY (\"custId\") REFERENCES \"Customers\" (\"id\") USING "
                     "INDEX FK_ORDERS_CUST",
                     "ALTER TABLE T ADD CONSTRAINT CK_A CHECK (A > 0)"}));
}

TEST(ModelDdl, IndicesAreWrittenWithTheirColumnsExpressionOrConditionAndState)
{
    const Ddl ddl(3);
    schema::Index unique{"IX_AB", "T", {"A", "b"}, "", "", true, true, false, ""};
    schema::Index computed{"IX_UPPER", "T", {}, "(UPPER(NAME))", "", false, false, true, ""};
    schema::Index partial{"IX_OPEN", "T", {"STATUS"}, "", "WHERE STATUS = 'open'", false, false, false, ""};
    EXPECT_EQ((Lines{ddl.CreateIndex(unique), ddl.CreateIndex(computed), ddl.CreateIndex(partial),
                     ddl.AlterIndexState(computed), ddl.AlterIndexState(partial)}),
              (Lines{"CREATE UNIQUE DESCENDING INDEX IX_AB ON T (A, \"b\")",
                     "CREATE INDEX IX_UPPER ON T COMPUTED BY (UPPER(NAME))",
                     "CREATE INDEX IX_OPEN ON T (STATUS) WHERE STATUS = 'open'", "ALTER INDEX IX_UPPER INACTIVE",
                     "ALTER INDEX IX_OPEN ACTIVE"}));
}

TEST(ModelDdl, AViewNamesItsColumnsAndIsCreatedOrAlteredWhole)
{
    schema::Schema s;
    AddView(s, "V_OPEN", {"ID", "Name"}, "SELECT ID, NAME FROM T WHERE OPEN\nWITH CHECK OPTION");
    const Ddl ddl(3);
    const schema::Relation& v = s.relations.at("V_OPEN");
    EXPECT_EQ((Lines{ddl.CreateView(v), ddl.CreateOrAlterView(v)}),
              (Lines{"CREATE VIEW V_OPEN (ID, \"Name\") AS\nSELECT ID, NAME FROM T WHERE OPEN\nWITH CHECK OPTION",
                     "CREATE OR ALTER VIEW V_OPEN (ID, \"Name\") AS\nSELECT ID, NAME FROM T WHERE OPEN\nWITH CHECK "
                     "OPTION"}));
}

TEST(ModelDdl, AProcedureStubHasTheRealHeaderAndABodyThatDoesNothing)
{
    const Ddl ddl(3);
    schema::Parameter b = ParameterOf("B", Varchar(10, "UTF8"));
    b.notNull = true;
    b.type.collation = "UNICODE_CI";
    b.defaultSource = "DEFAULT 'x'";
    schema::Parameter c;
    c.name = "C";
    c.domain = "D_MONEY";
    c.mechanism = schema::ParameterMechanism::TypeOf;
    schema::Parameter d;
    d.name = "D";
    d.relationName = "T";
    d.fieldName = "PRICE";
    schema::Parameter e;
    e.name = "E";
    e.domain = "D_MONEY";
    schema::Procedure p = ProcedureOf("P", "BEGIN\n  R = A;\n  SUSPEND;\nEND", {ParameterOf("A", Integer()), b, c, d},
                                      {ParameterOf("R", Integer()), e});
    p.selectable = true;
    const schema::Procedure q = ProcedureOf("Q", "BEGIN\n  EXIT;\nEND");
    const std::string header = " P (A INTEGER,\n    B VARCHAR(10) CHARACTER SET UTF8 NOT NULL COLLATE UNICODE_CI DEFAULT "
                               "'x',\n    C TYPE OF D_MONEY,\n    D TYPE OF COLUMN T.PRICE)\nRETURNS (R INTEGER,\n"
                               "    E D_MONEY)\nAS\n";
    EXPECT_EQ((Lines{ddl.ProcedureStub(p), ddl.ProcedureBody(p), ddl.ProcedureStub(q), ddl.ProcedureBody(q)}),
              (Lines{"CREATE OR ALTER PROCEDURE" + header + "BEGIN SUSPEND; END",
                     "ALTER PROCEDURE" + header + "BEGIN\n  R = A;\n  SUSPEND;\nEND",
                     "CREATE OR ALTER PROCEDURE Q\nAS\nBEGIN EXIT; END", "ALTER PROCEDURE Q\nAS\nBEGIN\n  EXIT;\nEND"}));
}

TEST(ModelDdl, AFunctionStubReturnsItsRealTypeAndAnExternalRoutineNamesItsEngine)
{
    const Ddl ddl(3);
    schema::Function f = FunctionOf("F", "BEGIN\n  RETURN X * 2;\nEND", TypeCode(16), {ParameterOf("X", Integer())});
    f.returns.notNull = true;
    f.deterministic = true;
    schema::Function udr = FunctionOf("F_UDR", "", Integer());
    udr.engine = "UDR";
    udr.entryPoint = "udrlib!f";
    schema::Procedure p = ProcedureOf("P_UDR", "", {ParameterOf("A", Integer())});
    p.engine = "UDR";
    p.entryPoint = "udrlib!p";
    EXPECT_EQ((Lines{ddl.FunctionStub(f), ddl.FunctionBody(f), ddl.FunctionBody(udr), ddl.ProcedureBody(p)}),
              (Lines{"CREATE OR ALTER FUNCTION F (X INTEGER)\nRETURNS BIGINT NOT NULL DETERMINISTIC\nAS\nBEGIN END",
                     "ALTER FUNCTION F (X INTEGER)\nRETURNS BIGINT NOT NULL DETERMINISTIC\nAS\nBEGIN\n  RETURN X * "
                     "2;\nEND",
                     "CREATE OR ALTER FUNCTION F_UDR\nRETURNS INTEGER\nEXTERNAL NAME 'udrlib!f' ENGINE UDR",
                     "CREATE OR ALTER PROCEDURE P_UDR (A INTEGER)\nEXTERNAL NAME 'udrlib!p' ENGINE UDR"}));
}

TEST(ModelDdl, ALegacyExternalFunctionDeclaresItsArgumentsMechanismsAndModule)
{
    const Ddl ddl(3);
    schema::ExternalFunction abs{"ABS_X", "ib_udf", "IB_UDF_abs", 0, {{2, TypeCode(27), false}}, {0, TypeCode(27), false},
                                 ""};
    schema::ExternalFunction text{"LEFT_X", "ib_udf", "IB_UDF_left", 0,
                                  {{1, TypeCode(40), false}, {5, TypeCode(7), true}}, {-1, TypeCode(40), false}, ""};
    text.arguments[0].type.charLength = 255;
    text.returns.type.charLength = 255;
    schema::ExternalFunction into{"INTO_X", "m", "e", 2, {{1, Integer(), false}, {1, Integer(), false}}, {}, ""};
    EXPECT_EQ((Lines{ddl.DeclareExternalFunction(abs), ddl.DeclareExternalFunction(text),
                     ddl.DeclareExternalFunction(into)}),
              (Lines{"DECLARE EXTERNAL FUNCTION ABS_X DOUBLE PRECISION BY DESCRIPTOR RETURNS DOUBLE PRECISION BY "
                     "VALUE ENTRY_POINT 'IB_UDF_abs' MODULE_NAME 'ib_udf'",
                     "DECLARE EXTERNAL FUNCTION LEFT_X CSTRING(255), SMALLINT NULL RETURNS CSTRING(255) FREE_IT "
                     "ENTRY_POINT 'IB_UDF_left' MODULE_NAME 'ib_udf'",
                     "DECLARE EXTERNAL FUNCTION INTO_X INTEGER, INTEGER RETURNS PARAMETER 2 ENTRY_POINT 'e' "
                     "MODULE_NAME 'm'"}));
}

TEST(ModelDdl, APackageHeaderAndBodyAreCreatedAlteredAndRecreated)
{
    const Ddl ddl(3);
    const schema::Package p{"PK_MATH", "BEGIN\n  FUNCTION TWICE(X INTEGER) RETURNS INTEGER;\nEND",
                            "BEGIN\n  FUNCTION TWICE(X INTEGER) RETURNS INTEGER AS BEGIN RETURN X * 2; END\nEND", ""};
    EXPECT_EQ((Lines{ddl.CreatePackage(p), ddl.CreatePackageBody(p), ddl.AlterPackage(p), ddl.RecreatePackageBody(p)}),
              (Lines{"CREATE PACKAGE PK_MATH\nAS\n" + p.headerSource, "CREATE PACKAGE BODY PK_MATH\nAS\n" + p.bodySource,
                     "ALTER PACKAGE PK_MATH\nAS\n" + p.headerSource,
                     "RECREATE PACKAGE BODY PK_MATH\nAS\n" + p.bodySource}));
}

TEST(ModelDdl, EachTriggerTypeHasItsFiringPhrase)
{
    const long long anyDdl = 0x7FFFFFFFFFFFDFFELL;
    Lines phrases;
    for (long long type : {1LL, 2LL, 3LL, 4LL, 5LL, 6LL, 17LL, 113LL, 8192LL, 8193LL, 8194LL, 8195LL, 8196LL,
                           16386LL, 16387LL, 16394LL, 0x4000LL | (1LL << 16), anyDdl, anyDdl | 1})
        phrases.push_back(schema::TriggerTypeText(type));
    EXPECT_EQ(phrases, (Lines{"BEFORE INSERT", "AFTER INSERT", "BEFORE UPDATE", "AFTER UPDATE", "BEFORE DELETE",
                              "AFTER DELETE", "BEFORE INSERT OR UPDATE", "BEFORE INSERT OR UPDATE OR DELETE",
                              "ON CONNECT", "ON DISCONNECT", "ON TRANSACTION START", "ON TRANSACTION COMMIT",
                              "ON TRANSACTION ROLLBACK", "BEFORE CREATE TABLE", "AFTER CREATE TABLE",
                              "BEFORE CREATE TABLE OR DROP TABLE", "BEFORE CREATE EXCEPTION",
                              "BEFORE ANY DDL STATEMENT", "AFTER ANY DDL STATEMENT"}));
}

TEST(ModelDdl, ATriggerTypeOrDdlEventNoServerMakesIsRefused)
{
    EXPECT_EQ((Lines{ErrorOf([] { schema::TriggerTypeText(0); }),
                     ErrorOf([] { schema::TriggerTypeText(0x4000LL | (1LL << 13)); })}),
              (Lines{"The catalog holds a trigger type this comparison does not know: 0",
                     "The catalog holds a DDL trigger event this comparison does not know: bit 13"}));
}

TEST(ModelDdl, TableDatabaseAndDdlTriggersAreCreatedWithTheirStateFiringAndPosition)
{
    const Ddl ddl(3);
    const schema::Trigger table{"TR_T_BI", "T", 1, 0, false, "AS\nBEGIN\n  NEW.ID = 1;\nEND", "", "", ""};
    const schema::Trigger connect{"TR_CONNECT", "", 8192, 1, true, "AS\nBEGIN\nEND", "", "", ""};
    const schema::Trigger ddlTrigger{"TR_DDL", "", 16387, 0, false, "AS\nBEGIN\nEND", "", "", ""};
    const schema::Trigger udr{"TR_UDR", "T", 2, 3, false, "", "UDR", "udrlib!t", ""};
    EXPECT_EQ((Lines{ddl.CreateTrigger(table), ddl.CreateTrigger(connect), ddl.CreateTrigger(ddlTrigger),
                     ddl.CreateTrigger(udr), ddl.CreateOrAlterTrigger(table), ddl.AlterTriggerState(connect)}),
              (Lines{"CREATE TRIGGER TR_T_BI FOR T ACTIVE BEFORE INSERT POSITION 0\nAS\nBEGIN\n  NEW.ID = 1;\nEND",
                     "CREATE TRIGGER TR_CONNECT INACTIVE ON CONNECT POSITION 1\nAS\nBEGIN\nEND",
                     "CREATE TRIGGER TR_DDL ACTIVE AFTER CREATE TABLE POSITION 0\nAS\nBEGIN\nEND",
                     "CREATE TRIGGER TR_UDR FOR T ACTIVE AFTER INSERT POSITION 3\nEXTERNAL NAME 'udrlib!t' ENGINE UDR",
                     "CREATE OR ALTER TRIGGER TR_T_BI FOR T ACTIVE BEFORE INSERT POSITION 0\nAS\nBEGIN\n  NEW.ID = "
                     "1;\nEND",
                     "ALTER TRIGGER TR_CONNECT INACTIVE"}));
}

TEST(ModelDdl, GrantsNameTheirObjectKindAndGranteeKind)
{
    const Ddl ddl(3);
    schema::Grant select = GrantOf("S", "T", "CLERK");
    select.grantOption = 1;
    schema::Grant update = GrantOf("U", "T", "R_SALES", 0, 13);
    update.field = "PRICE";
    schema::Grant member = GrantOf("M", "R_SALES", "CLERK", 13);
    member.grantOption = 1;
    EXPECT_EQ((Lines{ddl.GrantText(select), ddl.GrantText(update), ddl.GrantText(GrantOf("X", "P", "PUBLIC", 5)),
                     ddl.GrantText(GrantOf("G", "G_ID", "TR_T_BI", 14, 2)),
                     ddl.GrantText(GrantOf("X", "F", "PK_MATH", 15, 18)),
                     ddl.GrantText(GrantOf("I", "T", "V_T", 0, 1)), ddl.GrantText(GrantOf("G", "E_NO", "F", 7, 15)),
                     ddl.GrantText(GrantOf("X", "PK_MATH", "P", 18, 5)), ddl.GrantText(member)}),
              (Lines{"GRANT SELECT ON T TO USER CLERK WITH GRANT OPTION", "GRANT UPDATE (PRICE) ON T TO ROLE R_SALES",
                     "GRANT EXECUTE ON PROCEDURE P TO PUBLIC", "GRANT USAGE ON SEQUENCE G_ID TO TRIGGER TR_T_BI",
                     "GRANT EXECUTE ON FUNCTION F TO PACKAGE PK_MATH", "GRANT INSERT ON T TO VIEW V_T",
                     "GRANT USAGE ON EXCEPTION E_NO TO FUNCTION F", "GRANT EXECUTE ON PACKAGE PK_MATH TO PROCEDURE P",
                     "GRANT R_SALES TO USER CLERK WITH ADMIN OPTION"}));
}

TEST(ModelDdl, ARevokeTakesAPrivilegeOrOnlyItsGrantOption)
{
    const Ddl ddl(3);
    schema::Grant select = GrantOf("S", "T", "CLERK");
    select.grantOption = 1;
    schema::Grant member = GrantOf("M", "R_SALES", "CLERK", 13);
    member.grantOption = 1;
    schema::Grant execute = GrantOf("X", "P", "R_SALES", 5, 13);
    EXPECT_EQ((Lines{ddl.Revoke(select), ddl.Revoke(member), ddl.Revoke(execute), ddl.RevokeGrantOption(select),
                     ddl.RevokeGrantOption(member)}),
              (Lines{"REVOKE SELECT ON T FROM USER CLERK", "REVOKE R_SALES FROM USER CLERK",
                     "REVOKE EXECUTE ON PROCEDURE P FROM ROLE R_SALES", "REVOKE GRANT OPTION FOR SELECT ON T FROM USER CLERK",
                     "REVOKE ADMIN OPTION FOR R_SALES FROM USER CLERK"}));
}

// A quoted grantee's name may hold " TO ": the revoke is made of the grant's parts, not cut from its text.
TEST(ModelDdl, ARevokeFromAGranteeWhoseQuotedNameHoldsToIsWhole)
{
    const Ddl ddl(3);
    EXPECT_EQ(ddl.Revoke(GrantOf("S", "T", "BACK TO FRONT")), "REVOKE SELECT ON T FROM USER \"BACK TO FRONT\"");
}

TEST(ModelDdl, CommentsNameTheirObjectAndSayNullForNone)
{
    const Ddl ddl(3);
    EXPECT_EQ((Lines{ddl.Comment(ddl.ObjectPhrase(ObjectKind::Table, "T"), "Client's orders"),
                     ddl.Comment(ddl.ObjectPhrase(ObjectKind::Generator, "G_ID"), ""),
                     ddl.Comment(ddl.ObjectPhrase(ObjectKind::ExternalFunction, "ABS_X"), "abs"),
                     ddl.Comment(ddl.ColumnPhrase("T", "price"), "in cents"),
                     ddl.Comment(ddl.ParameterPhrase(ObjectKind::Procedure, "P", "A"), "first"),
                     ddl.Comment(ddl.ParameterPhrase(ObjectKind::Function, "F", "X"), "")}),
              (Lines{"COMMENT ON TABLE T IS 'Client''s orders'", "COMMENT ON SEQUENCE G_ID IS NULL",
                     "COMMENT ON EXTERNAL FUNCTION ABS_X IS 'abs'", "COMMENT ON COLUMN T.\"price\" IS 'in cents'",
                     "COMMENT ON PROCEDURE PARAMETER P.A IS 'first'", "COMMENT ON FUNCTION PARAMETER F.X IS NULL"}));
}

TEST(ModelDdl, WhatTakesAnObjectOutNamesItsKindAsTheServerDoes)
{
    const Ddl ddl(3);
    EXPECT_EQ((Lines{ddl.Drop(ObjectKind::Generator, "G_ID"), ddl.Drop(ObjectKind::ExternalFunction, "ABS_X"),
                     ddl.Drop(ObjectKind::View, "v"), ddl.DropColumn("T", "A"), ddl.DropConstraint("T", "INTEG_5"),
                     ddl.RenameColumn("T", "VK$COPY_1", "A")}),
              (Lines{"DROP SEQUENCE G_ID", "DROP EXTERNAL FUNCTION ABS_X", "DROP VIEW \"v\"", "ALTER TABLE T DROP A",
                     "ALTER TABLE T DROP CONSTRAINT INTEG_5", "ALTER TABLE T ALTER VK$COPY_1 TO A"}));
}

TEST(ModelDdl, TheReviewsDefinitionIsTheWholeObjectOrItsRefusalAsAComment)
{
    const Ddl ddl(3);
    const schema::Domain d{"D_POS", Integer(), "", "CHECK (VALUE > 0)", false, ""};
    schema::Column c = ColumnOf("B", Integer(), 1);
    c.computedSource = "(A + 1)";
    const schema::Relation t = TableOf("T", {ColumnOf("A", Integer(), 0), c});
    const schema::Package p{"PK", "BEGIN END", "", ""};
    EXPECT_EQ((Lines{ddl.Definition(ObjectKind::Domain, &d), ddl.Definition(ObjectKind::Table, &t),
                     ddl.Definition(ObjectKind::Package, &p), Ddl(1).Definition(ObjectKind::Domain, &d),
                     Ddl(1).Definition(ObjectKind::Table, &t)}),
              (Lines{"CREATE DOMAIN D_POS AS INTEGER\nCHECK (VALUE > 0)",
                     "CREATE TABLE T (A INTEGER,\n    B INTEGER COMPUTED BY (NULL));\nALTER TABLE T ALTER B TYPE "
                     "INTEGER COMPUTED BY (A + 1)",
                     "CREATE PACKAGE PK\nAS\nBEGIN END", "CREATE DOMAIN D_POS AS INTEGER\nCHECK (VALUE > 0)",
                     "CREATE TABLE T (A INTEGER,\n    B INTEGER COMPUTED BY (NULL));\nALTER TABLE T ALTER B TYPE "
                     "INTEGER COMPUTED BY (A + 1)"}));
    const schema::Domain quoted{"d_pos", Integer(), "", "", false, ""};
    EXPECT_EQ(Ddl(1).Definition(ObjectKind::Domain, &quoted),
              "/* The name d_pos needs quotes, which SQL dialect 1 cannot write */");
}

TEST(ModelDdl, AWordTheServerSaysItReservesIsQuoted)
{
    schema::Ddl ddl(3);
    EXPECT_EQ(ddl.Name("SKIP"), "SKIP");
    ddl.SetReserved({"SKIP"});
    EXPECT_EQ(ddl.Name("SKIP"), "\"SKIP\"");
    EXPECT_EQ(ddl.Name("WINDOW"), "\"WINDOW\"");
}
