// The complete comparison as the tests drive it: each call of the schema API goes through here.
#pragma once
#include "db/Connection.h"
#include "db/Transaction.h"
#include "schema/Plan.h"
#include "schema/Safety.h"
#include "tests/support/TestDb.h"

#include <string>
#include <vector>

// What a shell command wrote to its standard output.
std::string CommandOutput(const std::string& command);

// Firebird's own extract of a database, without the line that names its file.
std::string Extract(const std::string& path);

// The text of a file, byte for byte; empty when there is none.
std::string FileText(const std::string& path);

// Attached as the complete engine attaches: in UTF-8.
struct Attached {
    Connection db;
    Transaction tran{db};
    explicit Attached(const std::string& path);
    ~Attached();
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;
};

schema::Schema InspectFile(const std::string& path);

// Both catalogs, New read first as the engine reads them, and what differs between them.
struct Compared {
    schema::Schema old;
    schema::Schema neu;
    std::vector<schema::Change> changes;
};
Compared Compare(const std::string& oldPath, const std::string& newPath);

// Each change as the report shows it: type, name and message, joined by the separator.
std::vector<std::string> ChangeRows(const std::vector<schema::Change>& changes, const std::string& separator = " ");
// A step as "TYPE name".
std::string StepRow(const schema::Step& step);
// Each safety issue as "TYPE name: message".
std::vector<std::string> IssueRows(const std::vector<schema::SafetyIssue>& issues);

// The plan for what differs; Old-only objects are dropped only with drop, as --drop does.
schema::Plan PlanOf(const Compared& compared, bool drop = false, const schema::PlanOptions& options = {});
schema::Plan PlanFor(const std::string& oldPath, const std::string& newPath, bool drop = false,
                     const schema::PlanOptions& options = {});
// The safety checks on Old's rows, as a repair runs them before the plan.
schema::SafetyResult CheckOld(const std::string& oldPath, const Compared& compared, bool drop, bool migrating = false);

// The plan run on Old in one transaction; the DbError of a refusal passes through.
void ApplyTo(const std::string& oldPath, const schema::Plan& plan);
// Old brought up to date with New, without --drop.
void Repair(const std::string& oldPath, const std::string& newPath);

std::string ScriptOf(const schema::Plan& plan);
// The script run through isql on Old, as a user would run it; what isql wrote.
std::string RunScript(const TestDb& oldDb, const schema::Plan& plan);

// Firebird's employee sample as Debian ships it, less the SUSPEND of its procedures without
// outputs, which Firebird 4 and later refuse: whole, and without the lines that make the
// database (for a TestDb).
std::string EmployeeScript();
std::string EmployeeSql();

// The on-disk structure of the databases this run's engine makes: 120 for Firebird 3, 130, 131.
int EngineOds();

// Old has become New: the same catalog, nothing left to differ, and the same extract.
void ExpectConverged(const TestDb& oldDb, const TestDb& newDb);
