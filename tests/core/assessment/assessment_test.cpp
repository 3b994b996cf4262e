// Assessments worked by hand on data files whose coefficients say where they come from: in
// utero, scenario s gives s x 1E-10 Sv/Bq on odd tissue rows and (12 - s) x 1E-10 on even ones,
// so that the larger of two scenarios changes from row to row; post-natal, period p gives
// p x 1E-11 whatever the scenario.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

#include "core/assessment/assessment.h"
#include "core/assessment/assessment_report.h"
#include "data_file_builder.h"
#include "scratch_directory.h"

namespace fetaldose::assessment {
namespace {

using testing::DataFileBuilder;
using testing::RecordPlace;

std::string coefficientText(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1E", value);
    return text;
}

double inUteroCoefficient(int scenario, int row) {
    return (row % 2 == 1 ? scenario : 12 - scenario) * 1e-10;
}
double postNatalCoefficient(int period) {
    return period * 1e-11;
}

std::string lines(const RecordPlace& place, int line) {
    if (line < 3) return DataFileBuilder::defaultLine(place, line);
    return testing::valueLine([&](int row) {
        return coefficientText(line == 3 ? inUteroCoefficient(place.scenario, row)
                                         : postNatalCoefficient(line - 3));
    });
}

// A data folder: I-131 and Cs-137 with data files, Sr-90 catalogued without one, and Bad-1
// whose data file does not read.
class AssessmentTest : public ::testing::Test {
  protected:
    AssessmentTest() {
        testing::writeBytes(dir_.file("nuclides.txt"),
                            "4\r\nI-131\r\n8.02 d\r\nCs-137\r\n30.08 y\r\nSr-90\r\n28.79 y\r\n"
                            "Bad-1\r\n1 d\r\n");
        // Public: one ingestion entry; workers: one absorption type and one ingestion entry.
        for (const char* name : {"I-131", "Cs-137"})
            testing::writeBytes(dir_.file(std::string(name) + ".dat"),
                                DataFileBuilder({0, 0, 1}, {0, 1, 1}).lines(lines).build());
        testing::writeBytes(dir_.file("Bad-1.dat"), "x\r\n");
    }

    IntakeEntry intake(std::string time, std::string activity = "2", std::string unit = "kBq") {
        IntakeEntry entry;
        entry.nuclide = "I-131";
        entry.group = "Member of the public";
        entry.route = "Ingestion: f1 = 0.111";
        entry.time = std::move(time);
        entry.activity = std::move(activity);
        entry.unit = std::move(unit);
        return entry;
    }

    AssessmentResult assessed(
        const std::vector<IntakeEntry>& intakes,
        const AssessmentSettings& settings = AssessmentSettings::everything()) {
        return assess(intakes, settings, data());
    }

    // Made once the folder holds its files.
    AssessmentData& data() {
        if (!data_) data_ = std::make_unique<AssessmentData>(dir_.slash());
        return *data_;
    }

    testing::ScratchDirectory dir_;
    std::unique_ptr<AssessmentData> data_;
};

TEST_F(AssessmentTest, TabulatedTimeTakesItsScenarioAlone) {
    const AssessmentResult result = assessed({intake("10 weeks after conception")});
    const IntakeAssessment& one = result.intakes[0];
    ASSERT_TRUE(one.assessed()) << one.message();
    EXPECT_EQ(one.basis, Basis::Tabulated);
    EXPECT_EQ(one.scenarios, std::vector<int>{5});
    EXPECT_EQ(one.basisText, "Acute intake (1Bq) 10 weeks after conception");
    EXPECT_EQ(one.becquerels, 2000);
    for (int row = 1; row <= 18; ++row) {
        const auto r = static_cast<std::size_t>(row - 1);
        EXPECT_DOUBLE_EQ(one.doses.inUtero[r], 2000 * inUteroCoefficient(5, row));
        for (int p = 1; p <= 5; ++p) {
            const auto n = static_cast<std::size_t>(p - 1);
            EXPECT_DOUBLE_EQ(one.doses.postNatal[r][n], 2000 * postNatalCoefficient(p));
            EXPECT_DOUBLE_EQ(one.doses.offspring[r][n],
                             2000 * (inUteroCoefficient(5, row) + postNatalCoefficient(p)));
        }
    }
    EXPECT_EQ(result.total.inUtero, one.doses.inUtero);
    // 2000 Bq x 5.0E-10 Sv/Bq = 1.0E-06 Sv; offspring to 70 y adds 2000 x 5.0E-11.
    EXPECT_EQ(doseText(one.doses.inUtero[0], DoseUnit::mSv), "1.0E-03");
    EXPECT_EQ(doseText(one.doses.offspring[0][4], DoseUnit::uSv), "1.1E+00");
    EXPECT_EQ(doseText(one.doses.inUtero[0], DoseUnit::mrem), "1.0E-01");

    // Chronic intakes take their interval's scenario.
    const AssessmentResult chronic = assessed({intake(
        "Constant chronic intake (1Bq total) from 1 year before until conception", "1", "Bq")});
    EXPECT_EQ(chronic.intakes[0].basis, Basis::Chronic);
    EXPECT_DOUBLE_EQ(chronic.intakes[0].doses.inUtero[0], inUteroCoefficient(10, 1));
}

TEST_F(AssessmentTest, UntabulatedTimeTakesTheLargerCellByCellOrTheLineBetween) {
    // 12 weeks lies between 10 weeks (scenario 5) and 15 weeks (scenario 6), 0.4 of the way.
    const std::vector<IntakeEntry> intakes{intake("12 weeks after conception", "1", "Bq")};
    const IntakeAssessment larger = assessed(intakes).intakes[0];
    EXPECT_EQ(larger.basis, Basis::Larger);
    EXPECT_EQ(larger.scenarios, (std::vector<int>{5, 6}));
    EXPECT_EQ(larger.basisText,
              "the larger, cell by cell, of: Acute intake (1Bq) 10 weeks after conception and "
              "Acute intake (1Bq) 15 weeks after conception");
    EXPECT_DOUBLE_EQ(larger.doses.inUtero[0], 6e-10);  // odd rows: scenario 6
    EXPECT_DOUBLE_EQ(larger.doses.inUtero[1], 7e-10);  // even rows: scenario 5
    EXPECT_DOUBLE_EQ(larger.doses.offspring[1][2], 7e-10 + 3e-11);

    AssessmentSettings settings = AssessmentSettings::everything();
    settings.method = Method::Interpolated;
    const IntakeAssessment line = assessed(intakes, settings).intakes[0];
    EXPECT_EQ(line.basis, Basis::Interpolated);
    EXPECT_NE(line.basisText.find("interpolated"), std::string::npos);
    EXPECT_DOUBLE_EQ(line.doses.inUtero[0], 5.4e-10);
    EXPECT_DOUBLE_EQ(line.doses.inUtero[1], 6.6e-10);
    EXPECT_DOUBLE_EQ(line.doses.offspring[0][4], 5.4e-10 + 5e-11);
    // The report says which method it took.
    const AssessmentReport report{intakes, settings, assessed(intakes, settings),
                                  data().provenance(), ""};
    bool saysInterpolated = false;
    for (const std::string& text : reportLeadingLines(report))
        saysInterpolated = saysInterpolated || text.find("(interpolated)") != std::string::npos;
    EXPECT_TRUE(saysInterpolated);
}

TEST_F(AssessmentTest, TimesBeyondTheTablesTakeTheNearestAndSaySo) {
    const AssessmentResult result = assessed({intake("3 years before conception", "1", "Bq"),
                                              intake("36 weeks after conception", "1", "Bq")});
    EXPECT_EQ(result.intakes[0].basis, Basis::NearestEarliest);
    EXPECT_EQ(result.intakes[0].scenarios, std::vector<int>{1});
    EXPECT_NE(result.intakes[0].basisText.find("earlier than the earliest"), std::string::npos);
    EXPECT_DOUBLE_EQ(result.intakes[0].doses.inUtero[0], inUteroCoefficient(1, 1));
    EXPECT_EQ(result.intakes[1].basis, Basis::NearestLatest);
    EXPECT_EQ(result.intakes[1].scenarios, std::vector<int>{8});
    EXPECT_NE(result.intakes[1].basisText.find("later than the latest"), std::string::npos);
}

TEST_F(AssessmentTest, IntakesAddUpAndTheLimitReadsTheEffectiveDoseRowAlone) {
    IntakeEntry worker = intake("35 weeks after conception", "1", "uCi");
    worker.nuclide = "Cs-137";
    worker.group = "Worker";
    worker.route = "Inhalation: Type J, f1 = 0.0012, 1.0 microns AMAD";
    const std::vector<IntakeEntry> intakes{intake("at conception", "1000", "Bq"), worker};
    AssessmentSettings settings = AssessmentSettings::everything();
    settings.external = DoseAmount{0.01, DoseUnit::mSv};
    const AssessmentResult result = assessed(intakes, settings);
    ASSERT_EQ(result.problemCount, 0) << result.intakes[1].message();
    // Row 18, the effective dose, is even: 1000 x 9E-10 + 37000 x 4E-10.
    const double effective = 1000 * 9e-10 + 37000 * 4e-10;
    EXPECT_DOUBLE_EQ(result.total.inUtero[17], effective);
    EXPECT_DOUBLE_EQ(result.total.inUtero[0], 1000 * 3e-10 + 37000 * 8e-10);
    const LimitCheck& check = result.limit;
    ASSERT_TRUE(check.checkable);
    EXPECT_DOUBLE_EQ(check.internal, effective);
    EXPECT_DOUBLE_EQ(check.external, 1e-5);
    EXPECT_EQ(check.limit, 5e-3);
    EXPECT_DOUBLE_EQ(check.fraction, (effective + 1e-5) / 5e-3);
    EXPECT_FALSE(check.exceeds);

    // A limit below the dose is exceeded; a limit of zero cannot be checked against.
    settings.limit = {LimitKind::Custom, 1e-5};
    EXPECT_TRUE(assessed(intakes, settings).limit.exceeds);
    settings.limit = {LimitKind::Custom, 0};
    EXPECT_FALSE(assessed(intakes, settings).limit.checkable);
    // The four limits with their sources.
    EXPECT_EQ(info(LimitKind::Pregnancy).sievert, 5e-3);
    EXPECT_EQ(info(LimitKind::AfterDeclaration).sievert, 5e-4);
    EXPECT_EQ(info(LimitKind::RestOfPregnancy).sievert, 1e-3);
    EXPECT_EQ(info(LimitKind::Monthly).sievert, 5e-4);
    EXPECT_NE(info(LimitKind::Pregnancy).source.find("10 CFR 20.1208"), std::string_view::npos);
    EXPECT_EQ(percentText(0.2434), "24 %");
    EXPECT_EQ(percentText(0.0013), "0.13 %");
    EXPECT_EQ(percentText(1.5), "150 %");
}

TEST_F(AssessmentTest, EachBadEntryIsNamedByItsColumnAndLeftOutOfTheTotals) {
    const auto problemOf = [&](IntakeEntry entry) {
        const AssessmentResult result = assessed({intake("at conception"), entry});
        EXPECT_EQ(result.problemCount, 1);
        EXPECT_FALSE(result.limit.checkable);
        // The good intake alone makes the totals.
        EXPECT_DOUBLE_EQ(result.total.inUtero[0], 2000 * inUteroCoefficient(3, 1));
        return result.intakes[1].message();
    };
    IntakeEntry entry = intake("at conception");
    const auto with = [&](std::string IntakeEntry::*field, std::string value) {
        IntakeEntry changed = entry;
        changed.*field = std::move(value);
        return problemOf(changed);
    };
    EXPECT_EQ(with(&IntakeEntry::nuclide, "Pu-239"),
              "nuclide: \"Pu-239\" is not in the catalogue of the data folder");
    EXPECT_EQ(with(&IntakeEntry::nuclide, "Sr-90"),
              "nuclide: \"Sr-90\" has no data file in the data folder");
    // The run's own message, with the file and line it concerns.
    const std::string unreadable = with(&IntakeEntry::nuclide, "Bad-1");
    EXPECT_TRUE(unreadable.starts_with("nuclide: its data file cannot be used: ")) << unreadable;
    EXPECT_NE(unreadable.find("Bad-1.dat:1: Invalid numeric input"), std::string::npos);
    EXPECT_EQ(with(&IntakeEntry::group, "Workers").find("exposure_group: \"Workers\" is not"), 0u);
    // A route entry of the other group's is not one of this group's.
    EXPECT_EQ(with(&IntakeEntry::route, "Ingestion: f1 = 0.112"),
              "intake_route: \"Ingestion: f1 = 0.112\" is not a route entry the data file holds "
              "for Member of the public");
    EXPECT_NE(with(&IntakeEntry::time, "39 weeks after conception").find("after birth"),
              std::string::npos);
    EXPECT_EQ(with(&IntakeEntry::activity, "-1"),
              "activity: \"-1\" is negative: an activity is 0 or more");
    for (const char* notANumber : {"", "1,5", "abc", "1.5 kBq", "0x10"})
        EXPECT_NE(with(&IntakeEntry::activity, notANumber).find("is not a number"),
                  std::string::npos)
            << notANumber;
    for (const char* notFinite : {"nan", "inf", "-inf"})
        EXPECT_NE(with(&IntakeEntry::activity, notFinite).find("activity: "), std::string::npos);
    EXPECT_NE(with(&IntakeEntry::activity, "1e999").find("beyond the range"), std::string::npos);
    entry.unit = "Ci";
    EXPECT_NE(with(&IntakeEntry::activity, "1e300").find("in becquerels it is beyond"),
              std::string::npos);
    EXPECT_NE(with(&IntakeEntry::unit, "Bequerel").find("unit: \"Bequerel\" is not a unit"),
              std::string::npos);

    // The routes a window offers are the ones the file holds, per group.
    EXPECT_EQ(data().routes("I-131", 1), std::vector<std::string>{"Ingestion: f1 = 0.111"});
    EXPECT_EQ(data().routes("I-131", 2).size(), 11u);  // ten aerosol sizes and ingestion
    EXPECT_TRUE(data().routes("Sr-90", 1).empty());
}

TEST_F(AssessmentTest, ExportsCarryTheIntakesTheRowsTheTotalsAndTheLimit) {
    IntakeEntry second = intake("12 weeks after conception", "1", "uCi");
    second.line = 9;
    IntakeEntry first = intake("at conception");
    first.line = 4;
    const std::vector<IntakeEntry> intakes{first, second};
    AssessmentSettings settings;
    settings.rows = {1, 18};
    settings.periods = {5};
    const AssessmentResult result = assessed(intakes, settings);
    const AssessmentReport report{intakes, settings, result, data().provenance(), "in.csv"};
    exportAssessment(OutputFormat::Csv, dir_.file("out.csv"), report);
    const std::string csv = testing::readBytes(dir_.file("out.csv"));

    std::vector<std::string> records;
    for (std::size_t at = 0; at < csv.size();) {
        const std::size_t end = csv.find("\r\n", at);
        records.push_back(csv.substr(at, end - at));
        at = end + 2;
    }
    std::size_t header = 0;
    while (header < records.size() &&
           (records[header].starts_with("#") || records[header].starts_with("\"#")))
        ++header;
    ASSERT_LT(header + 6, records.size());
    EXPECT_EQ(records[header], "intake,tissue,in_utero_mSv,postnatal_70y_mSv,offspring_70y_mSv");
    // Intake by intake (named by its line), each tissue chosen, then the totals.
    EXPECT_EQ(records[header + 1], "4,Bladder,6.0E-04,1.0E-04,7.0E-04");
    EXPECT_EQ(records[header + 2], "4,Effective dose,1.8E-03,1.0E-04,1.9E-03");
    EXPECT_EQ(records[header + 3].substr(0, 10), "9,Bladder,");
    EXPECT_EQ(records[header + 5].substr(0, 14), "total,Bladder,");
    EXPECT_TRUE(records[header + 7].starts_with("# Effective dose in utero"))
        << records[header + 7];
    EXPECT_TRUE(records.back().starts_with("# Within the limit")) << records.back();
    EXPECT_NE(csv.find("# SHA-256 of I-131.dat: "), std::string::npos);
    EXPECT_NE(csv.find("# Intake (line 9): I-131; Member of the public; Ingestion: f1 = 0.111; "
                       "12 weeks after conception; 1 uCi; coefficients: the larger"),
              std::string::npos);

    // An intake that cannot be assessed: nothing is written, and the fault names its line.
    second.unit = "Ci?";
    const std::vector<IntakeEntry> bad{first, second};
    const AssessmentResult badResult = assessed(bad, settings);
    const AssessmentReport badReport{bad, settings, badResult, data().provenance(), ""};
    try {
        exportAssessment(OutputFormat::Xlsx, dir_.file("bad.xlsx"), badReport);
        ADD_FAILURE() << "exported";
    } catch (const UnassessedIntakes& fault) {
        EXPECT_NE(std::string(fault.what()).find("line 9: unit: \"Ci?\""), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.file("bad.xlsx")));

    // A run let go keeps its file's digest in the provenance.
    const std::string before = data().provenance().files[1].sha256;
    data().release("I-131");
    EXPECT_EQ(data().provenance().files[1].sha256, before);
    EXPECT_EQ(before.size(), 64u);
}

// A run of the tables the intakes need assesses them as a run of every table does, bad entries
// and their messages included.
TEST_F(AssessmentTest, RunningOnlyTheTablesNeededChangesNothing) {
    IntakeEntry particulate = intake("12 weeks after conception", "3", "uCi");
    particulate.group = "Worker";
    particulate.route = "Inhalation: Type J, f1 = 0.0012, 0.3 microns AMAD";
    IntakeEntry otherSize = particulate;
    otherSize.route = "Inhalation: Type J, f1 = 0.0012, 5.0 microns AMAD";
    otherSize.time = "3 years before conception";
    IntakeEntry badRoute = intake("at conception");
    badRoute.route = "Ingestion: f1 = 0.9";
    IntakeEntry badTime = intake("tomorrow");
    IntakeEntry cs = intake("Constant chronic intake (1Bq total) from conception to birth");
    cs.nuclide = "Cs-137";
    const std::vector<IntakeEntry> intakes{
        intake("5 weeks after conception"), particulate, otherSize, badRoute, badTime, cs};
    AssessmentSettings settings = AssessmentSettings::everything();
    settings.method = Method::Interpolated;
    const AssessmentResult every = assessed(intakes, settings);
    AssessmentData onlyNeeded(dir_.slash(), std::nullopt, RunScope::TablesNeeded);
    const AssessmentResult needed = assess(intakes, settings, onlyNeeded, true);
    ASSERT_EQ(every.problemCount, 2);
    for (std::size_t i = 0; i < intakes.size(); ++i) {
        EXPECT_EQ(needed.intakes[i].message(), every.intakes[i].message()) << i;
        EXPECT_EQ(needed.intakes[i].basisText, every.intakes[i].basisText) << i;
        EXPECT_EQ(needed.intakes[i].doses.offspring, every.intakes[i].doses.offspring) << i;
    }
    EXPECT_EQ(needed.total.inUtero, every.total.inUtero);
    EXPECT_LT(onlyNeeded.provenance().files.size(), 4u);  // the catalogue and two data files
}

}  // namespace
}  // namespace fetaldose::assessment
