#include "batch/export_seam.h"

#include <unistd.h>

#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/textio/scratch_folder.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

// Standard output takes the finished file only: it is written completely to a scratch file
// first, so a failed export puts nothing on standard output.
void copyToStandardOutput(const std::string& path) {
    TextWriter out(STDOUT_FILENO, "-");
    copyFileTo(path, out);
    out.flush();
}

}  // namespace

void writeExport(OutputFormat format, const std::string& path, const RunResult& run) {
    const Provenance provenance = provenanceOf(run);
    if (path != "-") {
        exportTables(format, path, run, provenance);
        return;
    }
    const ScratchFolder scratch("fetaldose-batch");
    const std::string file =
        scratch.path() + "/export" + std::string(outputFormatInfo(format).extension);
    exportTables(format, file, run, provenance);
    copyToStandardOutput(file);
}

}  // namespace fetaldose::batch
