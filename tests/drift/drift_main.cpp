// vorkat-drift: the drift fuzzer for as many seeds as wanted. Each faulty seed is shrunk to the
// fewest edits that still fail and written as a fixture case.
#include "tests/drift/Drift.h"
#include "tests/support/SchemaPair.h"

#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>

namespace {

void Usage()
{
    std::cerr << "usage: vorkat-drift [--seeds N] [--first S] [--schema NAME] [--edits K] [--mode drop|force|both]\n"
                 "                    [--out FOLDER] [--no-shrink] [--vs-empty]\n";
}

void WriteCase(const std::string& folder, const drift::CorpusSchema& schema, const drift::Trial& trial)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    const drift::FixtureCase c = drift::AsFixtureCase(schema, trial.edits);
    std::ofstream(folder + "/old.sql", std::ios::binary) << c.oldSql;
    std::ofstream(folder + "/new.sql", std::ios::binary) << c.newSql;
    if (c.dialectOne)
        std::ofstream(folder + "/dialect", std::ios::binary) << "1\n";
    std::ofstream(folder + "/verdict.txt", std::ios::binary)
        << drift::OutcomeName(trial.verdict.outcome) << "\n" << trial.verdict.detail;
}

}

int main(int argc, char** argv)
{
    int seeds = 10, edits = 6;
    std::uint32_t first = 1;
    std::string only, mode = "both", out = "drift-cases";
    bool shrink = true, vsEmpty = false;
    for (int i = 1; i < argc; ++i) {
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                Usage();
                std::exit(2);
            }
            return argv[++i];
        };
        if (!std::strcmp(argv[i], "--seeds"))
            seeds = std::stoi(value());
        else if (!std::strcmp(argv[i], "--first"))
            first = static_cast<std::uint32_t>(std::stoul(value()));
        else if (!std::strcmp(argv[i], "--schema"))
            only = value();
        else if (!std::strcmp(argv[i], "--edits"))
            edits = std::stoi(value());
        else if (!std::strcmp(argv[i], "--mode"))
            mode = value();
        else if (!std::strcmp(argv[i], "--out"))
            out = value();
        else if (!std::strcmp(argv[i], "--no-shrink"))
            shrink = false;
        else if (!std::strcmp(argv[i], "--vs-empty"))
            vsEmpty = true;
        else {
            Usage();
            return 2;
        }
    }
    std::vector<bool> forces;
    if (mode == "drop" || mode == "both")
        forces.push_back(false);
    if (mode == "force" || mode == "both")
        forces.push_back(true);

    std::map<std::string, int> totals;
    int faults = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const auto& schema : drift::CorpusSchemas()) {
        if (!only.empty() && schema.name != only)
            continue;
        if (vsEmpty) {
            // The whole schema into an empty Old of the same dialect and character set.
            const std::string newPath = TestFolder() + "/vs_empty_" + schema.name + "_new.fdb";
            const std::string oldPath = TestFolder() + "/vs_empty_" + schema.name + "_old.fdb";
            drift::MakeDatabase(schema, newPath, drift::CorpusSql(schema));
            drift::MakeDatabase(schema, oldPath, "");
            const drift::Verdict verdict = drift::RepairAndJudge(oldPath, newPath, Extract(newPath), false);
            ++totals[drift::OutcomeName(verdict.outcome)];
            faults += drift::IsFault(verdict.outcome) ? 1 : 0;
            std::cout << schema.name << " vs empty: " << drift::OutcomeName(verdict.outcome) << "\n" << verdict.detail;
            std::filesystem::remove(newPath);
            std::filesystem::remove(oldPath);
            continue;
        }
        const drift::Reference reference =
            drift::MakeReference(schema, TestFolder() + "/drift_" + schema.name + "_new.fdb");
        const std::string oldPath = TestFolder() + "/drift_" + schema.name + "_old.fdb";
        for (std::uint32_t seed = first; seed < first + static_cast<std::uint32_t>(seeds); ++seed) {
            for (bool force : forces) {
                const drift::Trial trial = drift::RunTrial(reference, oldPath, seed, edits, force);
                const std::string name = schema.name + " seed " + std::to_string(seed) + (force ? " force" : " drop");
                ++totals[drift::OutcomeName(trial.verdict.outcome)];
                std::cout << name << ": " << drift::OutcomeName(trial.verdict.outcome) << " (" << trial.edits.size()
                          << " edits)\n";
                if (!drift::IsFault(trial.verdict.outcome))
                    continue;
                ++faults;
                const drift::Trial least = shrink ? drift::Shrink(reference, oldPath, trial) : trial;
                std::cout << (shrink ? "  shrunk to " : "  ") << least.edits.size() << " edits:\n";
                for (const auto& edit : least.edits)
                    std::cout << "    " << edit.what << "\n";
                std::string detail = least.verdict.detail;
                std::cout << "  " << drift::OutcomeName(least.verdict.outcome) << "\n";
                for (std::size_t at = 0, line = 0; at < detail.size() && line < 14; ++line) {
                    const std::size_t end = detail.find('\n', at);
                    std::cout << "    | " << detail.substr(at, end - at) << "\n";
                    at = end == std::string::npos ? detail.size() : end + 1;
                }
                const std::string folder =
                    out + "/drift_" + schema.name + "_seed_" + std::to_string(seed) + (force ? "_force" : "_drop");
                WriteCase(folder, schema, least);
                std::cout << "  case written to " << folder << "\n";
            }
        }
        std::filesystem::remove(reference.path);
        std::filesystem::remove(oldPath);
    }
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    std::cout << "\n";
    for (const auto& [outcome, count] : totals)
        std::cout << count << " " << outcome << "\n";
    std::cout << faults << " faulty, in " << seconds << " s\n";
    return faults == 0 ? 0 : 1;
}
