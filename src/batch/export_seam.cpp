#include "batch/export_seam.h"

#include <stdexcept>

namespace fetaldose::batch {

// The CSV and XLSX writers are not part of the core yet; until they are, the tool refuses
// those formats before it runs anything.
bool exportAvailable(OutputFormat format) {
    return format == OutputFormat::Dos;
}

void writeExport(OutputFormat format, const std::string& /*path*/, const FinishedRun& /*run*/) {
    throw std::logic_error(std::string("no writer for the format ") + formatName(format));
}

}  // namespace fetaldose::batch
