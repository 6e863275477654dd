#include "run/Fleet.h"
#include "data/FileError.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace fleet {

namespace {

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

}

std::string Target::FileName(const std::string& extension, int width) const
{
    std::string number = std::to_string(line);
    if (static_cast<int>(number.size()) < width)
        number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
    const auto cut = database.find_last_of("/\\:");
    std::string file = cut == std::string::npos ? database : database.substr(cut + 1);
    // A name that is no file's name (a server alias ending in a separator) still gives one.
    if (file.empty() || file == "." || file == "..")
        file = "database";
    return number + "-" + file + extension;
}

std::vector<Target> ReadList(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError::FromErrno("Cannot read the list of databases", path);
    std::vector<Target> targets;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        const std::string name = Trimmed(text);
        if (!name.empty() && name[0] != '#')
            targets.push_back({line, name});
    }
    if (in.bad())
        throw FileError::FromErrno("Cannot read the list of databases", path);
    if (targets.empty())
        throw FileError("The list of databases " + path + " names none");
    return targets;
}

int LineWidth(const std::vector<Target>& targets)
{
    int highest = 0;
    for (const auto& target : targets)
        highest = std::max(highest, target.line);
    return static_cast<int>(std::to_string(highest).size());
}

Shard ParseShard(const std::string& text)
{
    const auto slash = text.find('/');
    auto number = [&](const std::string& part) {
        if (part.empty() || part.size() > 6 || part.find_first_not_of("0123456789") != std::string::npos)
            throw std::invalid_argument("--shard takes I/N with 1 <= I <= N, not " + text);
        return std::stoi(part);
    };
    if (slash == std::string::npos)
        throw std::invalid_argument("--shard takes I/N with 1 <= I <= N, not " + text);
    const Shard shard{number(text.substr(0, slash)), number(text.substr(slash + 1))};
    if (shard.index < 1 || shard.index > shard.count)
        throw std::invalid_argument("--shard takes I/N with 1 <= I <= N, not " + text);
    return shard;
}

std::vector<Target> TakeShard(const std::vector<Target>& targets, const Shard& shard)
{
    std::vector<Target> share;
    for (std::size_t i = static_cast<std::size_t>(shard.index - 1); i < targets.size();
         i += static_cast<std::size_t>(shard.count))
        share.push_back(targets[i]);
    return share;
}

const char* VerdictWord(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Equal: return "equal";
    case Verdict::Differs: return "differs";
    case Verdict::Repaired: return "repaired";
    case Verdict::Error: return "error";
    }
    return "";
}

int WorstStatus(const std::vector<Result>& results)
{
    int worst = 0;
    for (const auto& result : results)
        worst = std::max(worst, result.status);
    return worst;
}

std::string TotalLine(const std::vector<Result>& results, double seconds)
{
    std::size_t counts[4] = {};
    for (const auto& result : results)
        ++counts[static_cast<int>(result.verdict)];
    return std::to_string(results.size()) + (results.size() == 1 ? " target: " : " targets: ") +
           std::to_string(counts[0]) + " equal, " + std::to_string(counts[1]) + (counts[1] == 1 ? " differs, " : " differ, ") +
           std::to_string(counts[2]) + " repaired, " + std::to_string(counts[3]) + (counts[3] == 1 ? " error" : " errors") +
           " in " + Seconds(seconds) + " s";
}

std::string ResultRow(const Result& result)
{
    std::string row = std::to_string(result.target.line) + "\t" + result.target.database + "\t" +
                      VerdictWord(result.verdict) + "\t" + std::to_string(result.findings) + "\t" + Seconds(result.seconds);
    if (result.verdict == Verdict::Error) {
        // One row a target: a server's message of several lines is joined into one.
        std::string message;
        for (std::size_t i = 0; i < result.message.size(); ++i) {
            const char c = result.message[i];
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < result.message.size() && result.message[i + 1] == '\n')
                    ++i;
                if (i + 1 < result.message.size())
                    message += "; ";
            } else {
                message += c == '\t' ? ' ' : c;
            }
        }
        row += "\t" + message;
    }
    return row;
}

std::vector<Result> RunAll(const std::vector<Target>& targets, int jobs,
                           const std::function<Result(const Target&)>& run, const Callbacks& callbacks)
{
    std::vector<Result> results(targets.size());
    std::mutex told;  // one callback at a time
    std::atomic<std::size_t> next{0};
    auto worker = [&] {
        for (std::size_t i; (i = next++) < targets.size();) {
            const Target& target = targets[i];
            if (callbacks.started) {
                std::lock_guard<std::mutex> lock(told);
                callbacks.started(target);
            }
            const auto start = std::chrono::steady_clock::now();
            Result result;
            try {
                result = run(target);
            } catch (const std::exception& error) {
                result = Result{};
                result.message = error.what();
            } catch (...) {
                result = Result{};
                result.message = "an unknown error";
            }
            result.target = target;
            result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (result.verdict == Verdict::Error)
                result.status = 2;
            results[i] = result;
            if (callbacks.finished) {
                std::lock_guard<std::mutex> lock(told);
                callbacks.finished(result);
            }
        }
    };
    const std::size_t threads = std::min<std::size_t>(std::max(jobs, 1), targets.size());
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t)
        pool.emplace_back(worker);
    worker();
    for (auto& thread : pool)
        thread.join();
    return results;
}

}
