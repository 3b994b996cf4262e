#pragma once
// Where exported values come from: the program, the time, the data files with the SHA-256
// digests of the bytes the run read, and the selection of the run. Every export format carries
// the same lines.

#include <ctime>
#include <string>
#include <vector>

#include "core/run/run_result.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose {

struct FileDigest {
    std::string fileName;  // the name in the data folder, as bytes
    std::string sha256;    // 64 lower-case hexadecimal digits; empty when unreadable
    std::string failure;   // why the file could not be read, when it could not
    DiskState disk = DiskState::Unchanged;  // the file on disk at the export, against the bytes
};

struct Provenance {
    std::string programName;
    std::string programVersion;
    std::string exportedAt;     // ISO 8601 local time with its offset from UTC
    std::string dataDirectory;  // absolute, ending with '/'
    // The catalogue first, then each data file the run read, once, in the order it read them.
    std::vector<FileDigest> files;
    SelectionSnapshot selection;  // the selection the run was made with
    TableLayout layout;           // its tissue rows and periods
    char decimalSeparator = '.';  // the run's
    bool syntheticData = false;   // the data folder holds the generated sample set
};

// The provenance of a run's values, exported now: the digests of the bytes the run read (never
// read again from disk), each file on disk compared with them, and the time now.
Provenance provenanceOf(const RunResult& run);
// The same of a run made in parts, from its sources (each file's digest worked out already or
// from the bytes kept), its selection and its layout.
Provenance provenanceOf(const RunSources& sources, const SelectionSnapshot& selection,
                        const TableLayout& layout);

// A time as ISO 8601 local time with the offset from UTC, e.g. 2026-12-08T13:05:09+01:00.
std::string isoLocalTime(std::time_t time);

// A file read as provenance names it: its digest and how the file on disk compares now.
FileDigest fileDigestOf(const SourceFile& file);

// The first lines of every export's provenance: the program, the synthetic-data warning where
// it applies, and the time of the export.
std::vector<std::string> programLines(const Provenance& provenance);
// The data folder and the digest of each file read, with a note on each file that has changed
// on disk since.
std::vector<std::string> dataFolderLines(const Provenance& provenance);

// The short provenance each page of a report carries at its foot, in UTF-8: the program, the
// time of the export, the number of tables and the data folder on one line, then the
// synthetic-data warning where it applies.
std::vector<std::string> pageFooterLines(const Provenance& provenance, int tableCount);

// The provenance as lines of UTF-8 text, without line ends; `tableCount` is the number of
// tables exported.
std::vector<std::string> provenanceLines(const Provenance& provenance, int tableCount);

}  // namespace fetaldose
