// The plan as a script for isql: the dialect, the warnings, the migrations, then the steps in
// one transaction with SET TERM around PSQL.
#include "schema/Plan.h"

#include <algorithm>
#include <map>
#include <set>

namespace schema {

std::string CommentSafe(std::string text)
{
    for (std::size_t at; (at = text.find("*/")) != std::string::npos;)
        text.replace(at, 2, "* /");
    return text;
}

namespace {

// A terminator that the text does not hold.
std::string TerminatorFor(const std::vector<const Step*>& steps)
{
    for (const char* candidate : {"^", "!!", "^^", "#~#", "~~~~"}) {
        bool free = true;
        for (const Step* step : steps)
            free = free && step->sql.find(candidate) == std::string::npos;
        if (free)
            return candidate;
    }
    return "~~vorkat~~";
}

}

namespace {

std::string Script(const Plan& plan, const ScriptNotes* notes)
{
    std::vector<const Step*> psql;
    for (const auto& step : plan.steps)
        if (step.psql)
            psql.push_back(&step);
    const std::string term = TerminatorFor(psql);
    // One transaction, as in a repair: a refused statement ends the script before the COMMIT.
    std::string text = "SET BAIL ON;\nSET AUTODDL OFF;\n";
    // A warning goes beside the first statement of its object; one about an object without a
    // statement stays here.
    std::map<ObjectId, std::vector<std::string>> beside;
    if (!notes) {
        for (const auto& warning : plan.warnings)
            text += "/* Warning: " + CommentSafe(warning) + " */\n";
    } else {
        std::set<ObjectId> stated;
        for (const auto& step : plan.steps)
            stated.insert(step.object);
        for (const auto& m : plan.migrations)
            stated.insert(m.object);
        for (const auto& warning : notes->beside) {
            if (stated.count(warning.object))
                beside[warning.object].push_back(warning.message);
            else
                text += "/* Warning: " + CommentSafe(warning.Text()) + " */\n";
        }
    }
    auto besideOf = [&](const ObjectId& object) {
        std::string lines;
        auto it = beside.find(object);
        if (it != beside.end()) {
            for (const auto& message : it->second)
                lines += "/* Warning: " + CommentSafe(message) + " */\n";
            beside.erase(it);
        }
        return lines;
    };
    auto mark = [&](const ObjectId& object) {
        return notes && notes->destructive.count(object) ? std::string(" (destructive)") : std::string();
    };
    for (const auto& left : plan.notMended)
        text += "/* Not mended: " + CommentSafe(left) + " */\n";
    for (const auto& m : plan.migrations) {
        text += "\n" + besideOf(m.object) + "/* Data migration of " + CommentSafe(m.object.Text()) +
                ", committed step by step" + mark(m.object) + " */\n";
        for (const auto* part : {&m.add, &m.copy, &m.restore}) {
            if (part->empty())
                continue;
            for (const auto& sql : *part)
                text += Ddl::Source(sql) + ";\n";
            text += "COMMIT;\n";
        }
    }

    bool inTerm = false;
    for (const auto& step : plan.steps) {
        if (step.psql != inTerm) {
            text += step.psql ? "\nSET TERM " + term + " ;\n" : "SET TERM ; " + term + "\n";
            inTerm = step.psql;
        }
        text += "\n" + besideOf(step.object) + "/* " + CommentSafe(step.object.Text()) + mark(step.object) + " */\n" +
                Ddl::Source(step.sql) + (step.psql ? " " + term : ";") + "\n";
    }
    if (inTerm)
        text += "SET TERM ; " + term + "\n";
    text += "\nCOMMIT;\n";
    // The note goes where isql reads it first; any statement, a migration's too, may hold such text.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    return "SET SQL DIALECT " + std::to_string(plan.dialect) + ";\n" +
           (ascii ? "" : "/* This script holds text in UTF-8: run it with isql-fb -ch UTF8 */\n") + text;
}

}

std::string ScriptText(const Plan& plan) { return Script(plan, nullptr); }

std::string ScriptText(const Plan& plan, const ScriptNotes& notes) { return Script(plan, &notes); }

}
