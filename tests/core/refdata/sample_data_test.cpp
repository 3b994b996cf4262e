// The sample data set the build generates reads back through the program's own loaders.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "scratch_directory.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/refdata/nuclide_data.h"

namespace fetaldose {
namespace {

using testing::PermissionBits;
using testing::ScratchDirectory;

int Generate(const ScratchDirectory& dir) {
    return std::system((std::string(FETALDOSE_MAKE_SAMPLE) + " '" + dir.File("") + "'").c_str());
}

TEST(SampleData, LoadsAndReadsThroughTheProgramsReaders) {
    ScratchDirectory dir;
    ASSERT_EQ(Generate(dir), 0);

    std::vector<std::string> messages;
    const CatalogueLoad load = LoadCatalogue(dir.Slash(), SystemFileAttributes(),
                                             [&](const std::string& m) { messages.push_back(m); });
    EXPECT_FALSE(load.Fault);
    EXPECT_EQ(messages, std::vector<std::string>{kAttributePassMessage});
    ASSERT_GE(load.Entries.size(), 60u);
    EXPECT_LE(load.Entries.size(), 74u);  // every entry fits the nuclide grid

    // The first twenty nuclides and Pu-239 have data files, and no others.
    auto data = std::make_unique<NuclideData>();
    int withData = 0;
    for (std::size_t i = 0; i < load.Entries.size(); ++i) {
        const CatalogueEntry& entry = load.Entries[i];
        const auto path = FindDataFile(dir.Slash(), entry.Name);
        EXPECT_EQ(path.has_value(), i < 20 || entry.Name == "Pu-239") << entry.Name;
        if (!path) continue;
        ++withData;
        EXPECT_EQ(PermissionBits(*path), 0444u) << entry.Name;
        TextReader file = TextReader::OpenWhole(*path);
        ASSERT_NO_THROW(ReadNuclideData(file, *data)) << entry.Name;
        EXPECT_TRUE(file.AtEnd()) << entry.Name;
        for (const GroupSection& section : data->Groups)
            EXPECT_GE(section.TypeCount + section.IngestionCount + section.VapourCount, 1);
    }
    EXPECT_EQ(withData, 21);

    // Pu-239's public ingestion tables at 5 weeks carry the rounding cases.
    TextReader plutonium = TextReader::OpenWhole(*FindDataFile(dir.Slash(), "Pu-239"));
    ReadNuclideData(plutonium, *data);
    const DoseRecord& record = data->Groups[0].IngestionRecords[3][0];
    EXPECT_EQ(DoseRecord::Field(record.InUteroLine, 18), "9.5E-07");
    EXPECT_EQ(DoseRecord::Field(record.PostNatalLines[0], 18), "4.5E-08");

    // The generator replaces files the first-run pass made read-only.
    ASSERT_EQ(Generate(dir), 0);
    EXPECT_NE(PermissionBits(dir.File("Pu-239.dat")), 0444u);
}

}  // namespace
}  // namespace fetaldose
