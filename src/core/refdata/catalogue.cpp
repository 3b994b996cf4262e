#include "core/refdata/catalogue.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

#include "core/refdata/data_directory.h"
#include "core/textio/faults.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

namespace {

CatalogueEntry readEntry(TextReader& file) {
    CatalogueEntry entry;
    file.readLine(entry.name);
    file.readLine(entry.halfLife);
    return entry;
}

void makeDataFileReadOnly(DataFileFinder& dataFiles, const std::string& nuclideName,
                          FileAttributes& attributes) {
    // A missing data file is passed over; a refused change is not reported either.
    if (const auto path = dataFiles.find(nuclideName)) attributes.makeExactlyReadOnly(*path);
}

}  // namespace

CatalogueLoad loadCatalogue(const std::string& dataDirectory, FileAttributes& attributes,
                            const std::function<void(const std::string&)>& showMessage) {
    CatalogueLoad load;
    const auto cataloguePath = findFileInDirectory(dataDirectory, kCatalogueFileName);
    if (!cataloguePath) {
        showMessage(kMissingCatalogueMessage);
        return load;
    }

    try {
        const std::optional<FileIdentity> identity = fileIdentityOf(*cataloguePath);
        TextReader file = TextReader::open(*cataloguePath, kCatalogueCeiling);
        // A copy of the bytes as they are read, so that runs can name the very bytes their
        // half-lives came from.
        file.keepCopy();
        // The first pair is read whatever the count says; the count only says how many follow.
        const std::int32_t count = file.readCount();
        CatalogueEntry first = readEntry(file);

        // Whether the first-run pass is needed is decided on the first entry alone: once a
        // pass has completed, its data file is exactly read-only and later starts skip it.
        const auto firstDataFile = findDataFile(dataDirectory, first.name);
        const bool passNeeded = !firstDataFile || !attributes.isExactlyReadOnly(*firstDataFile);
        if (passNeeded) {
            showMessage(kAttributePassMessage);
            if (firstDataFile) attributes.makeExactlyReadOnly(*firstDataFile);
        }
        load.entries.push_back(std::move(first));

        // The pass looks up every entry's data file: the directory is listed once for all, and
        // only when a pass is needed (every later start skips it).
        std::optional<DataFileFinder> dataFiles;
        if (passNeeded) dataFiles.emplace(dataDirectory);

        for (std::int32_t number = 2; number <= count; ++number) {
            if (number > kCatalogueCapacity) throw RangeError();
            CatalogueEntry entry = readEntry(file);
            if (dataFiles) makeDataFileReadOnly(*dataFiles, entry.name, attributes);
            load.entries.push_back(std::move(entry));
        }
        std::string bytes = file.takeCopyOfWholeFile();
        const std::size_t size = bytes.size();
        auto kept = std::shared_ptr<char[]>(new char[size]);
        std::copy(bytes.begin(), bytes.end(), kept.get());
        load.source.emplace(*cataloguePath, std::move(kept), size, identity);
    } catch (const Fault& fault) {
        load.fault = fault.what();
    }
    return load;
}

namespace {

void readCatalogueEntries(TextReader& file,
                          const std::function<void(const CatalogueEntry&)>& take) {
    const std::int32_t count = file.readCount();
    CatalogueEntry entry;
    // Up to the program's capacity, entries past the end of the file are empty ones, as the
    // program loads them; beyond it the end of the file ends the list, so that a count far
    // above the lines there cannot keep the reader going.
    for (std::int32_t number = 1; number == 1 || number <= count; ++number) {
        if (number > kCatalogueCapacity && file.atEnd()) break;
        file.readLine(entry.name);
        file.readLine(entry.halfLife);
        take(entry);
        if (number == count) break;  // never steps past the largest count
    }
}

}  // namespace

void forEachCatalogueEntry(const std::string& cataloguePath,
                           const std::function<void(const CatalogueEntry&)>& take) {
    TextReader file = TextReader::open(cataloguePath, kCatalogueCeiling);
    readCatalogueEntries(file, take);
}

void forEachCatalogueEntry(const SourceFile& catalogue,
                           const std::function<void(const CatalogueEntry&)>& take) {
    TextReader file(catalogue.bytes());
    try {
        readCatalogueEntries(file, take);
    } catch (Fault& fault) {
        fault.locate(catalogue.path(), file.lineNumber());
        throw;
    }
}

std::vector<std::string> dataSetFiles(const std::string& dataDirectory) {
    std::vector<std::string> files;
    const auto cataloguePath = findFileInDirectory(dataDirectory, kCatalogueFileName);
    if (!cataloguePath) return files;
    files.push_back(*cataloguePath);
    DataFileFinder dataFiles(dataDirectory);
    try {
        forEachCatalogueEntry(*cataloguePath, [&](const CatalogueEntry& entry) {
            if (auto path = dataFiles.find(entry.name)) files.push_back(std::move(*path));
        });
    } catch (const Fault&) {
        // A catalogue that cannot be read to its end guards the files found so far.
    }
    return files;
}

}  // namespace fetaldose
