#include "batch/export_seam.h"

#include <unistd.h>

#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/textio/scratch_folder.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

ExportFormat coreFormat(OutputFormat format) {
    return format == OutputFormat::Xlsx ? ExportFormat::Xlsx : ExportFormat::Csv;
}

// Standard output takes the finished file only: it is written completely to a scratch file
// first, so a failed export puts nothing on standard output.
void copyToStandardOutput(const std::string& path) {
    TextWriter out(STDOUT_FILENO, "-");
    copyFileTo(path, out);
    out.flush();
}

}  // namespace

void writeExport(OutputFormat format, const std::string& path, const FinishedRun& run) {
    const Provenance provenance =
        collectProvenance(run.selection, run.dataDirectory, run.decimalSeparator);
    if (path != "-") {
        exportTables(coreFormat(format), path, run.store, provenance);
        return;
    }
    const ScratchFolder scratch("fetaldose-batch");
    const std::string file =
        scratch.path() + "/export" + std::string(exportFileExtension(coreFormat(format)));
    exportTables(coreFormat(format), file, run.store, provenance);
    copyToStandardOutput(file);
}

}  // namespace fetaldose::batch
