// The drift fuzzer: Old made from a copy of New by random edits of the server's own DDL, as an
// older copy of the database would show them, then repaired and judged by Firebird's extract
// and by the rows kept.
#pragma once
#include "tests/drift/Corpus.h"

#include "schema/Model.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace drift {

// One edit: what it does, and its statements, committed together or not at all.
struct Edit {
    std::string what;
    std::vector<std::string> statements;
};

// New as the edits see it: its catalog and Firebird's own extract of it.
struct Reference {
    CorpusSchema schema;
    std::string path;     // New, made once; Old starts as a copy of it
    std::string extract;  // isql -x, without the file line
    std::shared_ptr<const schema::Schema> model;
};
// New made from the corpus schema at path, read once.
Reference MakeReference(const CorpusSchema& schema, const std::string& path);

// An edit drawn at random from what New has; the same generator state draws the same edit.
Edit DrawEdit(const Reference& reference, std::mt19937& random);

// Runs an edit on the database in a transaction of its own; false when the server refused it
// (and nothing of it stays), with the server's message in refusal.
bool ApplyEdit(const std::string& path, int dialect, const Edit& edit, std::string* refusal = nullptr);

// Edits drawn and run until count of them were taken (or 4 × count were drawn); the taken ones.
std::vector<Edit> DriftOld(const Reference& reference, const std::string& oldPath, std::uint32_t seed, int count);

// How a repair ended. The first three are honest: the extracts agree, or the plan said what it
// could not mend, or the safety checks stopped it. The rest are faults of the repair.
// Reordered: the extracts hold the same statements, only listed in another order, as the server
// lists views by when they were made and server-named constraints by those names.
enum class Outcome { Converged, Reordered, NotMended, SafetyStop, Refused, Diverged, RowsLost, Crashed };
const char* OutcomeName(Outcome outcome);
bool IsFault(Outcome outcome);

struct Verdict {
    Outcome outcome = Outcome::Converged;
    std::string detail;  // the refusal, the extracts' first differing lines, the rows lost
};

// The complete repair with --drop (and --force when force), as the command line runs it, and its
// judgement: Old's extract against New's, the catalogs compared again, and Old's rows kept.
Verdict RepairAndJudge(const std::string& oldPath, const std::string& newPath, const std::string& newExtract,
                       bool force);

// Both extracts' lines that differ, at most limit of them, "- old" and "+ new".
std::string ExtractDifference(const std::string& oldExtract, const std::string& newExtract, std::size_t limit = 12);

// Whether two extracts hold the same statements, each whole, in another order: the blocks
// between blank lines, compared as they are. A column out of place changes its table's block.
bool SameStatementsReordered(const std::string& oldExtract, const std::string& newExtract);

// One seed of one schema: Old drifted from a copy of New, then repaired.
struct Trial {
    std::uint32_t seed = 0;
    bool force = false;
    std::vector<Edit> edits;  // the edits Old was given
    Verdict verdict;
};
// edits: when given, these edits instead of the seed's draw (for shrinking).
Trial RunTrial(const Reference& reference, const std::string& oldPath, std::uint32_t seed, int count, bool force,
               const std::vector<Edit>* edits = nullptr);

// The fewest edits of a faulty trial that still end in the same fault (delta debugging).
Trial Shrink(const Reference& reference, const std::string& oldPath, const Trial& failed);

// A fixture case for tests/schema/<case>/: New's SQL, and Old's with the edits after it.
struct FixtureCase {
    std::string oldSql;
    std::string newSql;
    bool dialectOne = false;
};
FixtureCase AsFixtureCase(const CorpusSchema& schema, const std::vector<Edit>& edits);

}
