// The plan's frame: the changes sorted by action and kind, the order in which the kinds' rules
// run, and the helpers they share.
#include "schema/Planner.h"

#include <algorithm>

namespace schema {
namespace planning {
namespace {

bool ValidUtf8(const std::string& text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += length;
    }
    return true;
}

// The error with the object it is about in front, once.
DdlError Named(const Change& change, const DdlError& error)
{
    const std::string prefix = change.Object().Text() + ": ";
    const std::string message = error.what();
    return DdlError(message.rfind(prefix, 0) == 0 ? message : prefix + message);
}

void Guarded(const Change& change, const std::function<void(const Change&)>& fn)
{
    try {
        fn(change);
    } catch (const DdlError& error) {
        throw Named(change, error);
    }
}

}

Planner::Planner(const Schema& old, const Schema& neu, const std::vector<Change>& changes, const PlanOptions& options)
    : old_(old), neu_(neu), options_(options), ddl_(old.dialect)
{
    std::set<std::string> chosen;
    for (const auto& [name, charset] : neu.characterSets)
        if (charset.defaultCollation != name)
            chosen.insert(name);
    ddl_.SetChosenDefaults(std::move(chosen));
    // The statements run on Old's server.
    ddl_.SetReserved(old.reservedWords);
    for (const auto& change : changes) {
        if (change.action == Action::Create) {
            creates_[change.kind].push_back(&change);
        } else if (change.action == Action::OnlyInOld) {
            drops_[change.kind].push_back(&change);
        } else {
            // A table's column order is reported after its columns: one object, two changes.
            auto& merged = alters_[change.kind];
            auto same = std::find_if(merged.begin(), merged.end(), [&](const Change& m) {
                return m.table == change.table && m.key == change.key;
            });
            if (same == merged.end())
                merged.push_back(change);
            else
                same->properties.insert(same->properties.end(), change.properties.begin(), change.properties.end());
        }
    }
}

Plan Planner::Build()
{
    Plan plan;
    plan.dialect = ddl_.Dialect();
    plan_ = &plan;
    PlanDrops();

    CreateNamed();
    CreateDomains();
    CreateTables();
    AddMissingColumns();
    CreateExternalFunctions();
    CreatePackages();
    CreateRoutines();
    CreateConstraintsAndIndices();
    CreateViews();
    CreateTriggers();
    CreateGrants();
    CreatedComments();

    for (const auto& [kind, changes] : alters_)
        for (const Change& c : changes)
            if (c.Has(Property::NotCompared))
                NotMended(c, "this comparison cannot create it; create it by hand", schema::NotMended{{}, "cannot-create"});
    AlterNamed();
    AlterDatabase();
    EachAltered(ObjectKind::Domain, [&](const Change& c) { AlterDomain(c); });
    EachAltered(ObjectKind::Field, [&](const Change& c) { AlterColumn(c); });
    EachAltered(ObjectKind::Table, [&](const Change& c) { AlterTable(c); });
    EachAltered(ObjectKind::ExternalFunction, [&](const Change& c) { AlterExternalFunction(c); });
    EachAltered(ObjectKind::Package, [&](const Change& c) { AlterPackage(c); });
    EachAltered(ObjectKind::Procedure, [&](const Change& c) { AlterProcedure(c); });
    EachAltered(ObjectKind::Function, [&](const Change& c) { AlterFunction(c); });
    // After the routines: a changed header may have made a view again already.
    EachAltered(ObjectKind::View, [&](const Change& c) { AlterView(c); });
    AlterConstraints();
    OrderChecks();
    EachAltered(ObjectKind::Index, [&](const Change& c) { AlterIndex(c); });
    EachAltered(ObjectKind::Trigger, [&](const Change& c) { AlterTrigger(c); });
    EachAltered(ObjectKind::Grant, [&](const Change& c) { AlterGrant(c); });

    // A routine taken out that has a new body of its own gets it where the restored ones go.
    for (auto& step : plan.steps)
        if (step.phase == Bodies && taken_.count(step.object.name) &&
            (step.object.kind == ObjectKind::Procedure || step.object.kind == ObjectKind::Function ||
             step.object.kind == ObjectKind::Package))
            step.phase = RestoredBodies;
    SortByPhase(plan.steps);
    BodiesBeforeViewsOnViews(plan.steps, neu_);
    return plan;
}

void Planner::Each(ObjectKind kind, const ChangeFn& fn)
{
    auto it = creates_.find(kind);
    if (it != creates_.end())
        for (const Change* change : it->second)
            Guarded(*change, fn);
}

void Planner::EachDrop(ObjectKind kind, const ChangeFn& fn)
{
    auto it = drops_.find(kind);
    if (it != drops_.end())
        for (const Change* change : it->second)
            Guarded(*change, fn);
}

void Planner::EachAltered(ObjectKind kind, const ChangeFn& fn)
{
    auto it = alters_.find(kind);
    if (it != alters_.end())
        for (const Change& change : it->second)
            Guarded(change, fn);
}

void Planner::Add(int phase, const Change& c, const std::string& sql, bool psql)
{
    Add(phase, c.Object(), sql, psql);
}

void Planner::Add(int phase, const ObjectId& object, const std::string& sql, bool psql)
{
    // The statements go out in UTF-8, the catalog's own encoding; other bytes would be refused
    // half way through a repair.
    if (!ValidUtf8(sql))
        throw DdlError(object.Text() + ": its text holds bytes that are not valid UTF-8");
    plan_->steps.push_back({phase, object, sql, psql});
}

void Planner::NotMended(const Change& c, const std::string& why)
{
    NotMended(c, why, schema::NotMended{});
}

void Planner::NotMended(const Change& c, const std::string& why, schema::NotMended item)
{
    item.object = c.Object();
    item.why = why;
    plan_->notMended.push_back(item.Text());
    plan_->left.push_back(std::move(item));
}

bool Planner::Dropping(ObjectKind kind, const std::string& key) const
{
    auto it = drops_.find(kind);
    if (it == drops_.end())
        return false;
    return std::any_of(it->second.begin(), it->second.end(), [&](const Change* c) { return c->key == key; });
}

bool Planner::Altering(ObjectKind kind, const std::string& key) const
{
    auto it = alters_.find(kind);
    if (it == alters_.end())
        return false;
    for (const Change& change : it->second)
        if (change.key == key)
            for (const auto& p : change.properties)
                if (p.property != Property::Comment)
                    return true;
    return false;
}

void Planner::CheckTypeFits(const Type& type, const std::string& object) const
{
    const bool newer = type.fieldType == 24 || type.fieldType == 25 || type.fieldType == 26 || type.fieldType == 28 ||
                       type.fieldType == 29;
    if (newer && old_.odsMajor < 13)
        throw DdlError(object + " cannot be created on the Old Database: its type (code " +
                       std::to_string(type.fieldType) + ") needs Firebird 4 or later");
}

}

Plan MakePlan(const Schema& old, const Schema& neu, const std::vector<Change>& changes, const PlanOptions& options)
{
    return planning::Planner(old, neu, changes, options).Build();
}

}
