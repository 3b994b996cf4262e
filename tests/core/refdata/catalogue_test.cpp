// Loading nuclides.txt at start-up, with the first-run pass that makes data files read-only.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <filesystem>
#include <string>
#include <vector>

#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

using testing::permissionBits;
using testing::ScratchDirectory;
using testing::writeBytes;

// The real file attributes, with every change noted in the same log as the messages so that
// their order can be checked.
class LoggingAttributes final : public FileAttributes {
  public:
    explicit LoggingAttributes(std::vector<std::string>& log) : log_(log) {}
    bool isExactlyReadOnly(const std::string& path) override {
        return systemFileAttributes().isExactlyReadOnly(path);
    }
    void makeExactlyReadOnly(const std::string& path) override {
        log_.push_back("read-only " + std::filesystem::path(path).filename().string());
        systemFileAttributes().makeExactlyReadOnly(path);
    }

  private:
    std::vector<std::string>& log_;
};

class CatalogueTest : public ::testing::Test {
  protected:
    CatalogueLoad loadFromFolder() {
        log.clear();
        LoggingAttributes attributes(log);
        return loadCatalogue(dir.slash(), attributes,
                             [this](const std::string& text) { log.push_back(text); });
    }
    void writeCatalogue(std::string_view bytes) { writeBytes(dir.file("nuclides.txt"), bytes); }
    void writeDataFile(const std::string& fileName, mode_t mode) {
        writeBytes(dir.file(fileName), "0\r\n");
        ASSERT_EQ(::chmod(dir.file(fileName).c_str(), mode), 0);
    }

    ScratchDirectory dir;
    std::vector<std::string> log;
};

std::vector<std::string> names(const CatalogueLoad& load) {
    std::vector<std::string> names;
    for (const auto& entry : load.entries) names.push_back(entry.name + "|" + entry.halfLife);
    return names;
}

TEST_F(CatalogueTest, MissingCatalogueIsReportedAndLeavesItEmpty) {
    CatalogueLoad load = loadFromFolder();
    EXPECT_EQ(log, std::vector<std::string>{kMissingCatalogueMessage});
    EXPECT_TRUE(load.entries.empty());
    EXPECT_FALSE(load.fault);

    // A directory of that name is no catalogue either.
    std::filesystem::create_directory(dir.file("nuclides.txt"));
    load = loadFromFolder();
    EXPECT_EQ(log, std::vector<std::string>{kMissingCatalogueMessage});
    EXPECT_TRUE(load.entries.empty());
    EXPECT_FALSE(load.fault);
}

TEST_F(CatalogueTest, FirstRunAsksFirstThenMakesEveryDataFileReadOnlyOnce) {
    writeCatalogue("3\r\nPu-239\r\n24110 y\r\nH-3\r\n12.32 y\r\nCs-137\r\n30.08 y\r\n");
    writeDataFile("Pu-239.dat", 0644);
    writeDataFile("Cs-137.dat", 0755);  // H-3 has no data file

    CatalogueLoad load = loadFromFolder();
    EXPECT_EQ(names(load),
              (std::vector<std::string>{"Pu-239|24110 y", "H-3|12.32 y", "Cs-137|30.08 y"}));
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(log, (std::vector<std::string>{kAttributePassMessage, "read-only Pu-239.dat",
                                             "read-only Cs-137.dat"}));
    EXPECT_EQ(permissionBits(dir.file("Pu-239.dat")), 0444u);
    EXPECT_EQ(permissionBits(dir.file("Cs-137.dat")), 0444u);

    // Once the first data file is read-only the pass is not needed again, and a later data
    // file that has lost its read-only state is left as it is.
    ASSERT_EQ(::chmod(dir.file("Cs-137.dat").c_str(), 0644), 0);
    load = loadFromFolder();
    EXPECT_EQ(load.entries.size(), 3u);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(permissionBits(dir.file("Cs-137.dat")), 0644u);
}

TEST_F(CatalogueTest, PassRunsWheneverTheFirstDataFileIsNotExactlyReadOnly) {
    writeCatalogue("2\r\nI-131\r\n8.02 d\r\nSr-90\r\n28.79 y\r\n");
    writeDataFile("Sr-90.dat", 0644);
    // No first data file: the pass and its message come on every start.
    for (int start = 0; start < 2; ++start) {
        loadFromFolder();
        EXPECT_EQ(log, (std::vector<std::string>{kAttributePassMessage, "read-only Sr-90.dat"}));
    }
    // Read-only but with another bit set is not exactly read-only.
    writeDataFile("I-131.dat", 01444);
    loadFromFolder();
    EXPECT_EQ(log.front(), kAttributePassMessage);
    EXPECT_EQ(permissionBits(dir.file("I-131.dat")), 0444u);
}

TEST_F(CatalogueTest, FirstPairIsReadWhateverTheCountSays) {
    for (const char* count : {"0", "1", "-5"}) {
        SCOPED_TRACE(count);
        writeCatalogue(std::string(count) + "\r\nAm-241\r\n432.2 y\r\nU-238\r\n4.468E9 y\r\n");
        EXPECT_EQ(names(loadFromFolder()), std::vector<std::string>{"Am-241|432.2 y"});
    }
    // An empty file: one empty row, and the data file ".dat" that cannot exist.
    writeCatalogue("");
    CatalogueLoad load = loadFromFolder();
    EXPECT_EQ(names(load), std::vector<std::string>{"|"});
    EXPECT_FALSE(load.fault);
    EXPECT_EQ(log, std::vector<std::string>{kAttributePassMessage});
}

TEST_F(CatalogueTest, TextsAreTakenWholeAndMissingPairsComeOutEmpty) {
    writeCatalogue("  4 nuclides\r\n Pu-239 \r\n24110 y\t\rCo-60\r\n5.27\ny\r\n");
    CatalogueLoad load = loadFromFolder();
    EXPECT_EQ(names(load),
              (std::vector<std::string>{" Pu-239 |24110 y\t", "Co-60|5.27\ny", "|", "|"}));
    EXPECT_FALSE(load.fault);

    // With LF-only line ends the count is read, and the rest of the file is its line.
    writeCatalogue("2\nPu-239\n24110 y\nH-3\n12.32 y\n");
    EXPECT_EQ(names(loadFromFolder()), (std::vector<std::string>{"|", "|"}));
}

TEST_F(CatalogueTest, FaultsStopTheLoadKeepingWhatWasRead) {
    std::string catalogue = "901\r\n";
    for (int i = 1; i <= 901; ++i)
        catalogue += "N-" + std::to_string(i) + "\r\n" + std::to_string(i) + " d\r\n";
    writeCatalogue(catalogue);
    CatalogueLoad load = loadFromFolder();
    ASSERT_EQ(load.entries.size(), 900u);
    EXPECT_EQ(load.entries.back().name, "N-900");
    EXPECT_EQ(load.fault, "Range check error");

    // A count far beyond the file still ends at the capacity, with no more than 900 entries.
    writeCatalogue("2147483647\r\nA\r\n1 s\r\n");
    load = loadFromFolder();
    EXPECT_EQ(load.entries.size(), 900u);
    EXPECT_EQ(load.fault, "Range check error");

    writeCatalogue("900\r\n");
    load = loadFromFolder();
    EXPECT_EQ(load.entries.size(), 900u);
    EXPECT_FALSE(load.fault);

    // A count that is no number: nothing is loaded and the pass is not reached.
    writeCatalogue("many\r\nA\r\n1 s\r\n");
    load = loadFromFolder();
    EXPECT_TRUE(load.entries.empty());
    EXPECT_EQ(load.fault, "Invalid numeric input");
    EXPECT_TRUE(log.empty());

    // A catalogue that is a file of the running system: refused unread.
    std::filesystem::remove(dir.file("nuclides.txt"));
    ASSERT_EQ(::symlink("/proc/self/mem", dir.file("nuclides.txt").c_str()), 0);
    load = loadFromFolder();
    EXPECT_TRUE(load.entries.empty());
    EXPECT_EQ(load.fault, "File access denied");

    // A catalogue far larger than any valid one: refused before it is read, by name.
    std::filesystem::remove(dir.file("nuclides.txt"));
    writeCatalogue("1\r\nA\r\n1 s\r\n");
    std::filesystem::resize_file(dir.file("nuclides.txt"), kCatalogueCeiling.bytes + 1);
    load = loadFromFolder();
    EXPECT_TRUE(load.entries.empty());
    EXPECT_EQ(load.fault->rfind(dir.file("nuclides.txt") + ": too large for a catalogue", 0), 0u);
}

// The whole catalogue, past the window's capacity, and the data set no save may replace: the
// catalogue and the data files it names that exist, found without regard to case.
TEST_F(CatalogueTest, ToolsReadEveryEntryAndTheDataSetFiles) {
    std::string bytes = "1002\r\n";
    for (int i = 1; i <= 1001; ++i) bytes += "N" + std::to_string(i) + "\r\n" + "1 d\r\n";
    writeCatalogue(bytes);
    writeDataFile("N1.dat", 0644);
    writeDataFile("n1000.DAT", 0644);
    std::vector<std::string> read;
    forEachCatalogueEntry(dir.file("nuclides.txt"), [&](const CatalogueEntry& e) {
        read.push_back(e.name + "|" + e.halfLife);
    });
    // Entry 1002 is past the end of the file, beyond the capacity: the list ends there.
    ASSERT_EQ(read.size(), 1001u);
    EXPECT_EQ(read.back(), "N1001|1 d");
    EXPECT_EQ(loadFromFolder().fault, "Range check error");
    EXPECT_EQ(dataSetFiles(dir.slash()),
              (std::vector<std::string>{dir.file("nuclides.txt"), dir.file("N1.dat"),
                                        dir.file("n1000.DAT")}));

    // Within the capacity, entries past the end are read as empty ones, as the window loads
    // them; a count far above the lines there does not keep the reader going.
    writeCatalogue("2147483647\r\nA\r\n1 d\r\n");
    int count = 0;
    forEachCatalogueEntry(dir.file("nuclides.txt"), [&](const CatalogueEntry&) { ++count; });
    EXPECT_EQ(count, kCatalogueCapacity);
}

TEST_F(CatalogueTest, FileNamesMatchWithoutRegardToCase) {
    writeBytes(dir.file("NUCLIDES.TXT"), "1\r\nPu-239\r\n24110 y\r\n");
    writeDataFile("PU-239.DAT", 0644);
    CatalogueLoad load = loadFromFolder();
    EXPECT_EQ(names(load), std::vector<std::string>{"Pu-239|24110 y"});
    EXPECT_EQ(log, (std::vector<std::string>{kAttributePassMessage, "read-only PU-239.DAT"}));
    EXPECT_EQ(findDataFile(dir.slash(), "pu-239"), dir.file("PU-239.DAT"));

    // The exact spelling wins where both exist.
    writeDataFile("Pu-239.dat", 0644);
    EXPECT_EQ(findDataFile(dir.slash(), "Pu-239"), dir.file("Pu-239.dat"));
    EXPECT_FALSE(findDataFile(dir.slash(), "Pu-23"));
    EXPECT_FALSE(findDataFile(dir.slash(), std::string("Pu-239\0x", 8)));
    std::filesystem::create_directory(dir.file("Np-237.dat"));
    EXPECT_FALSE(dataFileExists(dir.slash(), "Np-237"));

    // The pass finds the later entries' files the same way: by case, not as a directory,
    // and exactly spelt first.
    writeBytes(dir.file("NUCLIDES.TXT"),
               "4\r\nX-1\r\n1 d\r\nam-241\r\n432 y\r\nNp-237\r\n2 My\r\nPu-239\r\n24110 y\r\n");
    writeDataFile("AM-241.DAT", 0644);
    log.clear();
    load = loadFromFolder();
    EXPECT_EQ(load.entries.size(), 4u);
    EXPECT_EQ(log, (std::vector<std::string>{kAttributePassMessage, "read-only AM-241.DAT",
                                             "read-only Pu-239.dat"}));
}

TEST_F(CatalogueTest, PassChangesNothingOutsideTheDataDirectory) {
    ScratchDirectory outside;
    writeBytes(outside.file("victim.dat"), "0\r\n");
    writeBytes(outside.file("target.dat"), "0\r\n");
    const std::string outsideName =
        std::filesystem::path(outside.file("")).parent_path().filename().string();
    writeDataFile("Pu-239.dat", 0644);
    ASSERT_EQ(::symlink(outside.file("target.dat").c_str(), dir.file("Link.dat").c_str()), 0);
    writeCatalogue("4\r\nLink\r\n1 s\r\n../" + outsideName + "/victim\r\n2 s\r\n" +
                   outside.file("victim") + "\r\n3 s\r\nPu-239\r\n4 s\r\n");

    const CatalogueLoad load = loadFromFolder();
    EXPECT_EQ(load.entries.size(), 4u);
    EXPECT_EQ(permissionBits(dir.file("Pu-239.dat")), 0444u);
    EXPECT_EQ(permissionBits(outside.file("victim.dat")), 0644u);
    EXPECT_EQ(permissionBits(outside.file("target.dat")), 0644u);

    // Names that would reach out of the data directory name no data file at all.
    writeBytes(dir.file("..dat"), "0\r\n");
    for (const std::string& name : {"../" + outsideName + "/victim", outside.file("victim"),
                                    std::string("."), std::string(".."), std::string("/")}) {
        EXPECT_FALSE(findDataFile(dir.slash(), name)) << name;
        EXPECT_FALSE(DataFileFinder(dir.slash()).find(name)) << name;
    }
}

TEST(DataDirectory, IsTheWorkingDirectoryFollowedByData) {
    EXPECT_EQ(dataDirectoryFor("/"), "/data/");
    EXPECT_EQ(dataDirectoryFor("/media/cdrom"), "/media/cdrom/data/");
    EXPECT_EQ(dataDirectoryFor("/media/cdrom/"), "/media/cdrom/data/");
}

}  // namespace
}  // namespace fetaldose
