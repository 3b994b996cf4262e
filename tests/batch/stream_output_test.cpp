// The tables written while the run is made, nuclide by nuclide: the same bytes as the whole
// run's writers, the same stops and faults at the same nuclide, nothing written on a stop, and
// only a few nuclides held at any time.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch/progress_line.h"
#include "batch/stream_output.h"
#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/results/results_file.h"
#include "core/run/run_stream.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "data_file_builder.h"
#include "filled_store.h"
#include "scratch_directory.h"

namespace fetaldose::batch {
namespace {

using testing::readBytes;
using testing::ScratchDirectory;
using testing::writeBytes;

// Export times differ from one export to the next; everything else must not. The time follows
// "Exported: " in the provenance.
std::string withoutTimes(std::string text) {
    constexpr std::string_view kExported = "Exported: ";
    for (auto at = text.find(kExported); at != std::string::npos; at = text.find(kExported, at))
        text.replace(at += kExported.size(), 25, "TIME");
    return text;
}

// Every entry of a workbook, unpacked by Python's zipfile, its export and creation times
// masked.
std::string workbookEntries(const std::string& xlsx) {
    const std::string out = xlsx + ".entries";
    const std::string script =
        "import re, sys, zipfile\n"
        "z = zipfile.ZipFile(sys.argv[1])\n"
        "time = re.compile(rb'\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d([+-]\\d\\d:\\d\\d|Z)')\n"
        "with open(sys.argv[2], 'wb') as out:\n"
        "    for i in z.infolist():\n"
        "        out.write(i.filename.encode() + b'\\n' + time.sub(b'TIME', z.read(i)) + b'\\n')\n";
    writeBytes(xlsx + ".py", script);
    EXPECT_EQ(std::system(("python3 '" + xlsx + ".py' '" + xlsx + "' '" + out + "'").c_str()), 0);
    return readBytes(out);
}

class StreamOutput : public ::testing::Test {
  protected:
    // Nuclides of differing counts, one chosen twice, over varied plain doses and one
    // table whose doses are not plain.
    void SetUp() override {
        const testing::SectionCounts full{4, 3, 1}, some{1, 2, 0}, few{0, 0, 1};
        writeBytes(dir.file("A-1.dat"), testing::DataFileBuilder(some, full)
                                            .lines(testing::DataFileBuilder::variedLine)
                                            .build());
        writeBytes(dir.file("B-2.dat"), testing::DataFileBuilder(few, some).build());
        writeBytes(dir.file("C-3.dat"), testing::DataFileBuilder(some, few)
                                            .lines(testing::DataFileBuilder::variedLine)
                                            .build());
        writeBytes(dir.file("nuclides.txt"), "3\r\nA-1\r\n1 d\r\nB-2\r\n2 y\r\nC-3\r\n3 m\r\n");
        selection = testing::everythingChosen({"A-1", "B-2", "A-1", "C-3"});
    }

    RunRequest request(char separator) const { return {selection, dir.slash(), separator, {}}; }

    StreamedOutput streamTo(OutputFormat format, const std::string& path, char separator = '.') {
        std::ostringstream quiet;
        ProgressLine progress(quiet, ProgressLine::Show::Off);
        return writeStreamed(format, path, request(separator), checkSelection(selection), progress);
    }

    ScratchDirectory dir;
    SelectionSnapshot selection;
};

TEST_F(StreamOutput, WritesTheWholeRunsBytesInEveryFormat) {
    for (const char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        const auto run = testing::completeRun(selection, dir.slash(), separator);
        const Provenance provenance = provenanceOf(*run);

        writeResultsFile(dir.file("whole.dos"), *run);
        ASSERT_TRUE(streamTo(OutputFormat::ResultsFile, dir.file("parts.dos"), separator).complete);
        EXPECT_EQ(readBytes(dir.file("parts.dos")), readBytes(dir.file("whole.dos")));

        ASSERT_TRUE(writeCsvFile(dir.file("whole.csv"), *run, provenance));
        ASSERT_TRUE(streamTo(OutputFormat::Csv, dir.file("parts.csv"), separator).complete);
        EXPECT_EQ(withoutTimes(readBytes(dir.file("parts.csv"))),
                  withoutTimes(readBytes(dir.file("whole.csv"))));

        if (separator == '.') continue;  // the workbook's numbers are read alike from both
        ASSERT_TRUE(writeXlsxFile(dir.file("whole.xlsx"), *run, provenance));
        ASSERT_TRUE(streamTo(OutputFormat::Xlsx, dir.file("parts.xlsx"), separator).complete);
        EXPECT_EQ(workbookEntries(dir.file("parts.xlsx")), workbookEntries(dir.file("whole.xlsx")));
    }
}

TEST_F(StreamOutput, StopsAndFaultsComeAtTheWholeRunsNuclideAndLeaveEarlierFilesAlone) {
    for (const OutputFormat format :
         {OutputFormat::ResultsFile, OutputFormat::Csv, OutputFormat::Xlsx}) {
        SCOPED_TRACE(std::string(outputFormatInfo(format).name));
        const std::string out = dir.file("out");
        writeBytes(out, "earlier");

        // A missing data file stops the run as a whole run stops.
        selection.nuclides = {"A-1", "B-2", "Gone-9", "C-3"};
        selection.halfLives.assign(4, "1 d");
        const StreamedOutput stopped = streamTo(format, out);
        EXPECT_FALSE(stopped.complete);
        EXPECT_EQ(stopped.stopMessage, kMissingNuclideFileMessage);
        EXPECT_EQ(readBytes(out), "earlier");

        // A data file whose content is wrong: the fault of the first such file in the chosen
        // order, as the whole run throws it.
        writeBytes(dir.file("Bad-1.dat"), "not a data file\r\n");
        writeBytes(dir.file("Bad-2.dat"), "2\r\n");
        selection.nuclides = {"A-1", "Bad-1", "Bad-2"};
        selection.halfLives.assign(3, "1 d");
        std::string wholeFault;
        try {
            testing::completeRun(selection, dir.slash());
        } catch (const Fault& fault) {
            wholeFault = std::string(fault.what()) + " @ " + fault.file();
        }
        ASSERT_FALSE(wholeFault.empty());
        try {
            streamTo(format, out);
            ADD_FAILURE() << "no fault";
        } catch (const Fault& fault) {
            EXPECT_EQ(std::string(fault.what()) + " @ " + fault.file(), wholeFault);
        }
        EXPECT_EQ(readBytes(out), "earlier");
        SetUp();
    }
}

// A file chosen twice that holds other bytes the second time would give tables that do not
// match the digest the provenance names: the run fails instead.
TEST_F(StreamOutput, AFileThatChangesBetweenItsTwoReadsFailsTheRun) {
    selection = testing::everythingChosen({"C-3", "C-3"});
    StreamOptions options;
    options.workers = 1;  // the first part is prepared before the second is read
    options.digests = true;
    std::atomic<bool> rewritten = false;
    const auto prepare = [&](const RunPart&) -> TakePart {
        if (!rewritten.exchange(true))
            writeBytes(dir.file("C-3.dat"), testing::DataFileBuilder({1, 2, 0}, {0, 0, 1}).build());
        return {};
    };
    try {
        streamTables(request('.'), checkSelection(selection), prepare, options);
        ADD_FAILURE() << "no fault";
    } catch (const Fault& fault) {
        EXPECT_EQ(std::string(fault.what()), kChangedDuringRun);
        EXPECT_EQ(fault.file(), dir.file("C-3.dat"));
    }
}

// However many nuclides, the stream holds a bounded number of them, and takes them in order.
TEST_F(StreamOutput, HoldsOnlyAFewNuclidesAtATimeAndTakesThemInOrder) {
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) names.push_back(i % 2 ? "C-3" : "B-2");
    selection = testing::everythingChosen(names);
    StreamOptions options;
    options.workers = 3;
    std::mutex mutex;
    std::vector<std::weak_ptr<const RunResult>> made;
    std::size_t mostAlive = 0;
    int expected = 0;
    int tablesBefore = 0;
    const auto prepare = [&](const RunPart& part) -> TakePart {
        {
            const std::lock_guard lock(mutex);
            made.push_back(part.tables);
        }
        return [&](const RunPart& taken) {
            EXPECT_EQ(taken.nuclide, expected++);
            EXPECT_EQ(taken.tablesBefore, tablesBefore);
            tablesBefore += taken.tables->tableCount();
            const std::lock_guard lock(mutex);
            std::size_t alive = 0;
            for (const auto& part : made) alive += part.expired() ? 0 : 1;
            mostAlive = std::max(mostAlive, alive);
        };
    };
    const StreamOutcome outcome =
        streamTables(request('.'), checkSelection(selection), prepare, options);
    ASSERT_TRUE(outcome.complete);
    EXPECT_EQ(expected, 40);
    EXPECT_EQ(outcome.tableCount, tablesBefore);
    EXPECT_EQ(outcome.tableCount, testing::completeRun(selection, dir.slash())->tableCount());
    EXPECT_LE(mostAlive, 5U) << "3 workers' parts, the one taken, and one waiting";
    EXPECT_TRUE(outcome.sources.dataFiles.empty()) << "no digests asked for";
}

TEST(ProgressText, SaysNuclidesTablesBytesAndTheTimeLeft) {
    EXPECT_EQ(progressText("Writing", 120, 900, 97680, 234500000, 12.0),
              "Writing: 120 of 900 nuclides, 97 680 tables, 234.5 MB written, about 1 min 18 s "
              "left");
    EXPECT_EQ(progressText("Reading", 0, 1, 0, 0, 0.5), "Reading: 0 of 1 nuclide, 0 tables");
    EXPECT_EQ(progressText("Writing", 900, 900, 732600, 0, 99.0),
              "Writing: 900 of 900 nuclides, 732 600 tables");
    EXPECT_EQ(progressText("Writing", 1, 4, 1, 0, 3600.0),
              "Writing: 1 of 4 nuclides, 1 table, about 3 h 0 min left");
}

}  // namespace
}  // namespace fetaldose::batch
