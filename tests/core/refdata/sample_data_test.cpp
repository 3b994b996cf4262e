// The sample data set the build generates reads back through the program's own loaders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/refdata/nuclide_data.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::permissionBits;
using testing::ScratchDirectory;

int generate(const ScratchDirectory& dir) {
    return std::system((std::string(FETALDOSE_MAKE_SAMPLE) + " '" + dir.file("") + "'").c_str());
}

TEST(SampleData, LoadsAndReadsThroughTheProgramsReaders) {
    ScratchDirectory dir;
    ASSERT_EQ(generate(dir), 0);

    std::vector<std::string> messages;
    const CatalogueLoad load = loadCatalogue(dir.slash(), systemFileAttributes(),
                                             [&](const std::string& m) { messages.push_back(m); });
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(messages, std::vector<std::string>{kAttributePassMessage});
    ASSERT_GE(load.entries.size(), 60u);
    EXPECT_LE(load.entries.size(), 74u);  // every entry fits the nuclide grid

    // The first twenty nuclides and Pu-239 have data files, and no others.
    auto data = std::make_unique<NuclideData>();
    int withData = 0;
    for (std::size_t i = 0; i < load.entries.size(); ++i) {
        const CatalogueEntry& entry = load.entries[i];
        const auto path = findDataFile(dir.slash(), entry.name);
        EXPECT_EQ(path.has_value(), i < 20 || entry.name == "Pu-239") << entry.name;
        if (!path) continue;
        ++withData;
        EXPECT_EQ(permissionBits(*path), 0444u) << entry.name;
        TextReader file = TextReader::openWhole(*path);
        ASSERT_NO_THROW(readNuclideData(file, *data)) << entry.name;
        EXPECT_TRUE(file.atEnd()) << entry.name;
        for (const GroupSection& section : data->groups)
            EXPECT_GE(section.typeCount + section.ingestionCount + section.vapourCount, 1);
    }
    EXPECT_EQ(withData, 21);

    // Pu-239's public ingestion tables at 5 weeks carry the rounding cases.
    TextReader plutonium = TextReader::openWhole(*findDataFile(dir.slash(), "Pu-239"));
    readNuclideData(plutonium, *data);
    const DoseRecord& record = data->groups[0].ingestionRecords[3][0];
    EXPECT_EQ(DoseRecord::field(record.inUteroLine, 18), "9.5E-07");
    EXPECT_EQ(DoseRecord::field(record.postNatalLines[0], 18), "4.5E-08");

    // The generator replaces files the first-run pass made read-only.
    ASSERT_EQ(generate(dir), 0);
    EXPECT_NE(permissionBits(dir.file("Pu-239.dat")), 0444u);
}

}  // namespace
}  // namespace fetaldose
