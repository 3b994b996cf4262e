#pragma once
// Loading of the nuclide catalogue nuclides.txt, with the first-run pass that makes every
// catalogued data file read-only.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/textio/source_file.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

inline constexpr int kCatalogueCapacity = 900;
// The largest catalogue read: 900 entries of names and half-lives take some tens of
// kilobytes.
inline constexpr InputCeiling kCatalogueCeiling{"a catalogue", 16ULL * 1024 * 1024};
inline constexpr const char* kCatalogueFileName = "nuclides.txt";

struct CatalogueEntry {
    std::string name;      // exactly as read; also the base name of the data file
    std::string halfLife;  // exactly as read; never parsed
};

// Read-only marking of data files. "Exactly read-only" is mode 0444.
class FileAttributes {
  public:
    virtual ~FileAttributes() = default;
    virtual bool isExactlyReadOnly(const std::string& path) = 0;
    // Makes the file exactly read-only; failures are ignored by the caller.
    virtual void makeExactlyReadOnly(const std::string& path) = 0;
};

// The real file system's attributes.
FileAttributes& systemFileAttributes();

struct CatalogueLoad {
    std::vector<CatalogueEntry> entries;  // row i of the grid is entry i + 1
    // The catalogue's bytes as read (what runs name as their catalogue); nothing when the file
    // is missing or could not be read.
    std::optional<SourceFile> source;
    // The fault that stopped the load early, as its message (the error box adds the full
    // stop); the entries read before it stay.
    std::optional<std::string> fault;
};

inline constexpr const char* kMissingCatalogueMessage =
    "Cannot find the nuclide file, please check nuclides.txt is present";
inline constexpr const char* kAttributePassMessage =
    "The program will now take a few moments to verify the data file attributes. Click OK to "
    "proceed.";

// Loads the catalogue of `dataDirectory`. `showMessage` is called, and must return only once
// the user has confirmed, for the missing-catalogue message and the attribute-pass notice,
// in the order they arise.
CatalogueLoad loadCatalogue(const std::string& dataDirectory, FileAttributes& attributes,
                            const std::function<void(const std::string&)>& showMessage);

// Reads the catalogue at `cataloguePath` entry by entry as loadCatalogue reads it (the first
// pair whatever the count says, then count - 1 more), but with no capacity and holding no
// entry: for tools that list or check a whole catalogue. Throws the faults of reading.
void forEachCatalogueEntry(const std::string& cataloguePath,
                           const std::function<void(const CatalogueEntry&)>& take);
// The same over a catalogue's bytes as read (a run's catalogue source), by the same rules.
void forEachCatalogueEntry(const SourceFile& catalogue,
                           const std::function<void(const CatalogueEntry&)>& take);

// The files of the data set in `dataDirectory` that a save must never replace: the
// catalogue and every data file it names that exists. Where the catalogue cannot be read to
// its end, the files found up to there.
std::vector<std::string> dataSetFiles(const std::string& dataDirectory);

}  // namespace fetaldose
