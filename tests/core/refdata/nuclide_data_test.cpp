// Reading a nuclide data file into NuclideData.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "scratch_directory.h"
#include "core/refdata/nuclide_data.h"
#include "core/textio/faults.h"

namespace fetaldose {
namespace {

std::string Line(const std::string& text) {
    return text + "\r\n";
}

// A record whose nine lines name where they belong, e.g. "P s3 t1 a10 detail".
std::string Record(const std::string& tag) {
    std::string text;
    for (const char* part : {"tissue", "detail", "spare", "utero", "p1", "p2", "p3", "p4", "p5"})
        text += Line(tag + " " + part);
    return text;
}

// A group section in the file layout, every text naming its place ("P" public, "W" workers).
std::string Section(const std::string& group, int vapours, int types, int ingestions) {
    std::string text = Line(std::to_string(vapours)) + Line(std::to_string(types)) +
                       Line(std::to_string(ingestions));
    for (int k = 1; k <= vapours; ++k) text += Line(group + " route " + std::to_string(k));
    for (int k = 1; k <= types; ++k)
        text +=
            Line(group + " type " + std::to_string(k)) + Line(group + " f1 " + std::to_string(k));
    for (int k = 1; k <= ingestions; ++k) text += Line(group + " ingestion " + std::to_string(k));
    for (int s = 1; s <= kScenarioCount; ++s) {
        const std::string scenario = group + " s" + std::to_string(s);
        text += Line(scenario + " heading");
        for (int k = 1; k <= vapours; ++k) text += Record(scenario + " v" + std::to_string(k));
        for (int k = 1; k <= types; ++k)
            for (int a = 1; a <= kAerosolSizeCount; ++a)
                text += Record(scenario + " t" + std::to_string(k) + " a" + std::to_string(a));
        for (int k = 1; k <= ingestions; ++k) text += Record(scenario + " i" + std::to_string(k));
    }
    return text;
}

class NuclideDataTest : public ::testing::Test {
  protected:
    void Read(const std::string& bytes) {
        bytes_ = bytes;
        TextReader reader(bytes_);
        ReadNuclideData(reader, *data);
        atEnd = reader.AtEnd();
    }
    const GroupSection& Public() const { return data->Groups[0]; }
    const GroupSection& Workers() const { return data->Groups[1]; }

    std::unique_ptr<NuclideData> data = std::make_unique<NuclideData>();
    bool atEnd = false;

  private:
    std::string bytes_;
};

TEST_F(NuclideDataTest, ReadsBothSectionsInFileOrder) {
    Read(Section("P", 4, 1, 2) + Section("W", 0, 3, 1));
    EXPECT_TRUE(atEnd);

    EXPECT_EQ(Public().VapourCount, 4);
    EXPECT_EQ(Public().TypeCount, 1);
    EXPECT_EQ(Public().IngestionCount, 2);
    EXPECT_EQ(Public().VapourRoutes[3], "P route 4");
    EXPECT_EQ(Public().ParticulateTypes[0].Type, "P type 1");
    EXPECT_EQ(Public().ParticulateTypes[0].F1, "P f1 1");
    EXPECT_EQ(Public().IngestionF1[1], "P ingestion 2");
    EXPECT_EQ(Public().ScenarioHeadings[10], "P s11 heading");
    const DoseRecord& vapour = Public().VapourRecords[10][3];
    EXPECT_EQ(vapour.SummaryTissue, "P s11 v4 tissue");
    EXPECT_EQ(vapour.SummaryDetail, "P s11 v4 detail");
    EXPECT_EQ(vapour.SpareLine, "P s11 v4 spare");
    EXPECT_EQ(vapour.InUteroLine, "P s11 v4 utero");
    EXPECT_EQ(vapour.PostNatalLines[0], "P s11 v4 p1");
    EXPECT_EQ(vapour.PostNatalLines[4], "P s11 v4 p5");
    EXPECT_EQ(Public().ParticulateRecords[0][0][9].InUteroLine, "P s1 t1 a10 utero");
    EXPECT_EQ(Public().IngestionRecords[5][1].SummaryTissue, "P s6 i2 tissue");

    EXPECT_EQ(Workers().VapourCount, 0);
    EXPECT_EQ(Workers().TypeCount, 3);
    EXPECT_EQ(Workers().ParticulateTypes[2].F1, "W f1 3");
    EXPECT_EQ(Workers().ParticulateRecords[10][2][9].PostNatalLines[4], "W s11 t3 a10 p5");
    EXPECT_EQ(Workers().IngestionRecords[0][0].SummaryTissue, "W s1 i1 tissue");
    // Entries beyond the counts are not read.
    EXPECT_EQ(Workers().VapourRoutes[0], "");
    EXPECT_EQ(Workers().VapourRecords[0][0].SummaryTissue, "");
}

TEST_F(NuclideDataTest, EmptySectionsAndCountsAtOrBelowZeroReadNoEntries) {
    Read(Section("P", 0, 0, 0) + Line("-1") + Line("  2  types follow") + Line("-3") +
         Section("W", 0, 2, 0).substr(9));
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(Public().ScenarioHeadings[0], "P s1 heading");
    EXPECT_EQ(Public().ScenarioHeadings[10], "P s11 heading");
    EXPECT_EQ(Workers().VapourCount, -1);
    EXPECT_EQ(Workers().TypeCount, 2);
    EXPECT_EQ(Workers().IngestionCount, -3);
    EXPECT_EQ(Workers().ParticulateTypes[1].Type, "W type 2");
    EXPECT_EQ(Workers().ParticulateRecords[10][1][9].PostNatalLines[4], "W s11 t2 a10 p5");
}

TEST_F(NuclideDataTest, CountAboveItsCapacityFailsAtTheFirstEntryBeyondIt) {
    auto failureAt = [this](const std::string& bytes) {
        try {
            Read(bytes);
        } catch (const RangeError& error) {
            EXPECT_STREQ(error.what(), "Range check error");
            return true;
        }
        return false;
    };
    EXPECT_TRUE(failureAt(Section("P", 5, 0, 0)));
    EXPECT_EQ(Public().VapourRoutes[3], "P route 4");
    EXPECT_TRUE(failureAt(Section("P", 0, 4, 0)));
    EXPECT_EQ(Public().ParticulateTypes[2].F1, "P f1 3");
    EXPECT_TRUE(failureAt(Section("P", 0, 0, 4)));
    EXPECT_EQ(Public().IngestionF1[2], "P ingestion 3");
    EXPECT_TRUE(failureAt(Section("P", 4, 3, 3) + Section("W", 0, 0, 4)));
    EXPECT_EQ(Workers().IngestionF1[2], "W ingestion 3");
    EXPECT_FALSE(failureAt(Section("P", 4, 3, 3) + Section("W", 4, 3, 3)));

    try {
        Read(Line("3 vapours") + Line("x"));
        ADD_FAILURE() << "no error";
    } catch (const IoError& error) {
        EXPECT_STREQ(error.what(), "Invalid numeric input");
    }
}

TEST_F(NuclideDataTest, TextLinesAreKeptWhole) {
    std::string bytes = Section("P", 1, 0, 0) + Section("W", 0, 0, 0);
    const std::string marker = "P s1 v1 tissue\r\n";
    bytes.replace(bytes.find(marker), marker.size(), "ltzero \r\n");
    const std::string route = "P route 1\r\n";
    bytes.replace(bytes.find(route), route.size(), "  vapour,\tform 1  \r\n");
    Read(bytes);
    EXPECT_EQ(Public().VapourRecords[0][0].SummaryTissue, "ltzero ");
    EXPECT_EQ(Public().VapourRoutes[0], "  vapour,\tform 1  ");
}

TEST_F(NuclideDataTest, EarlyEndGivesZeroCountsAndEmptyTextsOverWhatWasThere) {
    const std::string full = Section("P", 2, 1, 1) + Section("W", 1, 1, 1);
    Read(full);
    // Cut in the middle of scenario 3 of the public section.
    Read(full.substr(0, full.find("P s3 t1 a4 utero")));
    EXPECT_TRUE(atEnd);
    EXPECT_EQ(Public().ParticulateRecords[2][0][2].PostNatalLines[4], "P s3 t1 a3 p5");
    EXPECT_EQ(Public().ParticulateRecords[2][0][3].SpareLine, "P s3 t1 a4 spare");
    EXPECT_EQ(Public().ParticulateRecords[2][0][3].InUteroLine, "");
    EXPECT_EQ(Public().IngestionRecords[10][0].SummaryTissue, "");
    EXPECT_EQ(Workers().VapourCount, 0);
    EXPECT_EQ(Workers().TypeCount, 0);
    EXPECT_EQ(Workers().IngestionCount, 0);

    // LF-only line ends: the first count is read, the rest of the file is its line.
    std::string lfOnly = Section("P", 2, 1, 1);
    std::erase(lfOnly, '\r');
    Read(lfOnly);
    EXPECT_EQ(Public().VapourCount, 2);
    EXPECT_EQ(Public().TypeCount, 0);
    EXPECT_EQ(Public().IngestionCount, 0);
    EXPECT_EQ(Public().VapourRoutes[1], "");
    EXPECT_EQ(Public().VapourRecords[10][1].PostNatalLines[4], "");
}

TEST_F(NuclideDataTest, TextsAreViewsOfTheFileReadWhole) {
    testing::ScratchDirectory dir;
    const std::string path = dir.File("Pu-239.dat");
    testing::WriteBytes(path, Section("P", 4, 3, 3) + Section("W", 4, 3, 3));
    TextReader whole = TextReader::OpenWhole(path);
    ReadNuclideData(whole, *data);
    const std::string_view line = Workers().ParticulateRecords[10][2][9].PostNatalLines[4];
    EXPECT_EQ(line, "W s11 t3 a10 p5");
    // Nothing was copied: the text lies in the bytes the reader shares.
    const char* bytes = whole.WholeBytes().get();
    EXPECT_TRUE(line.data() >= bytes && line.data() + line.size() <= bytes + whole.WholeSize());

    // A file read bit by bit cannot be viewed after the fact, so it is refused outright.
    TextReader streaming = TextReader::Open(path);
    EXPECT_THROW(ReadNuclideData(streaming, *data), std::logic_error);
}

TEST(DoseRecordField, IsTheSevenCharactersOfItsSlot) {
    std::string line;
    for (int i = 1; i <= kTissueRowCount; ++i) {
        line += (i < 10 ? "1.0E-0" : "2.0E-1") + std::to_string(i % 10);
        line += '|';
    }
    line += "ignored";
    EXPECT_EQ(DoseRecord::Field(line, 1), "1.0E-01");
    EXPECT_EQ(DoseRecord::Field(line, 9), "1.0E-09");
    EXPECT_EQ(DoseRecord::Field(line, 18), "2.0E-18");
    EXPECT_EQ(DoseRecord::Field(line, 0), "");
    EXPECT_EQ(DoseRecord::Field(line, 19), "");

    const std::string shortLine = "3.4E-07 5.6E";
    EXPECT_EQ(DoseRecord::Field(shortLine, 1), "3.4E-07");
    EXPECT_EQ(DoseRecord::Field(shortLine, 2), "5.6E");
    EXPECT_EQ(DoseRecord::Field(shortLine, 3), "");
    EXPECT_EQ(DoseRecord::Field("", 1), "");
    EXPECT_EQ(DoseRecord::Field("1234567", 2), "");
}

}  // namespace
}  // namespace fetaldose
