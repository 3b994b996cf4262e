#include "core/textio/scratch_folder.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "core/textio/faults.h"

namespace fetaldose {

ScratchFolder::ScratchFolder(std::string_view prefix) {
    std::error_code ignored;
    std::string base = std::filesystem::temp_directory_path(ignored).string();
    if (base.empty()) base = "/tmp";
    path_ = base + "/" + std::string(prefix) + "-XXXXXX";
    if (!::mkdtemp(path_.data())) throw IoError::fromErrno(errno, path_, false);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace fetaldose
