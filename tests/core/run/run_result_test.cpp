// A run's result: what it names as its sources, the keys and numbers of its tables, and runs
// that live side by side.

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/run/labels.h"
#include "core/run/run_result.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "core/textio/sha256.h"
#include "data_file_builder.h"
#include "filled_store.h"
#include "run_test_support.h"

namespace fetaldose {
namespace {

using testing::DataFileBuilder;
using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

// A data file whose every dose starts with `digit`, so that two data sets tell apart.
std::string dataFileOf(int digit) {
    return DataFileBuilder({1, 1, 1}, {1, 1, 1})
        .lines([digit](const testing::RecordPlace& place, int line) {
            if (line < 3) return DataFileBuilder::defaultLine(place, line);
            return testing::valueLine([&](int row) {
                return std::to_string(digit) + "." + std::to_string(row % 10) + "E-1" +
                       std::to_string(line);
            });
        })
        .build();
}

// The number a dose text shows, read by the C library (the tests run in the "C" locale).
double libraryNumber(std::string text, char separator) {
    for (char& c : text)
        if (c == separator) c = '.';
    return std::strtod(text.c_str(), nullptr);
}

TEST(RunResult, TwoRunsOverTwoDataFoldersLiveSideBySide) {
    TempDir first, second;
    writeBytes(first.file("Pu-239.dat"), dataFileOf(3));
    writeBytes(second.file("Pu-239.dat"), dataFileOf(7));
    writeBytes(second.file("Cs-137.dat"), dataFileOf(5));
    const SelectionSnapshot one = testing::everythingChosen({"Pu-239"});
    SelectionSnapshot two = testing::everythingChosen({"Cs-137", "Pu-239"});
    two.occupational = two.allChronics = false;

    auto a = testing::completeRun(one, first.slash());
    const auto b = testing::completeRun(two, second.slash(), ',');
    ASSERT_NE(a->tableCount(), b->tableCount());
    EXPECT_EQ(a->inUteroText(1, 1).substr(0, 2), "3.");
    EXPECT_EQ(b->inUteroText(1, 1).substr(0, 2), "5,");
    EXPECT_EQ(b->nuclideName(b->tableCount()), "Pu-239");
    EXPECT_EQ(b->inUteroText(b->tableCount(), 1).substr(0, 2), "7,");
    EXPECT_EQ(a->sources().dataFiles.at(0).sha256(), sha256Hex(dataFileOf(3)));
    EXPECT_EQ(b->sources().dataFiles.at(1).sha256(), sha256Hex(dataFileOf(7)));

    // A third run over the first folder leaves both as they were, and so does letting one go.
    const auto c = testing::completeRun(two, second.slash());
    a.reset();
    EXPECT_EQ(b->inUteroText(b->tableCount(), 1).substr(0, 2), "7,");
    EXPECT_EQ(c->inUteroText(c->tableCount(), 1).substr(0, 2), "7.");
    EXPECT_EQ(b->decimalSeparator(), ',');
    EXPECT_EQ(b->sources().dataDirectory, second.slash());
}

TEST(RunResult, DigestsAreOfTheBytesReadAndTheDiskIsComparedWithThem) {
    TempDir dir;
    const std::string path = dir.file("Pu-239.dat");
    writeBytes(path, dataFileOf(3));
    writeBytes(dir.file("nuclides.txt"), "1\r\nPu-239\r\n24110 y\r\n");
    const auto run = testing::completeRun(testing::everythingChosen({"Pu-239"}), dir.slash());
    const RunSources& sources = run->sources();
    ASSERT_TRUE(sources.catalogue);
    EXPECT_EQ(sources.catalogue->sha256(), sha256Hex("1\r\nPu-239\r\n24110 y\r\n"));
    ASSERT_EQ(sources.dataFiles.size(), 1u);
    const SourceFile& file = sources.dataFiles[0];
    EXPECT_EQ(file.fileName(), "Pu-239.dat");
    EXPECT_EQ(file.diskStateNow(), DiskState::Unchanged);

    // Written again with the same bytes: the file is new on disk but holds what was read.
    writeBytes(path, dataFileOf(3));
    EXPECT_EQ(file.diskStateNow(), DiskState::Unchanged);
    // One byte more: it differs; the digest stays that of the bytes read.
    { std::ofstream(path, std::ios::app | std::ios::binary) << ' '; }
    EXPECT_EQ(file.diskStateNow(), DiskState::Differs);
    EXPECT_EQ(file.sha256(), sha256Hex(dataFileOf(3)));
    std::filesystem::remove(path);
    EXPECT_EQ(file.diskStateNow(), DiskState::Gone);
    EXPECT_EQ(file.bytes(), dataFileOf(3));
}

// Every table's key says what its headings say, for a nuclide chosen twice among others.
TEST(RunResult, KeysAgreeWithTheHeadings) {
    TempDir dir;
    writeBytes(dir.file("A.dat"), DataFileBuilder({4, 3, 3}, {4, 3, 3}).build());
    writeBytes(dir.file("B.dat"), DataFileBuilder({1, 2, 1}, {0, 1, 2}).build());
    const auto run = testing::completeRun(testing::everythingChosen({"A", "B", "A"}), dir.slash());
    int previousNuclide = 0;
    for (int t = 1; t <= run->tableCount(); ++t) {
        const TableKey key = run->key(t);
        ASSERT_GE(key.nuclide, previousNuclide);
        previousNuclide = key.nuclide;
        EXPECT_EQ(run->nuclideName(t), (std::vector<std::string>{"A", "B", "A"}).at(key.nuclide));
        EXPECT_EQ(run->groupHeading(t), kGroupLabels.at(key.group - 1));
        EXPECT_EQ(run->scenarioHeading(t), kScenarioTexts.at(key.scenario - 1));
        const std::string_view route = run->routeHeading(t);
        switch (key.route) {
            case IntakeRoute::Particulates:
                EXPECT_TRUE(route.starts_with(kInhalationTypePrefix)) << route;
                EXPECT_TRUE(route.ends_with(kAerosolLabels.at(key.aerosolSize - 1))) << route;
                break;
            case IntakeRoute::Ingestion:
                EXPECT_TRUE(route.starts_with(kIngestionPrefix)) << route;
                break;
            case IntakeRoute::Vapours:
                EXPECT_FALSE(route.starts_with(kIngestionPrefix)) << route;
                break;
        }
    }
    EXPECT_EQ(previousNuclide, 2);
    EXPECT_THROW(run->key(run->tableCount() + 1), RangeError);
}

// Over the fuzz seeds and varied plain doses, under both separators: every dose's number is
// the number its text shows, and the offspring sum is the two numbers beside it added, which
// the shown offspring dose rounds to two figures.
TEST(RunResult, NumbersAreThoseTheTextsShow) {
    ASSERT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(FETALDOSE_NUCLIDE_SEEDS))
        texts.push_back(readBytes(entry.path().string()));
    texts.push_back(
        DataFileBuilder({4, 3, 3}, {4, 3, 3}).lines(DataFileBuilder::variedLine).build());
    long cells = 0;
    for (const std::string& text : texts) {
        for (const char separator : {'.', ','}) {
            RunOutcome outcome;
            try {
                outcome =
                    testing::runFromTexts(testing::everythingChosen({"F"}), {text}, separator);
            } catch (const Fault&) {
                continue;  // a seed with a fault of its own
            }
            if (!outcome.complete) continue;
            const RunResult& run = *outcome.result;
            for (int t = 1; t <= run.tableCount(); ++t)
                for (int r = 1; r <= run.layout().rowCount(); ++r) {
                    const double inUtero = run.inUteroDose(t, r);
                    ASSERT_EQ(inUtero, libraryNumber(run.inUteroText(t, r), separator));
                    for (int n = 1; n <= run.layout().periodCount(); ++n) {
                        const double postNatal = run.postNatalDose(t, r, n);
                        ASSERT_EQ(postNatal, libraryNumber(run.postNatalText(t, r, n), separator));
                        const std::string offspring = run.offspringText(t, r, n);
                        ASSERT_EQ(run.offspringDose(t, r, n), libraryNumber(offspring, separator));
                        const double sum = run.offspringSum(t, r, n);
                        ASSERT_NEAR(sum, inUtero + postNatal, 1e-15 * std::abs(sum));
                        // Two figures shown: within half a unit of the second.
                        ASSERT_LE(std::abs(run.offspringDose(t, r, n) - sum),
                                  0.05 * std::abs(run.offspringDose(t, r, n)) + 1e-300)
                            << run.inUteroText(t, r) << " + " << run.postNatalText(t, r, n);
                        ++cells;
                    }
                }
        }
    }
    EXPECT_GT(cells, 100000);
}

}  // namespace
}  // namespace fetaldose
