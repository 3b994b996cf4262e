#include "core/refdata/data_directory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <memory>
#include <string>
#include <vector>

namespace fetaldose {

namespace {

bool IsExistingFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace

std::string DataDirectoryFor(std::string_view workingDirectory) {
    std::string directory(workingDirectory);
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory + "data/";
}

std::string CurrentDataDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return DataDirectoryFor(".");
        buffer.resize(buffer.size() * 2);
    }
    return DataDirectoryFor(buffer.data());
}

std::optional<std::string> FindFileInDirectory(std::string_view directory,
                                               std::string_view fileName) {
    // A NUL cannot stand in a file name: the system would cut the name short there.
    if (fileName.find('\0') != std::string_view::npos) return std::nullopt;
    const std::string directoryText(directory);
    std::string exact = directoryText + std::string(fileName);
    if (IsExistingFile(exact)) return exact;
    // A name with a separator reaches into another directory; only its exact spelling counts.
    if (fileName.find('/') != std::string_view::npos) return std::nullopt;

    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directoryText.c_str()), ::closedir);
    if (!dir) return std::nullopt;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (EqualIgnoringAsciiCase(entry->d_name, fileName)) {
            std::string candidate = directoryText + entry->d_name;
            if (IsExistingFile(candidate)) return candidate;
        }
    }
    return std::nullopt;
}

std::optional<std::string> FindDataFile(std::string_view dataDirectory,
                                        std::string_view nuclideName) {
    return FindFileInDirectory(dataDirectory, std::string(nuclideName) + ".dat");
}

}  // namespace fetaldose
