#include "cli/Export.h"
#include "data/DM.h"
#include "data/Files.h"
#include "db/ScopedTransaction.h"
#include "schema/Export.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string Credential(const std::optional<std::string>& given, const char* variable)
{
    if (given)
        return *given;
    const char* value = std::getenv(variable);
    return value && *value ? value : "";
}

}

int RunExport(const CliOptions& options)
{
    try {
        // Attached as New is, read only: the catalog's text as its bytes.
        TDM dm;
        dm.NewDB.SetParamValue("user_name", Credential(options.User, "ISC_USER"));
        dm.NewDB.SetParamValue("password", Credential(options.Password, "ISC_PASSWORD"));
        dm.NewDB.SetDatabaseName(DatabaseNameFromField(options.OldName));
        dm.ConnectNew();
        schema::ExportedFiles files;
        {
            ScopedTransaction reads(dm.NewDB);
            files = schema::ExportDatabase(dm.NewDB, reads.Get());
        }
        dm.NewDB.Close();
        schema::WriteExport(options.ExportDir, files);
        if (!options.Quiet)
            std::fprintf(stderr, "vorkat-cli: %zu files of %s written to %s\n", files.size(), options.OldName.c_str(),
                         options.ExportDir.c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vorkat-cli: %s\n", error.what());
        return 2;
    }
}
