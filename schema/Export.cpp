// The export: the plan that builds the schema in an empty database, its statements sorted into
// one file per object, and the order in which those files (or their parts) run.
#include "schema/Export.h"
#include "db/Connection.h"
#include "schema/Diff.h"
#include "schema/Inspect.h"
#include "schema/Plan.h"
#include "schema/Planner.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <system_error>
#include <unistd.h>

namespace schema {
namespace {

namespace fs = std::filesystem;
using namespace planning;

constexpr const char* kMarkerText = "This folder is a schema export of Vorkat: an export written here again replaces it whole.\n";

constexpr const char* kOrderHead =
    "# The order in which the files of this export build its schema in an empty database.\n"
    "# Each line names a file by its path in this folder and, where the file is in parts, the part\n"
    "# that runs there: \"tables/EMPLOYEE.sql 2\" runs the statements from the file's line\n"
    "# \"-- part 2\" up to its next \"-- part\" line. A file without such lines is one part and is\n"
    "# named without a number. Every file and every part is named once. Lines that begin with #\n"
    "# are comments.\n";

std::uint32_t Fnv1a(const std::string& text)
{
    std::uint32_t hash = 2166136261u;
    for (const unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

bool PlainName(const std::string& name)
{
    if (name.empty() || name.size() > 100)
        return false;
    for (const unsigned char c : name)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'))
            return false;
    // Windows takes these for devices, whatever the extension.
    static const std::set<std::string> devices{"CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4",
                                               "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                               "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    return !devices.count(name);
}

std::string Lower(std::string text)
{
    for (auto& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Which file each statement of the plan goes to.
class Owners {
public:
    explicit Owners(const Schema& schema) : schema_(schema)
    {
        Folder("collations", schema.collations);
        Folder("roles", schema.roles);
        Folder("generators", schema.generators);
        Folder("exceptions", schema.exceptions);
        Folder("domains", schema.domains);
        std::vector<std::string> tables, views;
        for (const auto& [name, relation] : schema.relations)
            (relation.IsView() ? views : tables).push_back(name);
        Folder("tables", tables);
        Folder("views", views);
        Folder("external-functions", schema.externalFunctions);
        Folder("packages", schema.packages);
        Folder("procedures", schema.procedures);
        Folder("functions", schema.functions);
        Folder("indices", schema.indices);
        Folder("triggers", schema.triggers);
        for (const auto& [name, relation] : schema.relations)
            for (const auto& column : relation.columns)
                fields_.emplace(name + "." + column.name, name);
        for (const auto& [key, c] : schema.constraints)
            constraints_.emplace(ConstraintTitle(c), c.table);
        for (const auto& [key, g] : schema.grants)
            grants_.emplace(GrantTitle(g), &g);
    }

    // The file and the title its head names.
    struct Owner {
        std::string path;
        std::string title;
    };

    const Grant* GrantOf(const ObjectId& object) const
    {
        auto it = grants_.find(object.name);
        return object.kind == ObjectKind::Grant && it != grants_.end() ? it->second : nullptr;
    }

    Owner Of(const ObjectId& object) const
    {
        switch (object.kind) {
        case ObjectKind::Collation: return Named("collations", object);
        case ObjectKind::Role: return Named("roles", object);
        case ObjectKind::Generator: return Named("generators", object);
        case ObjectKind::Exception: return Named("exceptions", object);
        case ObjectKind::Domain: return Named("domains", object);
        case ObjectKind::Table:
        case ObjectKind::View: return Relation(object.name);
        case ObjectKind::Field: {
            auto it = fields_.find(object.name);
            return it == fields_.end() ? Database() : Relation(it->second);
        }
        case ObjectKind::ExternalFunction: return Named("external-functions", object);
        case ObjectKind::Package: return Named("packages", object);
        case ObjectKind::Procedure: return Named("procedures", object);
        case ObjectKind::Function: return Named("functions", object);
        case ObjectKind::Constraint: {
            auto it = constraints_.find(object.name);
            return it == constraints_.end() ? Database() : Relation(it->second);
        }
        case ObjectKind::Index: return Named("indices", object);
        case ObjectKind::Trigger: return Named("triggers", object);
        case ObjectKind::Grant: {
            auto it = grants_.find(object.name);
            return it == grants_.end() ? Database() : OfGrant(*it->second);
        }
        default: return Database();
        }
    }

private:
    template <typename Map>
    void Folder(const std::string& folder, const Map& objects)
    {
        std::vector<std::string> names;
        for (const auto& entry : objects)
            names.push_back(entry.first);
        Folder(folder, names);
    }

    // Names that would share a file on a file system blind to case get "~2", "~3", ... in the
    // order of the names; the hash makes that all but impossible.
    void Folder(const std::string& folder, std::vector<std::string> names)
    {
        std::sort(names.begin(), names.end());
        std::map<std::string, int> taken;
        for (const auto& name : names) {
            std::string file = ExportFileName(name);
            const int seen = ++taken[Lower(file)];
            if (seen > 1)
                file = file.substr(0, file.size() - 4) + "~" + std::to_string(seen) + ".sql";
            paths_[{folder, name}] = folder + "/" + file;
        }
    }

    Owner Named(const std::string& folder, const ObjectId& object) const
    {
        auto it = paths_.find({folder, object.name});
        return it == paths_.end() ? Database() : Owner{it->second, object.Text()};
    }

    Owner Relation(const std::string& name) const
    {
        auto it = schema_.relations.find(name);
        if (it == schema_.relations.end())
            return Database();
        const ObjectKind kind = it->second.IsView() ? ObjectKind::View : ObjectKind::Table;
        return Named(it->second.IsView() ? "views" : "tables", {kind, name});
    }

    Owner OfGrant(const Grant& g) const
    {
        switch (g.objectType) {
        case 0: return Relation(g.object);
        case 5: return Named("procedures", {ObjectKind::Procedure, g.object});
        case 7: return Named("exceptions", {ObjectKind::Exception, g.object});
        case 9: return Named("domains", {ObjectKind::Domain, g.object});
        case 13: return Named("roles", {ObjectKind::Role, g.object});
        case 14: return Named("generators", {ObjectKind::Generator, g.object});
        case 15: return Named("functions", {ObjectKind::Function, g.object});
        case 17: return Named("collations", {ObjectKind::Collation, g.object});
        case 18: return Named("packages", {ObjectKind::Package, g.object});
        default: return Database();  // privileges to make objects of a kind are the database's
        }
    }

    static Owner Database() { return {kExportDatabaseFile, "DATABASE"}; }

    const Schema& schema_;
    std::map<std::pair<std::string, std::string>, std::string> paths_;
    std::map<std::string, std::string> fields_;
    std::map<std::string, std::string> constraints_;
    std::map<std::string, const Grant*> grants_;
};

// A database as CREATE DATABASE leaves it with the schema's dialect and default character set:
// nothing of its own, every character set with the collation named like it, and the keys of
// the server's own tables.
Schema EmptyLike(const Schema& schema)
{
    Schema empty;
    empty.dialect = schema.dialect;
    empty.odsMajor = schema.odsMajor;
    empty.database.defaultCharset = schema.database.defaultCharset;
    empty.reservedWords = schema.reservedWords;
    for (const auto& [name, charset] : schema.characterSets)
        empty.characterSets[name] = {name, name};
    for (const auto& key : schema.constraintOrder) {
        const Constraint& c = schema.constraints.at(key);
        if (schema.relations.count(c.table))
            continue;
        empty.constraints[key] = c;
        empty.constraintOrder.push_back(key);
        if (auto name = schema.constraintNames.find(key); name != schema.constraintNames.end())
            empty.constraintNames[key] = name->second;
    }
    return empty;
}

// A terminator that none of the statements holds.
std::string TerminatorFor(const std::vector<const Step*>& steps)
{
    for (const char* candidate : {"^", "!!", "^^", "#~#", "~~~~"}) {
        bool free = true;
        for (const Step* step : steps)
            free = free && (!step->psql || step->sql.find(candidate) == std::string::npos);
        if (free)
            return candidate;
    }
    return "~~vorkat~~";
}

std::string StatementsText(const std::vector<const Step*>& steps, const std::string& term)
{
    std::string text;
    bool inTerm = false;
    for (const Step* step : steps) {
        if (step->psql && !inTerm)
            text += "SET TERM " + term + " ;\n";
        else if (!step->psql && inTerm)
            text += "SET TERM ; " + term + "\n";
        inTerm = step->psql;
        text += Ddl::Source(step->sql) + (step->psql ? term : ";") + "\n";
    }
    if (inTerm)
        text += "SET TERM ; " + term + "\n";
    return text;
}

// The head of database.sql: what the build's CREATE DATABASE takes; the file name is the build's.
std::string DatabaseHead(const Schema& schema, const ExportOptions& options)
{
    std::string create = "CREATE DATABASE 'database.fdb'";
    if (options.pageSize)
        create += " PAGE_SIZE " + std::to_string(*options.pageSize);
    if (!schema.database.defaultCharset.empty())
        create += " DEFAULT CHARACTER SET " + Ddl(schema.dialect).Name(schema.database.defaultCharset);
    // The statements run in one transaction, as the plan they come from does: the server takes
    // some of them only before what they change is committed (a procedure's body after a view
    // that selects from its stub).
    return "SET SQL DIALECT " + std::to_string(schema.dialect) + ";\nSET NAMES UTF8;\nSET AUTODDL OFF;\n" + create + ";\n";
}

void WriteFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        throw ExportError("Cannot write " + path.string());
}

// What an earlier export may hold at its top, beside the files of its objects' folders.
bool ExportEntry(const std::string& name)
{
    if (name == kExportMarkerFile || name == kExportOrderFile || name == kExportDatabaseFile)
        return true;
    const auto& folders = ExportFolders();
    return std::find(folders.begin(), folders.end(), name) != folders.end();
}

// A new name beside dir that nothing holds yet.
fs::path FreshSibling(const fs::path& dir, const std::string& what)
{
    const fs::path parent = dir.parent_path().empty() ? fs::path(".") : dir.parent_path();
    for (int n = 1;; ++n) {
        fs::path candidate = parent / ("." + dir.filename().string() + ".vorkat-" + what + "-" +
                                       std::to_string(::getpid()) + "-" + std::to_string(n));
        std::error_code error;
        if (!fs::exists(fs::symlink_status(candidate, error)))
            return candidate;
    }
}

}

const std::vector<std::string>& ExportFolders()
{
    static const std::vector<std::string> folders{"collations", "roles",    "generators", "exceptions",
                                                  "domains",    "tables",   "views",      "external-functions",
                                                  "packages",   "procedures", "functions", "indices",
                                                  "triggers"};
    return folders;
}

std::string ExportFileName(const std::string& name)
{
    if (PlainName(name))
        return name + ".sql";
    std::string readable;
    for (const unsigned char c : name) {
        if (readable.size() >= 48)
            break;
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$';
        readable += kept ? static_cast<char>(c) : '_';
    }
    static const char* hex = "0123456789abcdef";
    std::string hash;
    for (int shift = 28; shift >= 0; shift -= 4)
        hash += hex[(Fnv1a(name) >> shift) & 0xF];
    return readable + "~" + hash + ".sql";
}

ExportedFiles ExportFiles(const Schema& schema, const ExportOptions& options)
{
    const Schema empty = EmptyLike(schema);
    const std::vector<Change> changes = Diff(empty, schema);
    const Plan plan = MakePlan(empty, schema, ChangesToMake(changes, false));
    const Owners owners(schema);

    // The parts: runs of statements of one file in the plan's order, the database's head the
    // first. A statement joins the last part of its file so far where that part ends in its
    // phase (the statements of one phase need none of each other), or where it needs only its
    // own object and the users and roles, which stand from the start: keys, comments, and
    // grants to users (and to roles, where the file is not made before them).
    struct File {
        std::string title;
        std::vector<std::vector<const Step*>> parts;
        int phase = 0;  // of the last statement that came at its own place in the plan
    };
    std::map<std::string, File> files;
    std::vector<std::pair<std::string, std::size_t>> order;
    files[kExportDatabaseFile] = {"DATABASE", {{}}, 0};
    order.emplace_back(kExportDatabaseFile, 1);
    auto joins = [&](const Step& step, const std::string& path, const File& file) {
        if (file.phase == step.phase || step.phase == Keys || step.phase == Comments)
            return true;
        const Grant* g = owners.GrantOf(step.object);
        if (step.phase != Grants || !g)
            return false;
        const bool early = path == kExportDatabaseFile || path.rfind("collations/", 0) == 0 || path.rfind("roles/", 0) == 0;
        return g->userType == 8 || (g->userType == 13 && !early);
    };
    for (const Step& step : plan.steps) {
        const Owners::Owner owner = owners.Of(step.object);
        File& file = files[owner.path];
        if (file.title.empty())
            file.title = owner.title;
        const bool last = !file.parts.empty() && order.back().first == owner.path;
        if (file.parts.empty() || (!last && !joins(step, owner.path, file))) {
            file.parts.emplace_back();
            order.emplace_back(owner.path, file.parts.size());
            file.phase = step.phase;
        } else if (last) {
            file.phase = step.phase;
        }
        file.parts.back().push_back(&step);
    }

    ExportedFiles out;
    for (const auto& [path, file] : files) {
        std::vector<const Step*> all;
        for (const auto& part : file.parts)
            all.insert(all.end(), part.begin(), part.end());
        const std::string term = TerminatorFor(all);
        std::string text = "/* " + CommentSafe(file.title) + " */\n";
        for (std::size_t n = 0; n < file.parts.size(); ++n) {
            text += "\n";
            if (file.parts.size() > 1)
                text += "-- part " + std::to_string(n + 1) + "\n";
            if (path == kExportDatabaseFile && n == 0)
                text += DatabaseHead(schema, options);
            text += StatementsText(file.parts[n], term);
        }
        out[path] = text;
    }

    std::string orderText = kOrderHead;
    for (const auto& left : plan.notMended)
        orderText += "# Not exported: " + left + "\n";
    for (const auto& [path, part] : order)
        orderText += files.at(path).parts.size() > 1 ? path + " " + std::to_string(part) + "\n" : path + "\n";
    out[kExportOrderFile] = orderText;
    out[kExportMarkerFile] = kMarkerText;
    return out;
}

ExportedFiles ExportDatabase(Connection& connection, Transaction& transaction)
{
    const Schema schema = Inspect(connection, transaction);
    ExportOptions options;
    options.pageSize = connection.InfoNumber(isc_info_page_size);
    return ExportFiles(schema, options);
}

void WriteExport(const std::string& dirName, const ExportedFiles& files)
{
    const fs::path dir = fs::path(dirName).lexically_normal();
    if (dir.empty() || dir.filename().empty() || dir.filename() == "." || dir.filename() == "..")
        throw ExportError("Cannot export into " + dirName + ": name a folder");
    std::error_code error;
    const fs::file_status status = fs::symlink_status(dir, error);
    const bool exists = fs::exists(status);
    if (exists) {
        if (!fs::is_directory(status))
            throw ExportError(dirName + " is not a folder: the export does not replace it");
        bool empty = true, marked = false;
        for (const auto& entry : fs::directory_iterator(dir)) {
            empty = false;
            const std::string name = entry.path().filename().string();
            marked = marked || name == kExportMarkerFile;
        }
        if (!empty && !marked)
            throw ExportError(dirName + " holds files but no earlier export (it has no " + kExportMarkerFile +
                              "): the export does not replace it");
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (!ExportEntry(name))
                throw ExportError(dirName + " holds " + name + ", which no export writes: the export does not replace it");
        }
    }
    const fs::path parent = dir.parent_path().empty() ? fs::path(".") : dir.parent_path();
    fs::create_directories(parent, error);
    if (error)
        throw ExportError("Cannot make the folder " + parent.string() + ": " + error.message());

    const fs::path fresh = FreshSibling(dir, "new");
    try {
        fs::create_directory(fresh);
        for (const auto& [path, bytes] : files)
            WriteFile(fresh / path, bytes);
        if (!files.count(kExportMarkerFile))
            WriteFile(fresh / kExportMarkerFile, kMarkerText);
    } catch (const fs::filesystem_error& e) {
        fs::remove_all(fresh, error);
        throw ExportError("Cannot write the export beside " + dirName + ": " + e.code().message());
    } catch (...) {
        fs::remove_all(fresh, error);
        throw;
    }
    if (!exists) {
        fs::rename(fresh, dir, error);
        if (error) {
            fs::remove_all(fresh, error);
            throw ExportError("Cannot put the export in place at " + dirName);
        }
        return;
    }
    // The earlier export steps aside first, and comes back if the new one cannot take its place.
    const fs::path earlier = FreshSibling(dir, "old");
    fs::rename(dir, earlier, error);
    if (error) {
        std::error_code ignored;
        fs::remove_all(fresh, ignored);
        throw ExportError("Cannot replace the export at " + dirName + ": " + error.message());
    }
    fs::rename(fresh, dir, error);
    if (error) {
        std::error_code ignored;
        fs::rename(earlier, dir, ignored);
        fs::remove_all(fresh, ignored);
        throw ExportError("Cannot replace the export at " + dirName + ": " + error.message());
    }
    fs::remove_all(earlier, error);
}

ExportedFiles ReadExport(const std::string& dir)
{
    ExportedFiles files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[entry.path().lexically_relative(dir).generic_string()] = bytes.str();
    }
    return files;
}

}
