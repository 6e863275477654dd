// The planner's shared state: the changes sorted by action and kind, the plan being built, and
// the helpers every kind's rules use. Each kind's rules are in a PlanXxx.cpp of their own.
#pragma once
#include "schema/Ddl.h"
#include "schema/Plan.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace schema::planning {

// Drops come first, dependents before what they use; then the creating phases.
enum Phase {
    StubDependents = -18,
    DropTriggers,
    DropGrants,
    DropViews,
    EmptyDroppedRoutines,
    DropRoutines,
    DropPackages,
    DropForeignKeys,
    DropConstraints,
    DropIndices,
    DropColumns,
    DropTables,
    DropExternalFunctions,
    DropDomains,
    DropExceptions,
    DropGenerators,
    // A character set's default collation is set back before the collation it names is dropped.
    ResetCharacterSets,
    DropRolesAndCollations,
    Collations = 1,
    // The database's defaults, before any text is made that takes them.
    DatabaseDefaults,
    Roles,
    Generators,
    Exceptions,
    Domains,
    Tables,
    ColumnChanges,
    ExternalFunctions,
    Stubs,
    Keys,
    ForeignKeys,
    Indices,
    Views,
    Bodies,
    // A changed routine's body must stand before the views on it are made again: altering the
    // routine afterwards would leave those views' columns unknown to the routines that use them.
    RestoredViews,
    RestoredBodies,
    Checks,
    Triggers,
    Grants,
    Comments,
};

class Planner {
public:
    Planner(const Schema& old, const Schema& neu, const std::vector<Change>& changes, const PlanOptions& options);
    Plan Build();

private:
    using ChangeFn = std::function<void(const Change&)>;

    // ---- the walk over the changes (Planner.cpp) ----
    void Each(ObjectKind kind, const ChangeFn& fn);
    void EachDrop(ObjectKind kind, const ChangeFn& fn);
    // One call per object that differs, with every property of it that differs.
    void EachAltered(ObjectKind kind, const ChangeFn& fn);
    void Add(int phase, const Change& c, const std::string& sql, bool psql = false);
    void Add(int phase, const ObjectId& object, const std::string& sql, bool psql = false);
    void NotMended(const Change& c, const std::string& why);
    // The same with its stable code and what would mend it (object, code and why are filled here).
    void NotMended(const Change& c, const std::string& why, schema::NotMended item);
    bool Dropping(ObjectKind kind, const std::string& key) const;
    // Changed in more than its comments.
    bool Altering(ObjectKind kind, const std::string& key) const;
    // Types a server of an older on-disk structure does not have.
    void CheckTypeFits(const Type& type, const std::string& object) const;

    // ---- comments (PlanComments.cpp) ----
    void Comment(const ObjectId& object, const std::string& what, const std::string& description,
                 bool evenEmpty = false);
    void CreatedComments();
    // Parameter comments of a routine; onlyChanged: those whose comment differs, NULL included.
    void ParameterComments(const Change& c, bool onlyChanged);
    void AlteredComment(const Change& c);
    void RoutineComments(const Change& c, bool onlyChanged);

    // ---- collations, roles, generators and exceptions (PlanNamed.cpp) ----
    void CreateNamed();
    void AlterNamed();
    void AlterDatabase();
    void NewStart(const Change& c);
    void Publication();
    // What of Old's names the collation: domains, columns, parameters, character sets.
    std::size_t CollationUsers(const std::string& collation) const;

    // ---- domains (PlanDomains.cpp) ----
    void CreateDomains();
    void AlterDomain(const Change& c);

    // ---- tables and columns (PlanColumns.cpp) ----
    void CreateTables();
    void AddMissingColumns();
    void AlterTable(const Change& c);
    void AlterColumn(const Change& c);
    void AlterIdentity(const Change& c, const Column& o, const Column& n);
    void RebuildColumn(const Change& c, const Column& n, const std::string& noConversion);
    void Migrate(const Change& c, const Column& n);
    // What the server will not drop a column from under: its keys and the foreign keys on it,
    // its indices, the CHECKs and computed columns of its table that name it, and the views,
    // routines and triggers that use it. Each goes before the column and comes back after.
    void LiftColumn(const std::string& table, const std::string& column);
    void Computed(const std::string& table, const Column& column);

    // ---- constraints and indices (PlanConstraints.cpp) ----
    void CreateConstraintsAndIndices();
    void AddConstraint(const ObjectId& object, const Constraint& k);
    void CreateIndex(const Change& c, const Index& ix);
    void AlterConstraints();
    void AlterIndex(const Change& c);
    void DropConstraint(const ObjectId& object, const std::string& oldKey, const Constraint& o);
    std::string OldConstraintName(const std::string& key) const;
    // The keys and foreign keys on a column whose type changes in place, and the foreign keys
    // that reference it: the server changes no column an integrity constraint's index uses.
    void RemakeKeysOn(const std::string& table, const std::string& column);
    void RemakeConstraint(const std::string& key);
    // Old's keys, unique keys and foreign keys on a column, and the foreign keys referencing it.
    std::vector<std::string> KeysOn(const std::string& table, const std::string& column) const;
    // The server lists a table's CHECKs in the order they were made: those after the first one
    // out of New's order are made again, in New's order.
    void OrderChecks();

    // ---- routines and external functions (PlanRoutines.cpp) ----
    void CreateExternalFunctions();
    void AlterExternalFunction(const Change& c);
    void CreateRoutines();
    void CreateRoutine(const Change& c, bool external, const std::string& stub, const std::string& body);
    void AlterProcedure(const Change& c);
    void AlterFunction(const Change& c);
    using Text = std::function<std::string()>;
    void AlterRoutine(const Change& c, bool header, bool external, const Text& stub, const Text& body);
    // The server will not change a routine's parameters while a view selects them.
    // A packaged routine is named with its package.
    void TakeOutDependents(const std::string& routine, const std::string& package = "");
    // Old has a view on a view that selects the procedure (of the package, where one is named).
    bool OnViewsOnViews(const std::string& procedure, const std::string& package = "") const;
    // What uses an object, or only one column of it when column is given; the routine of a
    // package where package is given.
    void TakeOutUsers(const std::string& object, const std::string& column, const std::string& package = "");
    void TakeOutTrigger(const std::string& name);
    void TakeOutPackageBody(const std::string& name);
    void TakeOutRoutine(const std::string& name);
    void TakeOutViews(const std::set<std::string>& views);

    // ---- packages (PlanPackages.cpp) ----
    void CreatePackages();
    void AlterPackage(const Change& c);

    // ---- views (PlanViews.cpp) ----
    void CreateViews();
    void AlterView(const Change& c);

    // ---- triggers and grants (PlanTriggers.cpp, PlanGrants.cpp) ----
    void CreateTriggers();
    void AlterTrigger(const Change& c);
    void CreateGrants();
    void AlterGrant(const Change& c);
    // A privilege goes with its object, and with the routine or trigger that held it.
    bool GrantGoes(const Grant& g) const;

    // ---- what only Old has (PlanDrops.cpp) ----
    void PlanDrops();
    void DropDependents(const std::set<std::string>& tables);
    void DropTableParts(const std::set<std::string>& tables);

    const Schema& old_;
    const Schema& neu_;
    PlanOptions options_;
    // Constraints dropped and added again around a column's new type, by key; and indices and
    // computed columns, by name.
    std::set<std::string> remade_;
    std::set<std::string> remadeIndices_;
    std::set<std::string> placeheld_;
    Ddl ddl_;
    std::map<ObjectKind, std::vector<const Change*>> creates_;
    std::map<ObjectKind, std::vector<Change>> alters_;  // one change per object, its properties merged
    std::map<ObjectKind, std::vector<const Change*>> drops_;
    // Objects taken out for a changed header, and the views made again for it.
    std::set<std::string> taken_;
    std::set<std::string> replacedViews_;
    Plan* plan_ = nullptr;
};

// Views in an order where each comes after the views it selects from (or, reversed, before
// them), by the schema's dependencies; a cycle throws DdlError (PlanOrder.cpp).
std::vector<std::string> OrderedByUse(const std::vector<std::string>& views, const Schema& schema, bool reversed);

// The steps in the order of their phases, each phase in the order it was planned.
void SortByPhase(std::vector<Step>& steps);

// Altering a procedure gives its outputs new implicit domains and moves only the views that
// select it directly onto them: a view on such a view keeps the old ones, and in that
// transaction the server no longer knows its columns, nor drops the old domains at the commit.
// So a view that reaches a procedure through another view is made after the procedure's body
// (or its package's), which is drawn in among the views after the views that body uses.
// Steps sorted by phase; a schema's dependencies (PlanOrder.cpp).
void BodiesBeforeViewsOnViews(std::vector<Step>& steps, const Schema& schema);

}
