#include "core/export/table_export.h"

#include <cctype>

namespace fetaldose {

std::optional<ExportFormat> exportFormatNamed(std::string_view name) {
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "csv") return ExportFormat::Csv;
    if (lower == "xlsx") return ExportFormat::Xlsx;
    return std::nullopt;
}

std::string_view exportFileExtension(ExportFormat format) {
    return format == ExportFormat::Csv ? ".csv" : ".xlsx";
}

void exportTables(ExportFormat format, const std::string& path, const ResultStore& store,
                  const Provenance& provenance, const ExportProgress& progress) {
    if (format == ExportFormat::Csv)
        writeCsvFile(path, store, provenance, progress);
    else
        writeXlsxFile(path, store, provenance, progress);
}

}  // namespace fetaldose
