#include "core/refdata/data_directory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <filesystem>
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

// A name that stands for one file in the directory itself: not empty, no separator, no NUL
// (the system would cut the name short there), and neither "." nor "..".
bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
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
    if (!IsPlainFileName(fileName)) return std::nullopt;
    std::string exact = directory + std::string(fileName);
    if (IsExistingFile(exact)) return exact;
    searchByCase = true;
    return std::nullopt;
}

// The directory's names in the order the system lists them.
std::vector<std::string> NamesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
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
    if (!NamesDataFile(nuclideName)) return std::nullopt;
    const std::string fileName = std::string(nuclideName) + ".dat";
    bool searchByCase = false;
    if (auto exact = FindExactly(directory_, fileName, searchByCase)) return exact;
    if (!searchByCase) return std::nullopt;
    if (!names_) names_ = NamesIn(directory_);
    return FindByCase(directory_, *names_, fileName);
}

std::optional<std::string> FindDataFile(std::string_view dataDirectory,
                                        std::string_view nuclideName) {
    if (!NamesDataFile(nuclideName)) return std::nullopt;
    return FindFileInDirectory(dataDirectory, std::string(nuclideName) + ".dat");
}

bool NamesDataFile(std::string_view nuclideName) {
    return IsPlainFileName(nuclideName);
}

}  // namespace fetaldose
