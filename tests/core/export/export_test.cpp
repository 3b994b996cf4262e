// Exports of a run's tables: digests, text encoding, provenance, and failed saves.

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "core/export/dose_rows.h"
#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/run/run.h"
#include "core/textio/faults.h"
#include "core/textio/sha256.h"
#include "core/textio/text_encoding.h"
#include "data_file_builder.h"
#include "filled_store.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::readBytes;
using testing::ScratchDirectory;
using testing::writeBytes;

TEST(Sha256, GivesTheStandardDigests) {
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(
        sha256Hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmno"
                  "pqklmnopqrlmnopqrsmnopqrstnopqrstu"),
        "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
    EXPECT_EQ(sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    ScratchDirectory dir;
    const std::string bytes(600000, '\x5a');  // more than one read
    writeBytes(dir.file("f"), bytes);
    EXPECT_EQ(sha256HexOfFile(dir.file("f")), sha256Hex(bytes));
    EXPECT_THROW(sha256HexOfFile(dir.file("missing")), IoError);
}

TEST(TextEncoding, KeepsUtf8AndReadsAnythingElseAsWindows1252) {
    EXPECT_EQ(toUtf8("Pu-239, half-life is 24110 y"), "Pu-239, half-life is 24110 y");
    EXPECT_EQ(toUtf8("Ra-226\xC3\xA9 \xE2\x82\xAC"), "Ra-226\xC3\xA9 \xE2\x82\xAC");  // UTF-8 stays
    EXPECT_EQ(toUtf8("Ra-226\xE9"), "Ra-226\xC3\xA9");
    EXPECT_EQ(toUtf8("\x80 \xB5Sv \x96"), "\xE2\x82\xAC \xC2\xB5Sv \xE2\x80\x93");
    EXPECT_EQ(toUtf8("\x81"), "\xC2\x81");  // unassigned in Windows-1252, kept as U+0081
    // Not UTF-8: an overlong form, an encoded surrogate, a sequence cut short.
    EXPECT_EQ(toUtf8("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(toUtf8("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC");
    EXPECT_EQ(toUtf8("a\xC3"), "a\xC3\x83");
}

TEST(OutputFormat, NamesAndExtensionsMatchWithoutRegardToCase) {
    EXPECT_EQ(outputFormatNamed("csv"), OutputFormat::Csv);
    EXPECT_EQ(outputFormatNamed("XLSX"), OutputFormat::Xlsx);
    EXPECT_EQ(outputFormatNamed("Dos"), OutputFormat::ResultsFile);
    EXPECT_EQ(outputFormatNamed("pdf"), OutputFormat::Pdf);
    EXPECT_EQ(outputFormatNamed(""), std::nullopt);
    EXPECT_EQ(outputFormatNamed("cs"), std::nullopt);
    EXPECT_EQ(outputFormatOfFileName("tables.CSV"), OutputFormat::Csv);
    EXPECT_EQ(outputFormatOfFileName("a.b.Xlsx"), OutputFormat::Xlsx);
    EXPECT_EQ(outputFormatOfFileName("xlsx"), std::nullopt);  // a name, not an extension
    EXPECT_EQ(outputFormatOfFileName("tables.csv.txt"), std::nullopt);
}

TEST(SampleData, ExportsOfTheGeneratedSetWarnThatItsValuesAreSynthetic) {
    ScratchDirectory dir;
    ASSERT_EQ(std::system((std::string(FETALDOSE_MAKE_SAMPLE) + " '" + dir.file("") + "'").c_str()),
              0);
    SelectionSnapshot selection = testing::everythingChosen({"Pu-239"});
    const Provenance provenance = provenanceOf(*testing::completeRun(selection, dir.slash()));
    EXPECT_TRUE(provenance.syntheticData);
    ASSERT_EQ(provenance.files.size(), 2u);
    EXPECT_EQ(provenance.files[1].fileName, "Pu-239.dat");
    EXPECT_TRUE(provenanceLines(provenance, 0)[1].starts_with("WARNING: "));
}

// The numbers of plain tables go from the store's rows straight into the file; every other
// table's are read cell by cell. Both must give the same texts: over the fuzz seeds (odd
// fields, early ends) and varied plain doses (carries, ties, every exponent), under both
// separators, with all rows and periods chosen and with a few.
TEST(CsvExport, PlainTablesGiveTheNumbersOfTheCellByCellReading) {
    std::vector<std::string> texts;
    for (const auto& entry : std::filesystem::directory_iterator(FETALDOSE_NUCLIDE_SEEDS))
        texts.push_back(readBytes(entry.path().string()));
    texts.push_back(testing::DataFileBuilder({4, 3, 3}, {4, 3, 3})
                        .lines(testing::DataFileBuilder::variedLine)
                        .build());
    SelectionSnapshot some = testing::everythingChosen({"F"});
    some.allOrgans = some.allPeriods = false;
    some.tissues[16] = some.tissues[2] = true;
    some.periods[4] = some.periods[1] = true;
    ScratchDirectory dir;
    int plainTables = 0;
    for (const std::string& text : texts) {
        for (const SelectionSnapshot& selection : {testing::everythingChosen({"F"}), some}) {
            for (const char separator : {'.', ','}) {
                RunOutcome outcome;
                try {
                    outcome = testing::runFromTexts(selection, {text}, separator);
                } catch (const Fault&) {
                    continue;  // a seed with a fault of its own
                }
                if (!outcome.complete) continue;
                const RunResult& run = *outcome.result;
                const ResultStore& store = run.store();
                writeCsvFile(dir.file("t.csv"), run, provenanceOf(run));
                const std::string csv = readBytes(dir.file("t.csv"));
                // Past the provenance lines ("# ...", quoted when they hold a comma) and the
                // column names.
                std::size_t at = 0;
                while (csv.compare(at, 2, "# ") == 0 || csv.compare(at, 3, "\"# ") == 0)
                    at = csv.find("\r\n", at) + 2;
                at = csv.find("\r\n", at) + 2;
                std::string number;
                for (int t = 1; t <= store.tableCount(); ++t) {
                    for (int r = 1; r <= store.rowCount(); ++r) {
                        const std::size_t end = csv.find("\r\n", at);
                        const std::string line = csv.substr(at, end - at);
                        at = end + 2;
                        if (!store.plainTable(t)) continue;
                        std::string numbers;
                        const auto add = [&](const std::string& cell) {
                            ASSERT_TRUE(pointFormOfDose(cell, separator, number)) << cell;
                            numbers += "," + number;
                        };
                        add(store.inUtero(t, r));
                        for (int n = 1; n <= store.periodCount(); ++n) {
                            add(store.postNatal(t, r, n));
                            add(store.offspring(t, r, n));
                        }
                        ASSERT_TRUE(line.ends_with(numbers)) << line << "\n" << numbers;
                    }
                    plainTables += store.plainTable(t);
                }
                EXPECT_EQ(at, csv.size());
            }
        }
    }
    EXPECT_GE(plainTables, 4 * 814);  // the varied data set ran, and its tables are plain
}

// A data folder with two nuclides, and a complete run over it.
class Export : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(data);
        testing::DataFileBuilder builder({1, 1, 1}, {0, 0, 1});
        writeBytes(data + "A-1.dat", builder.build());
        writeBytes(data + "b-2.dat", builder.build());
        writeBytes(data + "nuclides.txt", "2\r\nA-1\r\n1 d\r\nB-2\r\n2 y\r\n");
        selection.nuclides = {"A-1", "B-2", "A-1"};
        selection.halfLives = {"1 d", "2 y", "1 d"};
        selection.memberOfPublic = selection.allRoutes = selection.allAcutes = true;
        selection.aerosol[9] = true;
        selection.tissues[0] = selection.tissues[16] = true;
        selection.allPeriods = true;
    }
    void runWith(char separator) {
        run = testing::completeRun(selection, data, separator);
        provenance = provenanceOf(*run);
    }
    std::vector<std::string> provenanceOfRun() {
        return provenanceLines(provenance, run->tableCount());
    }

    ScratchDirectory dir;
    std::string data = dir.file("data/");
    SelectionSnapshot selection;
    std::shared_ptr<const RunResult> run;
    Provenance provenance;
};

TEST_F(Export, ProvenanceNamesTheFilesTheRunReadAndItsSelection) {
    runWith(',');
    // Each file once, in the order read, the catalogue first; B-2 found without regard to case.
    ASSERT_EQ(provenance.files.size(), 3u);
    EXPECT_EQ(provenance.files[0].fileName, "nuclides.txt");
    EXPECT_EQ(provenance.files[1].fileName, "A-1.dat");
    EXPECT_EQ(provenance.files[2].fileName, "b-2.dat");
    EXPECT_EQ(provenance.files[2].sha256, sha256Hex(readBytes(data + "b-2.dat")));
    EXPECT_EQ(provenance.dataDirectory, data);
    EXPECT_FALSE(provenance.syntheticData);
    EXPECT_TRUE(std::regex_match(provenance.exportedAt,
                                 std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d)")));

    const std::vector<std::string> lines = provenanceOfRun();
    const auto has = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    EXPECT_TRUE(lines[0].starts_with("fetaldose ")) << lines[0];
    EXPECT_TRUE(has("Tables: 72"));
    EXPECT_TRUE(has("Data folder: " + data));
    EXPECT_TRUE(has("SHA-256 of nuclides.txt: " + sha256Hex(readBytes(data + "nuclides.txt"))));
    EXPECT_TRUE(has("Nuclides: A-1 (half-life 1 d); B-2 (half-life 2 y); A-1 (half-life 1 d)"));
    EXPECT_TRUE(has("Exposure groups: Member of the public"));
    EXPECT_TRUE(has("Intake routes: Ingestion; Inhalation - particulates; Inhalation - vapours"));
    EXPECT_TRUE(has("Aerosol sizes: 10.0 microns AMAD"));
    EXPECT_TRUE(has("Tissues: Bladder; Effective dose"));
    EXPECT_TRUE(has("Integration periods: 1y; 5y; 10y; 20y; 70y"));
    EXPECT_TRUE(has("Decimal separator of the run: comma (the values here use the full stop)"));
    for (const auto& line : lines) EXPECT_EQ(line.find(','), std::string::npos) << line;

    // The generated sample set's marker brings the warning.
    writeBytes(data + kSyntheticDataMarker, "synthetic\r\n");
    runWith(',');
    EXPECT_TRUE(provenance.syntheticData);
    const std::vector<std::string> marked = provenanceOfRun();
    EXPECT_NE(marked[1].find("synthetic"), std::string::npos) << marked[1];
    ASSERT_EQ(marked.size(), lines.size() + 1);
    EXPECT_EQ(std::vector<std::string>(marked.begin() + 3, marked.end()),
              std::vector<std::string>(lines.begin() + 2, lines.end()));
}

// The digests are those of the bytes the run read, whatever happens to the files after it; a
// file changed or gone since is said to be, in every export, beside the unchanged digest.
TEST_F(Export, FilesChangedOrGoneSinceTheRunAreNamedBesideTheDigestsOfTheBytesRead) {
    runWith('.');
    const std::vector<std::string> before = provenanceOfRun();
    const std::string a1 = readBytes(data + "A-1.dat");
    const std::string b2 = readBytes(data + "b-2.dat");
    {
        std::ofstream append(data + "A-1.dat", std::ios::app | std::ios::binary);
        append << 'x';
    }
    std::filesystem::rename(data + "b-2.dat", dir.file("b-2 moved away"));
    // Touched but holding the same bytes: no note.
    writeBytes(data + "nuclides.txt", readBytes(data + "nuclides.txt"));

    const Provenance later = provenanceOf(*run);
    EXPECT_EQ(later.files[1].sha256, sha256Hex(a1));
    EXPECT_EQ(later.files[2].sha256, sha256Hex(b2));
    const std::vector<std::string> lines = provenanceLines(later, run->tableCount());
    const std::string changed =
        "Note: A-1.dat on disk now differs from the bytes these values "
        "were made from (the digest above is of those bytes)";
    const std::string gone =
        "Note: b-2.dat is gone from the data folder or cannot be read since "
        "these values were made from it (the digest above is of the bytes "
        "read then)";
    ASSERT_EQ(lines.size(), before.size() + 2);
    const auto at = [&lines](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_EQ(at(changed), at("SHA-256 of A-1.dat: " + sha256Hex(a1)) + 1);
    EXPECT_EQ(at(gone), at("SHA-256 of b-2.dat: " + sha256Hex(b2)) + 1);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("Note: "); }),
              2);

    // The CSV and the workbook's provenance sheet carry the same lines.
    const std::string csv = dir.file("t.csv");
    ASSERT_TRUE(exportTables(OutputFormat::Csv, csv, *run, later));
    EXPECT_NE(readBytes(csv).find("# " + changed + "\r\n"), std::string::npos);
    EXPECT_NE(readBytes(csv).find("# " + gone + "\r\n"), std::string::npos);
    const std::string xlsx = dir.file("t.xlsx");
    ASSERT_TRUE(exportTables(OutputFormat::Xlsx, xlsx, *run, later));
    const std::string sheet = dir.file("provenance.csv");
    ASSERT_EQ(std::system(("xlsx2csv -n Provenance '" + xlsx + "' > '" + sheet + "'").c_str()), 0);
    EXPECT_NE(readBytes(sheet).find(changed), std::string::npos);
    EXPECT_NE(readBytes(sheet).find(gone), std::string::npos);
}

TEST_F(Export, FailedExportsLeaveNoFileAndSayWhy) {
    runWith('.');
    ScratchDirectory temporary;  // the workbook's scratch files must go as well
    ::setenv("TMPDIR", temporary.slash().c_str(), 1);
    const std::string folder = dir.file("out");
    std::filesystem::create_directories(folder + "/a directory");
    writeBytes(folder + "/kept.csv", "earlier\r\n");
    ::chmod((folder + "/kept.csv").c_str(), 0444);
    struct Case {
        std::string path;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"/dev/full", "Disk full"},
        {folder + "/no such folder/tables", "Invalid filename"},
        {folder + "/a directory", "File access denied"},
        {folder + "/kept.csv", "File access denied"},  // read-only: never replaced
    };
    for (const OutputFormat format : {OutputFormat::Csv, OutputFormat::Xlsx}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.path);
            try {
                exportTables(format, c.path, *run, provenance);
                ADD_FAILURE() << "no fault";
            } catch (const IoError& error) {
                EXPECT_EQ(std::string(error.what()), c.message);
            }
        }
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"data", "out"}));
    }
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"a directory", "kept.csv"}));
    EXPECT_TRUE(std::filesystem::is_empty(folder + "/a directory"));
    EXPECT_EQ(readBytes(folder + "/kept.csv"), "earlier\r\n");
    EXPECT_EQ(temporary.entries(), std::vector<std::string>{});
    ::unsetenv("TMPDIR");
}

TEST_F(Export, ProgressIsToldAndACancelKeepsTheEarlierFile) {
    runWith('.');
    const std::string path = dir.file("tables");
    for (const OutputFormat format : {OutputFormat::Csv, OutputFormat::Xlsx}) {
        std::vector<std::pair<int, int>> told;
        EXPECT_TRUE(exportTables(format, path, *run, provenance, [&told](int written, int count) {
            told.emplace_back(written, count);
            return true;
        }));
        ASSERT_FALSE(told.empty());
        EXPECT_EQ(told.back(), std::make_pair(72, 72));

        const std::string earlier = readBytes(path);
        EXPECT_FALSE(exportTables(format, path, *run, provenance, [](int, int) { return false; }));
        EXPECT_EQ(readBytes(path), earlier);
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{"data", "tables"}));
    }
}

// The spreadsheet library builds each part of a workbook in a temporary file and misses a write
// that fails there; on a full temporary folder the part went into the workbook cut short and
// the export said it succeeded. Over a tiny file system made fuller step by step, an export
// now either fails with no file under the name, or writes a workbook another reader reads
// whole. Needs root (a file system mounted in a mount namespace of the test's own).
TEST_F(Export, AFullTemporaryFolderNeverGivesADamagedWorkbook) {
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "cannot mount a small file system here (needs root): not tested";
    runWith('.');
    ScratchDirectory small;
    const std::string target = dir.file("tables.xlsx");
    int incomplete = 0;  // exports refused because a part came out cut short
    int sizeKiB = 8;
    for (; sizeKiB <= 4096; sizeKiB += 4) {
        const std::string options = "size=" + std::to_string(sizeKiB) + "k";
        if (sizeKiB > 8) ::umount(small.slash().c_str());
        ASSERT_EQ(::mount("tmpfs", small.slash().c_str(), "tmpfs", 0, options.c_str()), 0)
            << std::strerror(errno);
        ::setenv("TMPDIR", small.slash().c_str(), 1);
        try {
            exportTables(OutputFormat::Xlsx, target, *run, provenance);
            ::unsetenv("TMPDIR");
            break;
        } catch (const Fault& fault) {
            ::unsetenv("TMPDIR");
            SCOPED_TRACE(std::to_string(sizeKiB) + " KiB: " + fault.what());
            EXPECT_FALSE(std::filesystem::exists(target));
            EXPECT_TRUE(std::filesystem::is_empty(small.slash()));
            if (std::string(fault.what()).find("incomplete") != std::string::npos) ++incomplete;
        }
    }
    ::umount(small.slash().c_str());
    ASSERT_TRUE(std::filesystem::exists(target)) << "no export succeeded up to 4 MiB";
    // Read by xlsx2csv: the header row and one row per table and tissue.
    const std::string rows = dir.file("rows.csv");
    ASSERT_EQ(
        std::system(("xlsx2csv -n 'Dose coefficients' '" + target + "' > '" + rows + "'").c_str()),
        0);
    const std::string text = readBytes(rows);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + run->tableCount() * 2);
    EXPECT_GT(incomplete, 0) << "no size cut a part short: the check was never needed here";
}

// A workbook whose rows pass a sheet's goes on in further sheets, each with the header row and
// whole tables; read one after the other they are the one sheet's rows.
TEST(SpreadsheetLimit, RowsBeyondASheetGoOnInFurtherSheetsOfWholeTables) {
    ScratchDirectory dir;
    const testing::SectionCounts counts{2, 1, 1};
    writeBytes(dir.file("A-1.dat"), testing::DataFileBuilder(counts, counts).build());
    SelectionSnapshot selection;
    selection.nuclides = {"A-1"};
    selection.halfLives = {"1 d"};
    selection.memberOfPublic = selection.ingestion = selection.vapours = true;
    selection.acuteScenarios[0] = selection.acuteScenarios[1] = true;
    selection.tissues[0] = selection.tissues[2] = true;  // 3 rows: "Brain" is two
    selection.periods[0] = true;
    const auto run = testing::completeRun(selection, dir.slash());
    ASSERT_EQ(run->tableCount(), 6);
    const Provenance provenance = provenanceOf(*run);
    const auto sheetCsv = [&](const std::string& xlsx, const std::string& sheet) {
        const std::string out = dir.file("sheet.csv");
        EXPECT_EQ(
            std::system(("xlsx2csv -n '" + sheet + "' '" + xlsx + "' > '" + out + "'").c_str()), 0);
        return readBytes(out);
    };

    const std::string whole = dir.file("whole.xlsx");
    ASSERT_TRUE(writeXlsxFile(whole, *run, provenance));
    const std::string wholeRows = sheetCsv(whole, "Dose coefficients");
    const std::string header = wholeRows.substr(0, wholeRows.find('\n') + 1);
    EXPECT_EQ(sheetCsv(whole, "Provenance").find("Sheets of dose coefficients"), std::string::npos);

    // 8 rows a sheet: the header and two tables of three rows (a third would be cut).
    const std::string split = dir.file("split.xlsx");
    ASSERT_TRUE(writeXlsxFile(split, *run, provenance, {}, 8));
    std::string joined = header;
    for (const std::string name :
         {"Dose coefficients", "Dose coefficients 2", "Dose coefficients 3"}) {
        const std::string rows = sheetCsv(split, name);
        ASSERT_EQ(std::count(rows.begin(), rows.end(), '\n'), 7) << name;
        EXPECT_EQ(rows.substr(0, header.size()), header) << name;
        joined += rows.substr(header.size());
    }
    EXPECT_EQ(joined, wholeRows);
    EXPECT_NE(sheetCsv(split, "Provenance")
                  .find("Sheets of dose coefficients: 3 (Dose coefficients; Dose coefficients 2; "
                        "Dose coefficients 3), each with the header row; a table is never split "
                        "between two"),
              std::string::npos);
}

}  // namespace
}  // namespace fetaldose
