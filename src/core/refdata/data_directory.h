#pragma once
// The data directory and the data files in it.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace fetaldose {

// The data directory for a working directory: the working directory followed by "/data/",
// with no doubled separator when the working directory is the root.
std::string dataDirectoryFor(std::string_view workingDirectory);

// A data directory as an absolute path, normalised, ending with '/'.
std::string absoluteDirectory(const std::string& dataDirectory);

// The data directory of this process: the working directory now, followed by "/data/".
std::string currentDataDirectory();

// Whether a nuclide name can name a data file at all: a name holding a separator '/' or a
// NUL, or that is "." or "..", would reach outside the data directory and names none; nor
// does one too long for a file name.
bool namesDataFile(std::string_view nuclideName);

// The path of the data file of a nuclide: data directory + name + ".dat", matched exactly
// first and, where no such file exists, without regard to letter case. Empty when there is
// no such file, or the name names none (namesDataFile).
std::optional<std::string> findDataFile(std::string_view dataDirectory,
                                        std::string_view nuclideName);

// A file `fileName` in `directory` (which ends with a separator), matched exactly first and,
// where no such file exists, without regard to letter case. Directories do not count, nor
// does a name with a separator or a NUL, or "." or "..".
std::optional<std::string> findFileInDirectory(std::string_view directory,
                                               std::string_view fileName);

// Finds many data files in one directory as findDataFile does, reading the directory's
// names once, at the first name that has no exact match, instead of once for each.
class DataFileFinder {
  public:
    explicit DataFileFinder(std::string dataDirectory);
    std::optional<std::string> find(std::string_view nuclideName);

  private:
    // The directory's names, by name and by name in lower case (in listing order), read once:
    // after that a name not listed costs no system call, however many are looked up.
    struct Listing {
        std::unordered_set<std::string> names;
        std::unordered_map<std::string, std::vector<std::string>> byLowerCase;
    };

    std::string directory_;
    std::optional<Listing> listing_;
};

inline bool dataFileExists(std::string_view dataDirectory, std::string_view nuclideName) {
    return findDataFile(dataDirectory, nuclideName).has_value();
}

}  // namespace fetaldose

namespace fetaldose {

// Shown when a nuclide is chosen, or loaded from an options file, without a data file.
inline constexpr const char* kNuclideNotAvailableMessage =
    "This nuclide is not available, please reselect from the first 20 nuclides or Pu-239";

}  // namespace fetaldose
