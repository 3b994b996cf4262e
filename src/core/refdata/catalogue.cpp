#include "core/refdata/catalogue.h"

#include <cstdint>

#include "core/refdata/data_directory.h"
#include "core/textio/faults.h"
#include "core/textio/text_reader.h"

namespace fetaldose {

namespace {

CatalogueEntry ReadEntry(TextReader& file) {
    CatalogueEntry entry;
    file.ReadLine(entry.Name);
    file.ReadLine(entry.HalfLife);
    return entry;
}

void MakeDataFileReadOnly(DataFileFinder& dataFiles, const std::string& nuclideName,
                          FileAttributes& attributes) {
    // A missing data file is passed over; a refused change is not reported either.
    if (const auto path = dataFiles.Find(nuclideName)) attributes.MakeExactlyReadOnly(*path);
}

}  // namespace

CatalogueLoad LoadCatalogue(const std::string& dataDirectory, FileAttributes& attributes,
                            const std::function<void(const std::string&)>& showMessage) {
    CatalogueLoad load;
    const auto cataloguePath = FindFileInDirectory(dataDirectory, kCatalogueFileName);
    if (!cataloguePath) {
        showMessage(kMissingCatalogueMessage);
        return load;
    }

    try {
        TextReader file = TextReader::Open(*cataloguePath);
        // The first pair is read whatever the count says; the count only says how many follow.
        const std::int32_t count = file.ReadCount();
        CatalogueEntry first = ReadEntry(file);

        // Whether the first-run pass is needed is decided on the first entry alone: once a
        // pass has completed, its data file is exactly read-only and later starts skip it.
        const auto firstDataFile = FindDataFile(dataDirectory, first.Name);
        const bool passNeeded = !firstDataFile || !attributes.IsExactlyReadOnly(*firstDataFile);
        if (passNeeded) {
            showMessage(kAttributePassMessage);
            if (firstDataFile) attributes.MakeExactlyReadOnly(*firstDataFile);
        }
        load.Entries.push_back(std::move(first));

        // The pass looks up every entry's data file: the directory is listed once for all.
        DataFileFinder dataFiles(dataDirectory);

        for (std::int32_t number = 2; number <= count; ++number) {
            if (number > kCatalogueCapacity) throw RangeError();
            CatalogueEntry entry = ReadEntry(file);
            if (passNeeded) MakeDataFileReadOnly(dataFiles, entry.Name, attributes);
            load.Entries.push_back(std::move(entry));
        }
    } catch (const Fault& fault) {
        load.Fault = fault.what();
    }
    return load;
}

}  // namespace fetaldose
