// Reading a nuclide data file into NuclideData.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/refdata/nuclide_data.h"
#include "core/textio/faults.h"
#include "scratch_directory.h"

namespace fetaldose {
namespace {

std::string line(const std::string& text) {
    return text + "\r\n";
}

// A record whose nine lines name where they belong, e.g. "P s3 t1 a10 detail".
std::string record(const std::string& tag) {
    std::string text;
    for (const char* part : {"tissue", "detail", "spare", "utero", "p1", "p2", "p3", "p4", "p5"})
        text += line(tag + " " + part);
    return text;
}

// A group section in the file layout, every text naming its place ("P" public, "W" workers).
std::string sectionText(const std::string& group, int vapours, int types, int ingestions) {
    std::string text = line(std::to_string(vapours)) + line(std::to_string(types)) +
                       line(std::to_string(ingestions));
    for (int k = 1; k <= vapours; ++k) text += line(group + " route " + std::to_string(k));
    for (int k = 1; k <= types; ++k)
        text +=
            line(group + " type " + std::to_string(k)) + line(group + " f1 " + std::to_string(k));
    for (int k = 1; k <= ingestions; ++k) text += line(group + " ingestion " + std::to_string(k));
    for (int s = 1; s <= kScenarioCount; ++s) {
        const std::string scenario = group + " s" + std::to_string(s);
        text += line(scenario + " heading");
        for (int k = 1; k <= vapours; ++k) text += record(scenario + " v" + std::to_string(k));
        for (int k = 1; k <= types; ++k)
            for (int a = 1; a <= kAerosolSizeCount; ++a)
                text += record(scenario + " t" + std::to_string(k) + " a" + std::to_string(a));
        for (int k = 1; k <= ingestions; ++k) text += record(scenario + " i" + std::to_string(k));
    }
    return text;
}

class NuclideDataTest : public ::testing::Test {
  protected:
    void read(const std::string& bytes) {
        bytes_ = bytes;
        TextReader reader(bytes_);
        readNuclideData(reader, *data);
        atEnd = reader.atEnd();
    }
    const GroupSection& publicSection() const { return data->groups[0]; }
    const GroupSection& workers() const { return data->groups[1]; }

    std::unique_ptr<NuclideData> data = std::make_unique<NuclideData>();
    bool atEnd = false;

  private:
    std::string bytes_;
};

TEST_F(NuclideDataTest, ReadsBothSectionsInFileOrder) {
    read(sectionText("P", 4, 1, 2) + sectionText("W", 0, 3, 1));
    EXPECT_TRUE(atEnd);

    EXPECT_EQ(publicSection().vapourCount, 4);
    EXPECT_EQ(publicSection().typeCount, 1);
    EXPECT_EQ(publicSection().ingestionCount, 2);
    EXPECT_EQ(publicSection().vapourRoutes[3], "P route 4");
    EXPECT_EQ(publicSection().particulateTypes[0].type, "P type 1");
    EXPECT_EQ(publicSection().particulateTypes[0].f1, "P f1 1");
    EXPECT_EQ(publicSection().ingestionF1[1], "P ingestion 2");
    EXPECT_EQ(publicSection().scenarioHeadings[10], "P s11 heading");
    const DoseRecord& vapour = publicSection().vapourRecords[10][3];
    EXPECT_EQ(vapour.summaryTissue, "P s11 v4 tissue");
    EXPECT_EQ(vapour.summaryDetail, "P s11 v4 detail");
    EXPECT_EQ(vapour.spareLine, "P s11 v4 spare");
    EXPECT_EQ(vapour.inUteroLine, "P s11 v4 utero");
    EXPECT_EQ(vapour.postNatalLines[0], "P s11 v4 p1");
    EXPECT_EQ(vapour.postNatalLines[4], "P s11 v4 p5");
    EXPECT_EQ(publicSection().particulateRecords[0][0][9].inUteroLine, "P s1 t1 a10 utero");
    EXPECT_EQ(publicSection().ingestionRecords[5][1].summaryTissue, "P s6 i2 tissue");

    EXPECT_EQ(workers().vapourCount, 0);
    EXPECT_EQ(workers().typeCount, 3);
    EXPECT_EQ(workers().particulateTypes[2].f1, "W f1 3");
    EXPECT_EQ(workers().particulateRecords[10][2][9].postNatalLines[4], "W s11 t3 a10 p5");
    EXPECT_EQ(workers().ingestionRecords[0][0].summaryTissue, "W s1 i1 tissue");
    // Entries beyond the counts are not read.
    EXPECT_EQ(workers().vapourRoutes[0], "");
    EXPECT_EQ(workers().vapourRecords[0][0].summaryTissue, "");
}

TEST_F(NuclideDataTest, EmptySectionsAndCountsAtOrBelowZeroReadNoEntries) {
    read(sectionText("P", 0, 0, 0) + line("-1") + line("  2  types follow") + line("-3") +
         sectionText("W", 0, 2, 0).substr(9));
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(publicSection().scenarioHeadings[0], "P s1 heading");
    EXPECT_EQ(publicSection().scenarioHeadings[10], "P s11 heading");
    EXPECT_EQ(workers().vapourCount, -1);
    EXPECT_EQ(workers().typeCount, 2);
    EXPECT_EQ(workers().ingestionCount, -3);
    EXPECT_EQ(workers().particulateTypes[1].type, "W type 2");
    EXPECT_EQ(workers().particulateRecords[10][1][9].postNatalLines[4], "W s11 t2 a10 p5");
}

TEST_F(NuclideDataTest, CountAboveItsCapacityFailsAtTheFirstEntryBeyondIt) {
    auto failureAt = [this](const std::string& bytes) {
        try {
            read(bytes);
        } catch (const RangeError& error) {
            EXPECT_STREQ(error.what(), "Range check error");
            return true;
        }
        return false;
    };
    EXPECT_TRUE(failureAt(sectionText("P", 5, 0, 0)));
    EXPECT_EQ(publicSection().vapourRoutes[3], "P route 4");
    EXPECT_TRUE(failureAt(sectionText("P", 0, 4, 0)));
    EXPECT_EQ(publicSection().particulateTypes[2].f1, "P f1 3");
    EXPECT_TRUE(failureAt(sectionText("P", 0, 0, 4)));
    EXPECT_EQ(publicSection().ingestionF1[2], "P ingestion 3");
    EXPECT_TRUE(failureAt(sectionText("P", 4, 3, 3) + sectionText("W", 0, 0, 4)));
    EXPECT_EQ(workers().ingestionF1[2], "W ingestion 3");
    EXPECT_FALSE(failureAt(sectionText("P", 4, 3, 3) + sectionText("W", 4, 3, 3)));

    try {
        read(line("3 vapours") + line("x"));
        ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Invalid numeric input");
    }
}

TEST_F(NuclideDataTest, TextLinesAreKeptWhole) {
    std::string bytes = sectionText("P", 1, 0, 0) + sectionText("W", 0, 0, 0);
    const std::string marker = "P s1 v1 tissue\r\n";
    bytes.replace(bytes.find(marker), marker.size(), "ltzero \r\n");
    const std::string route = "P route 1\r\n";
    bytes.replace(bytes.find(route), route.size(), "  vapour,\tform 1  \r\n");
    read(bytes);
    EXPECT_EQ(publicSection().vapourRecords[0][0].summaryTissue, "ltzero ");
    EXPECT_EQ(publicSection().vapourRoutes[0], "  vapour,\tform 1  ");
}

TEST_F(NuclideDataTest, EarlyEndGivesZeroCountsAndEmptyTextsOverWhatWasThere) {
    const std::string full = sectionText("P", 2, 1, 1) + sectionText("W", 1, 1, 1);
    read(full);
    // Cut in the middle of scenario 3 of the public section.
    read(full.substr(0, full.find("P s3 t1 a4 utero")));
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(publicSection().particulateRecords[2][0][2].postNatalLines[4], "P s3 t1 a3 p5");
    EXPECT_EQ(publicSection().particulateRecords[2][0][3].spareLine, "P s3 t1 a4 spare");
    EXPECT_EQ(publicSection().particulateRecords[2][0][3].inUteroLine, "");
    EXPECT_EQ(publicSection().ingestionRecords[10][0].summaryTissue, "");
    EXPECT_EQ(workers().vapourCount, 0);
    EXPECT_EQ(workers().typeCount, 0);
    EXPECT_EQ(workers().ingestionCount, 0);

    // LF-only line ends: the first count is read, the rest of the file is its line.
    std::string lfOnly = sectionText("P", 2, 1, 1);
    std::erase(lfOnly, '\r');
    read(lfOnly);
    EXPECT_EQ(publicSection().vapourCount, 2);
    EXPECT_EQ(publicSection().typeCount, 0);
    EXPECT_EQ(publicSection().ingestionCount, 0);
    EXPECT_EQ(publicSection().vapourRoutes[1], "");
    EXPECT_EQ(publicSection().vapourRecords[10][1].postNatalLines[4], "");
}

TEST_F(NuclideDataTest, TextsAreViewsOfTheFileReadWhole) {
    testing::ScratchDirectory dir;
    const std::string path = dir.file("Pu-239.dat");
    testing::writeBytes(path, sectionText("P", 4, 3, 3) + sectionText("W", 4, 3, 3));
    TextReader whole = TextReader::openWhole(path);
    readNuclideData(whole, *data);
    const std::string_view line = workers().particulateRecords[10][2][9].postNatalLines[4];
    EXPECT_EQ(line, "W s11 t3 a10 p5");
    // Nothing was copied: the text lies in the bytes the reader shares.
    const char* bytes = whole.wholeBytes().get();
    EXPECT_TRUE(line.data() >= bytes && line.data() + line.size() <= bytes + whole.wholeSize());

    // A file read bit by bit cannot be viewed after the fact, so it is refused outright.
    TextReader streaming = TextReader::open(path);
    EXPECT_THROW(readNuclideData(streaming, *data), std::logic_error);
}

TEST(DoseRecordField, IsTheSevenCharactersOfItsSlot) {
    std::string line;
    for (int i = 1; i <= kTissueRowCount; ++i) {
        line += (i < 10 ? "1.0E-0" : "2.0E-1") + std::to_string(i % 10);
        line += '|';
    }
    line += "ignored";
    EXPECT_EQ(DoseRecord::field(line, 1), "1.0E-01");
    EXPECT_EQ(DoseRecord::field(line, 9), "1.0E-09");
    EXPECT_EQ(DoseRecord::field(line, 18), "2.0E-18");
    EXPECT_EQ(DoseRecord::field(line, 0), "");
    EXPECT_EQ(DoseRecord::field(line, 19), "");

    const std::string shortLine = "3.4E-07 5.6E";
    EXPECT_EQ(DoseRecord::field(shortLine, 1), "3.4E-07");
    EXPECT_EQ(DoseRecord::field(shortLine, 2), "5.6E");
    EXPECT_EQ(DoseRecord::field(shortLine, 3), "");
    EXPECT_EQ(DoseRecord::field("", 1), "");
    EXPECT_EQ(DoseRecord::field("1234567", 2), "");
}

}  // namespace
}  // namespace fetaldose
