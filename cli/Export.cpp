#include "cli/Export.h"
#include "cli/CliRun.h"
#include "data/DM.h"
#include "data/Files.h"
#include "db/ScopedTransaction.h"
#include "schema/Export.h"

#include <cstdio>
#include <cstdlib>

int RunExport(const CliOptions& options)
{
    try {
        // Attached as New is, read only: the catalog's text as its bytes.
        TDM dm;
        AttachNew(dm, options, options.OldName);
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
