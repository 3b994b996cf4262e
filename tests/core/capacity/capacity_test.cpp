// The program's fixed capacities, filled to the brim: the catalogue, the data files, and a run over
// twenty full data files that is kept in memory and saved whole.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/refdata/catalogue.h"
#include "core/results/results_file.h"
#include "core/run/labels.h"
#include "core/run/run_result.h"
#include "data_file_builder.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::DataFileBuilder;
using testing::readBytes;
using testing::ScratchDirectory;
using testing::writeBytes;

TEST(Capacity, CatalogueHolds900EntriesAndStopsAtThe901st) {
    struct Case {
        int entries;
        std::optional<std::string> fault;
    };
    for (const Case& c : {Case{900, std::nullopt}, Case{901, "Range check error"}}) {
        ScratchDirectory dir;
        std::string text = std::to_string(c.entries) + "\r\n";
        for (int k = 1; k <= c.entries; ++k)
            text += "N-" + std::to_string(k) + "\r\n" + std::to_string(k) + " y\r\n";
        writeBytes(dir.file("nuclides.txt"), text);

        const CatalogueLoad load =
            loadCatalogue(dir.slash(), systemFileAttributes(), [](const std::string&) {});
        EXPECT_EQ(load.fault, c.fault) << c.entries;
        ASSERT_EQ(load.entries.size(), 900u) << c.entries;
        for (int k = 1; k <= 900; ++k) {
            const CatalogueEntry& entry = load.entries[static_cast<std::size_t>(k - 1)];
            ASSERT_EQ(entry.name, "N-" + std::to_string(k));
            ASSERT_EQ(entry.halfLife, std::to_string(k) + " y");
        }
    }
}

TEST(Capacity, TwentyFullDataFilesRunKeepAndSaveEveryTable) {
    constexpr int kNuclides = 20;
    constexpr int kTablesPerFile = 814;
    ScratchDirectory dir;
    const std::string full = DataFileBuilder({4, 3, 3}, {4, 3, 3}).build();
    SelectionSnapshot selection;
    for (int k = 1; k <= kNuclides; ++k) {
        selection.nuclides.push_back("Full-" + std::to_string(k));
        selection.halfLives.push_back(std::to_string(k) + " y");
        writeBytes(dir.file(selection.nuclides.back() + ".dat"), full);
    }
    selection.memberOfPublic = selection.occupational = selection.allRoutes = true;
    selection.allAcutes = selection.allChronics = selection.allAerosol = true;
    selection.allOrgans = selection.allPeriods = true;

    const RunCheck check = checkSelection(selection);
    ASSERT_EQ(check.stage, GridStage::LaidOut);
    ASSERT_EQ(check.layout.rows.size(), 18u);
    ASSERT_EQ(check.layout.periods.size(), 5u);
    const RunOutcome outcome = runTables({selection, dir.slash(), '.', {}}, check);
    ASSERT_TRUE(outcome.complete) << outcome.stopMessage;
    const RunResult& run = *outcome.result;
    ASSERT_EQ(outcome.tableCount, kNuclides * kTablesPerFile);
    ASSERT_EQ(run.tableCount(), kNuclides * kTablesPerFile);
    // Each file gave its own 814 tables, in the order chosen.
    for (int k = 1; k <= kNuclides; ++k) {
        const std::string name = "Full-" + std::to_string(k) + ", ";
        EXPECT_EQ(std::string(run.nuclideHeading((k - 1) * kTablesPerFile + 1)).rfind(name, 0), 0u);
        EXPECT_EQ(std::string(run.nuclideHeading(k * kTablesPerFile)).rfind(name, 0), 0u);
        EXPECT_EQ(run.key(k * kTablesPerFile).nuclide, k - 1);
    }
    // Within the memory goal: at most 2 KB per table at 18 rows by 5 periods.
    EXPECT_LE(run.memoryBytes() / static_cast<std::size_t>(run.tableCount()), 2048u);

    const std::string path = dir.file("everything.dos");
    writeResultsFile(path, run);
    const std::string bytes = readBytes(path);
    long lines = 0;
    for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", end + 2))
        ++lines;
    EXPECT_EQ(lines, static_cast<long>(kNuclides) * kTablesPerFile * (9 + 3 * 18));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), lines);  // no line ends otherwise
    EXPECT_TRUE(bytes.ends_with("\r\n"));
}

}  // namespace
}  // namespace fetaldose
