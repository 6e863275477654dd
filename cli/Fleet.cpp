#include "cli/Fleet.h"
#include "cli/CliRun.h"
#include "cli/Console.h"
#include "data/DM.h"
#include "data/FileError.h"
#include "data/Files.h"
#include "db/Watchdog.h"
#include "run/Fleet.h"
#include "schema/CompleteEngine.h"
#include "schema/SchemaSource.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <unistd.h>

namespace {

std::string Extension(const std::string& path)
{
    const auto dot = path.find_last_of('.');
    const auto slash = path.find_last_of('/');
    return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? "" : path.substr(dot);
}

// New's catalog, once for every target, attached as a pass attaches New.
std::shared_ptr<const schema::Schema> ReadNew(const CliOptions& options, const std::string& name)
{
    TDM dm;
    AttachNew(dm, options, name);
    auto schema = schema::ReadSchema(dm.NewDB);
    dm.NewDB.Close();
    return schema;
}

// Which targets run, and how many have ended, on standard error: a bar redrawn in place on a
// terminal, a line per target that ends otherwise.
class FleetProgress {
public:
    FleetProgress(std::size_t total, bool shown) : total_(total), shown_(shown), terminal_(StderrIsTerminal()) {}

    void Started(const fleet::Target& target)
    {
        running_.insert(target.line);
        names_[target.line] = target.database;
        Draw();
    }
    void Finished(const fleet::Result& result)
    {
        running_.erase(result.target.line);
        ++done_;
        if (result.verdict == fleet::Verdict::Error)
            ++failed_;
        if (!shown_)
            return;
        if (!terminal_)
            std::fprintf(stderr, "vorkat-cli: [%zu/%zu] %s: %s\n", done_, total_, result.target.database.c_str(),
                         fleet::VerdictWord(result.verdict));
        Draw();
    }
    void Clear()
    {
        if (shown_ && terminal_)
            std::fputs("\r\033[K", stderr);
    }

private:
    void Draw()
    {
        if (!shown_ || !terminal_)
            return;
        constexpr std::size_t width = 20;
        const std::size_t filled = total_ ? done_ * width / total_ : width;
        std::string line = "\r\033[K[" + std::string(filled, '#') + std::string(width - filled, '.') + "] " +
                           std::to_string(done_) + "/" + std::to_string(total_) + " done";
        if (failed_)
            line += ", " + std::to_string(failed_) + " failed";
        if (!running_.empty()) {
            line += "; running:";
            for (int l : running_)
                line += " " + names_[l];
        }
        if (line.size() > 160)
            line = line.substr(0, 157) + "...";
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
    }

    std::size_t total_;
    bool shown_;
    bool terminal_;
    std::size_t done_ = 0;
    std::size_t failed_ = 0;
    std::set<int> running_;
    std::map<int, std::string> names_;
};

fleet::Result RunTarget(const CliOptions& options, const fleet::Target& target, int width,
                        const std::shared_ptr<const schema::Schema>& newSchema, const std::string& builtNew)
{
    // Each target times out on its own, and the others go on.
    watchdog::ThreadDeadline deadline(options.TimeoutSeconds);
    CliOptions own = options;
    own.FleetList.clear();
    own.OldName = target.database;
    if (!builtNew.empty())
        own.NewName = builtNew;
    own.Quiet = true;
    own.Yes = true;
    const std::string folder = options.OutDir.empty() ? "." : options.OutDir;
    own.ScriptFile = folder + "/" + target.FileName(".sql", width);
    if (!options.ReportFile.empty())
        own.ReportFile = folder + "/" + target.FileName(Extension(options.ReportFile), width);
    // A script of an earlier run must not pass for this one's.
    std::error_code ignored;
    std::filesystem::remove(own.ScriptFile, ignored);
    CliRun run(own, FleetMember{newSchema, builtNew.empty() ? std::string() : options.NewName});
    fleet::Result result;
    result.status = run.Execute();
    result.findings = run.FindingCount();
    if (result.status == 2) {
        result.verdict = fleet::Verdict::Error;
        result.message = run.Error();
    } else if (result.status == 0) {
        result.verdict = fleet::Verdict::Equal;
    } else {
        // A verified repair that left rows still differs.
        const bool repaired = run.Repaired() && (!options.Verify || run.Converged());
        result.verdict = repaired ? fleet::Verdict::Repaired : fleet::Verdict::Differs;
    }
    return result;
}

}

int RunFleet(const CliOptions& options)
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<fleet::Target> targets;
    std::shared_ptr<const schema::Schema> newSchema;
    // Files as New are built once, for every target.
    std::optional<schema::BuiltDatabase> built;
    try {
        targets = fleet::TakeShard(fleet::ReadList(options.FleetList), {options.ShardIndex, options.ShardCount});
        if (!options.OutDir.empty())
            std::filesystem::create_directories(options.OutDir);
        const std::string folder = options.OutDir.empty() ? "." : options.OutDir;
        if (::access(folder.c_str(), W_OK | X_OK) != 0)
            throw FileError("Cannot write to the folder " + folder);
        if (options.NewIsFiles()) {
            if (!options.Complete)
                throw FileError("NEW " + options.NewName +
                                " is files: the complete comparison (--complete) builds them and compares");
            built = schema::BuildFromFiles(options.NewName, {options.NewDialect, options.NewCharset, {}});
        }
        if (options.Complete)
            newSchema = ReadNew(options, built ? built->Path() : options.NewName);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorkat-cli: %s\n", error.what());
        return 2;
    }
    if (targets.empty()) {
        if (!options.Quiet)
            std::fprintf(stderr, "vorkat-cli: share %d/%d of %s holds no target\n", options.ShardIndex,
                         options.ShardCount, options.FleetList.c_str());
        return 0;
    }
    if (options.Repair && !options.Yes && StdinIsTerminal()) {
        std::fprintf(stderr, "vorkat-cli: %zu Old Databases, each brought up to date with %s in one transaction\n",
                     targets.size(), options.NewName.c_str());
        if (!AskYes("Repair " + std::to_string(targets.size()) + (targets.size() == 1 ? " database" : " databases") +
                    "? [y/N] ")) {
            std::fputs("vorkat-cli: not applied: every Old unchanged\n", stderr);
            return 1;
        }
    }

    const int width = fleet::LineWidth(targets);
    FleetProgress progress(targets.size(), !options.Quiet);
    fleet::Callbacks callbacks;
    callbacks.started = [&](const fleet::Target& target) { progress.Started(target); };
    callbacks.finished = [&](const fleet::Result& result) {
        progress.Clear();
        std::fprintf(stdout, "%s\n", fleet::ResultRow(result).c_str());
        std::fflush(stdout);
        progress.Finished(result);
    };
    const auto results = fleet::RunAll(
        targets, options.Jobs, [&](const fleet::Target& t) {
            return RunTarget(options, t, width, newSchema, built ? built->Path() : std::string());
        },
        callbacks);
    progress.Clear();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stdout, "%s\n", fleet::TotalLine(results, seconds).c_str());
    std::fflush(stdout);
    return fleet::WorstStatus(results);
}
