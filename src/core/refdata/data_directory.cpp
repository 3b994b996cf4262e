#include "core/refdata/data_directory.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fetaldose {

namespace {

bool isExistingFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name that stands for one file in the directory itself: not empty, no separator, no NUL
// (the system would cut the name short there), and neither "." nor "..".
bool isPlainFileName(std::string_view name) {
    return !name.empty() && name.size() <= NAME_MAX && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

}  // namespace

std::string dataDirectoryFor(std::string_view workingDirectory) {
    std::string directory(workingDirectory);
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory + "data/";
}

std::string absoluteDirectory(const std::string& dataDirectory) {
    std::error_code ignored;
    std::string directory =
        std::filesystem::absolute(dataDirectory, ignored).lexically_normal().string();
    if (directory.empty()) directory = dataDirectory;
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

std::string currentDataDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) return dataDirectoryFor(".");
        buffer.resize(buffer.size() * 2);
    }
    return dataDirectoryFor(buffer.data());
}

namespace {

// The exact match, or nothing; `searchByCase` is set when a match without regard to letter
// case may still be looked for.
std::optional<std::string> findExactly(const std::string& directory, std::string_view fileName,
                                       bool& searchByCase) {
    searchByCase = false;
    if (!isPlainFileName(fileName)) return std::nullopt;
    std::string exact = directory + std::string(fileName);
    if (isExistingFile(exact)) return exact;
    searchByCase = true;
    return std::nullopt;
}

// The directory's names in the order the system lists them.
std::vector<std::string> namesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    return names;
}

std::optional<std::string> findByCase(const std::string& directory,
                                      const std::vector<std::string>& names,
                                      std::string_view fileName) {
    for (const std::string& name : names) {
        if (!equalIgnoringAsciiCase(name, fileName)) continue;
        std::string candidate = directory + name;
        if (isExistingFile(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> findFileInDirectory(std::string_view directory,
                                               std::string_view fileName) {
    const std::string directoryText(directory);
    bool searchByCase = false;
    if (auto exact = findExactly(directoryText, fileName, searchByCase)) return exact;
    if (!searchByCase) return std::nullopt;
    return findByCase(directoryText, namesIn(directoryText), fileName);
}

DataFileFinder::DataFileFinder(std::string dataDirectory) : directory_(std::move(dataDirectory)) {}

namespace {

std::string asciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = asciiLower(c);
    return lower;
}

}  // namespace

std::optional<std::string> DataFileFinder::find(std::string_view nuclideName) {
    if (!namesDataFile(nuclideName)) return std::nullopt;
    const std::string fileName = std::string(nuclideName) + ".dat";
    bool searchByCase = false;
    if (!listing_ || listing_->names.count(fileName) != 0) {
        if (auto exact = findExactly(directory_, fileName, searchByCase)) return exact;
        if (!searchByCase) return std::nullopt;
    }
    if (!listing_) {
        listing_.emplace();
        for (std::string& name : namesIn(directory_)) {
            listing_->byLowerCase[asciiLowerCase(name)].push_back(name);
            listing_->names.insert(std::move(name));
        }
    }
    const auto sameLetters = listing_->byLowerCase.find(asciiLowerCase(fileName));
    if (sameLetters == listing_->byLowerCase.end()) return std::nullopt;
    return findByCase(directory_, sameLetters->second, fileName);
}

std::optional<std::string> findDataFile(std::string_view dataDirectory,
                                        std::string_view nuclideName) {
    if (!namesDataFile(nuclideName)) return std::nullopt;
    return findFileInDirectory(dataDirectory, std::string(nuclideName) + ".dat");
}

bool namesDataFile(std::string_view nuclideName) {
    // A name too long for a file name with ".dat" after it names none either.
    return nuclideName.size() <= NAME_MAX - 4 && isPlainFileName(nuclideName);
}

}  // namespace fetaldose
