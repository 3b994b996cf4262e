#include "batch/export_seam.h"

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/textio/text_writer.h"

namespace fetaldose::batch {

namespace {

ExportFormat coreFormat(OutputFormat format) {
    return format == OutputFormat::Xlsx ? ExportFormat::Xlsx : ExportFormat::Csv;
}

// A private folder in the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::error_code ignored;
        std::string base = std::filesystem::temp_directory_path(ignored).string();
        if (base.empty()) base = "/tmp";
        path_ = base + "/fetaldose-batch-XXXXXX";
        if (!::mkdtemp(path_.data())) throw IoError::fromErrno(errno, path_, false);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

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
    const ScratchFolder scratch;
    const std::string file =
        scratch.path() + "/export" + std::string(exportFileExtension(coreFormat(format)));
    exportTables(coreFormat(format), file, run.store, provenance);
    copyToStandardOutput(file);
}

}  // namespace fetaldose::batch
