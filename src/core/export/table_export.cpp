#include "core/export/table_export.h"

#include "core/export/export_texts.h"

namespace fetaldose {

bool exportTables(OutputFormat format, const std::string& path, const RunResult& run,
                  const Provenance& provenance, const ExportProgress& progress) {
    switch (format) {
        case OutputFormat::Csv:
            return writeCsvFile(path, run, provenance, progress);
        case OutputFormat::Xlsx:
            return writeXlsxFile(path, run, provenance, progress);
        case OutputFormat::ResultsFile:
        case OutputFormat::Pdf:
            break;
    }
    throw ExportError(std::string(kNotAnExportFormat) + std::string(outputFormatInfo(format).name));
}

}  // namespace fetaldose
