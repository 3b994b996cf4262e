#pragma once
// Where exported values come from: the program, the time, the data files with their SHA-256
// digests and the selection of the run. Every export format carries the same lines.

#include <ctime>
#include <string>
#include <vector>

#include "core/run/selection_snapshot.h"

namespace fetaldose {

// The generated sample data set puts a file of this name beside its catalogue; exports of a
// data folder holding it warn that the values are synthetic.
inline constexpr const char* kSyntheticDataMarker = "SYNTHETIC";

struct FileDigest {
    std::string fileName;  // the name in the data folder, as bytes
    std::string sha256;    // 64 lower-case hexadecimal digits; empty when unreadable
    std::string failure;   // why the file could not be read, when it could not
};

struct Provenance {
    std::string programName;
    std::string programVersion;
    std::string exportedAt;     // ISO 8601 local time with its offset from UTC
    std::string dataDirectory;  // absolute, ending with '/'
    // The catalogue first, then each data file the run read, once, in the order it read them.
    std::vector<FileDigest> files;
    SelectionSnapshot selection;  // the selection the run was made with
    char decimalSeparator = '.';  // the run's
    bool syntheticData = false;   // the data folder holds the generated sample set
};

// Gathers the provenance of a run made with `selection` from `dataDirectory`: digests every
// file now (so call it right after the run, or at the export, when the files cannot have
// changed since) and takes the time now. A file that cannot be read is named with the reason
// instead of a digest; nothing here throws for a missing file.
Provenance collectProvenance(const SelectionSnapshot& selection, const std::string& dataDirectory,
                             char decimalSeparator);

// A time as ISO 8601 local time with the offset from UTC, e.g. 2026-12-08T13:05:09+01:00.
std::string isoLocalTime(std::time_t time);

// The provenance as lines of UTF-8 text, without line ends; `tableCount` is the number of
// tables exported.
std::vector<std::string> provenanceLines(const Provenance& provenance, int tableCount);

}  // namespace fetaldose
