#include "batch/batch_support.h"

#include <sys/stat.h>

#include <ostream>

#include "batch/batch_texts.h"
#include "batch/batch_tool.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"

namespace fetaldose::batch {

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string dataDirectoryOf(const std::string& folder) {
    return folder.back() == '/' ? folder : folder + '/';
}

void reportFault(std::ostream& err, const std::string& name, std::string_view message) {
    err << kToolName << ": " << name << ": " << message << '\n';
}

void reportFault(std::ostream& err, const std::string& name, const Fault& fault) {
    if (fault.file().empty())
        reportFault(err, name, faultReport(fault));
    else
        err << kToolName << ": " << faultReport(fault) << '\n';
}

int checkDataFolder(const std::string& folder, std::ostream& err) {
    if (!isFolder(folder)) {
        reportFault(err, folder, kNoDataFolder);
        return kExitInputOutput;
    }
    if (!findFileInDirectory(dataDirectoryOf(folder), kCatalogueFileName)) {
        reportFault(err, dataDirectoryOf(folder) + kCatalogueFileName, kMissingCatalogueMessage);
        return kExitInputOutput;
    }
    return kExitWritten;
}

}  // namespace fetaldose::batch
