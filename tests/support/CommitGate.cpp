// The gate's generators, and Old's triggers that wait for them through EXECUTE STATEMENT.
#include "tests/support/CommitGate.h"
#include "db/Query.h"
#include "db/Transaction.h"

const char* const GatedNewSql = "CREATE TABLE T_KEPT (ID INTEGER);\nCREATE TABLE T_ADDED (ID INTEGER);";

ServerGate::ServerGate(const FbServer& server, const std::string& file)
    : name_(server.Name(server.Folder() + "/" + file)), password_(server.Password())
{
    server.Isql("CREATE DATABASE '" + name_ + "' USER '" + FbServer::User() + "' PASSWORD '" + password_ +
                "';\nCREATE SEQUENCE G_ENTERED;\nCREATE SEQUENCE G_GO;\nCOMMIT;\n");
    db_.Params = {"user_name=" + FbServer::User(), "password=" + password_};
    db_.SetDatabaseName(name_);
    db_.Open();
}

std::string ServerGate::OldSql(GateIn where) const
{
    const std::string external =
        " ON EXTERNAL '" + name_ + "' AS USER '" + FbServer::User() + "' PASSWORD '" + password_ + "'";
    const std::string wait = "    EXECUTE STATEMENT 'SELECT GEN_ID(G_ENTERED, 1) FROM RDB$DATABASE'" + external +
                             " INTO :N;\n"
                             "    WHILE (GO = 0) DO\n"
                             "      EXECUTE STATEMENT 'SELECT GEN_ID(G_GO, 0) FROM RDB$DATABASE'" +
                             external + " INTO :GO;\n";
    const std::string declarations = "DECLARE N INTEGER;\nDECLARE GO INTEGER = 0;\n";
    std::string sql = "CREATE TABLE T_KEPT (ID INTEGER);\nCOMMIT;\nSET TERM ^;\n"
                      "CREATE TRIGGER GATE_DDL AFTER CREATE TABLE AS\n" +
                      declarations +
                      "BEGIN\n"
                      "  IF (RDB$GET_CONTEXT('DDL_TRIGGER', 'OBJECT_NAME') = 'T_ADDED') THEN\n"
                      "  BEGIN\n" +
                      (where == GateIn::Statement ? wait : "    RDB$SET_CONTEXT('USER_TRANSACTION', 'GATED', '1');\n") +
                      "  END\n"
                      "END^\n";
    if (where == GateIn::Commit)
        sql += "CREATE TRIGGER GATE_COMMIT ON TRANSACTION COMMIT AS\n" + declarations +
               "BEGIN\n"
               "  IF (RDB$GET_CONTEXT('USER_TRANSACTION', 'GATED') = '1') THEN\n"
               "  BEGIN\n" +
               wait +
               "  END\n"
               "END^\n";
    return sql + "SET TERM ;^\n";
}

std::int64_t ServerGate::Entered()
{
    return Step("G_ENTERED", 0);
}

void ServerGate::Open()
{
    Step("G_GO", 1);
}

std::int64_t ServerGate::Step(const std::string& generator, int by)
{
    Transaction transaction(db_);
    transaction.StartTransaction();
    Query query(db_, transaction,
                {"select GEN_ID(" + generator + ", " + std::to_string(by) + ") as N from RDB$DATABASE"});
    query.Open();
    const std::int64_t value = query.AsInteger("N");
    query.Close();
    transaction.Commit();
    return value;
}
