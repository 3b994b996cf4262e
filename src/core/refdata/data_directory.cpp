#include "core/refdata/data_directory.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>
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

namespace {

// The exact match, or nothing; `searchByCase` is set when a match without regard to letter
// case may still be looked for.
std::optional<std::string> FindExactly(const std::string& directory, std::string_view fileName,
                                       bool& searchByCase) {
    searchByCase = false;
    // A NUL cannot stand in a file name: the system would cut the name short there.
    if (fileName.find('\0') != std::string_view::npos) return std::nullopt;
    std::string exact = directory + std::string(fileName);
    if (IsExistingFile(exact)) return exact;
    // A name with a separator reaches into another directory; only its exact spelling counts.
    searchByCase = fileName.find('/') == std::string_view::npos;
    return std::nullopt;
}

// The directory's names in the order the system lists them.
std::vector<std::string> NamesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directory.c_str()), ::closedir);
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir.get())) names.emplace_back(entry->d_name);
    return names;
}

std::optional<std::string> FindByCase(const std::string& directory,
                                      const std::vector<std::string>& names,
                                      std::string_view fileName) {
    for (const std::string& name : names) {
        if (!EqualIgnoringAsciiCase(name, fileName)) continue;
        std::string candidate = directory + name;
        if (IsExistingFile(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FindFileInDirectory(std::string_view directory,
                                               std::string_view fileName) {
    const std::string directoryText(directory);
    bool searchByCase = false;
    if (auto exact = FindExactly(directoryText, fileName, searchByCase)) return exact;
    if (!searchByCase) return std::nullopt;
    return FindByCase(directoryText, NamesIn(directoryText), fileName);
}

DataFileFinder::DataFileFinder(std::string dataDirectory) : directory_(std::move(dataDirectory)) {}

std::optional<std::string> DataFileFinder::Find(std::string_view nuclideName) {
    const std::string fileName = std::string(nuclideName) + ".dat";
    bool searchByCase = false;
    if (auto exact = FindExactly(directory_, fileName, searchByCase)) return exact;
    if (!searchByCase) return std::nullopt;
    if (!names_) names_ = NamesIn(directory_);
    return FindByCase(directory_, *names_, fileName);
}

std::optional<std::string> FindDataFile(std::string_view dataDirectory,
                                        std::string_view nuclideName) {
    return FindFileInDirectory(dataDirectory, std::string(nuclideName) + ".dat");
}

}  // namespace fetaldose
