// Many Old Databases against one New: the list of targets, a share of it for one of several
// machines, the name of each target's files, and the targets run a few at a time.
#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace fleet {

// One Old Database of the list, with the line it stands on.
struct Target {
    int line = 0;
    std::string database;
    // "03-customer.fdb.sql": the line, padded to the width of the list's last line, then the
    // database's file name (its last part after '/', ':' or '\'), then the extension.
    std::string FileName(const std::string& extension, int width) const;
};

// The targets of a list file: one database per line; blank lines and lines whose first
// non-blank character is '#' are skipped, and blanks around a name are not part of it.
// An unreadable file throws FileError; a list without targets is refused too.
std::vector<Target> ReadList(const std::string& path);
// The digits of the list's highest line number: every target's file names are as wide.
int LineWidth(const std::vector<Target>& targets);

// "I/N": this machine's share of N, from 1 to N.
struct Shard {
    int index = 1;
    int count = 1;
};
// Parses "I/N" with 1 <= I <= N; anything else throws std::invalid_argument naming the text.
Shard ParseShard(const std::string& text);
// Every N-th target, from the I-th: shards 1/N to N/N cover the list once between them.
std::vector<Target> TakeShard(const std::vector<Target>& targets, const Shard& shard);

enum class Verdict { Equal, Differs, Repaired, Error };
// "equal", "differs", "repaired", "error".
const char* VerdictWord(Verdict verdict);

struct Result {
    Target target;
    Verdict verdict = Verdict::Error;
    std::size_t findings = 0;
    double seconds = 0;
    // For an error, why; else empty.
    std::string message;
    // As a single run of this target would end: 0, 1 or 2.
    int status = 2;
};

// The worst of the statuses: 2 over 1 over 0; 0 for none.
int WorstStatus(const std::vector<Result>& results);
// "12 targets: 7 equal, 3 differ, 1 repaired, 1 error in 34.5 s".
std::string TotalLine(const std::vector<Result>& results, double seconds);
// One row per target, tab-separated: the line, the database, the verdict, the findings and the
// seconds ("3\tcustomer.fdb\tdiffers\t12\t1.2"), and for an error its message, its lines joined by "; ".
std::string ResultRow(const Result& result);

// Runs each target with run, at most jobs at a time, each on a thread of its own; a run that
// throws is that target's error and never stops the others. started and finished are called
// one at a time (never two at once), finished in the order the targets end. The results come
// back in the list's order.
struct Callbacks {
    std::function<void(const Target&)> started;
    std::function<void(const Result&)> finished;
};
std::vector<Result> RunAll(const std::vector<Target>& targets, int jobs,
                           const std::function<Result(const Target&)>& run, const Callbacks& callbacks = {});

}
