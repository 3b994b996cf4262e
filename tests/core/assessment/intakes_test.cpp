// Units, times and the intakes file: the facts the assessment reads its input by.

#include <gtest/gtest.h>

#include <cmath>

#include "core/assessment/intake_time.h"
#include "core/assessment/intakes_file.h"
#include "core/assessment/units.h"
#include "scratch_directory.h"

namespace fetaldose::assessment {
namespace {

TEST(AssessmentUnits, ConversionsAreExactAndNamesAreStrict) {
    EXPECT_EQ(toBecquerel(1, ActivityUnit::uCi), 37000.0);
    EXPECT_EQ(toBecquerel(1, ActivityUnit::Ci), 3.7e10);
    EXPECT_EQ(toBecquerel(1, ActivityUnit::mCi), 3.7e7);
    EXPECT_EQ(toBecquerel(1, ActivityUnit::nCi), 37.0);
    EXPECT_EQ(toBecquerel(1, ActivityUnit::pCi), 0.037);
    EXPECT_EQ(toBecquerel(2.5, ActivityUnit::GBq), 2.5e9);
    EXPECT_EQ(toSievert(500, DoseUnit::mrem), toSievert(5, DoseUnit::mSv));
    EXPECT_EQ(toSievert(1, DoseUnit::rem), 0.01);
    EXPECT_EQ(toSievert(0.5, DoseUnit::rem), 0.005);
    EXPECT_EQ(fromSievert(0.005, DoseUnit::mrem), 500.0);
    EXPECT_EQ(fromSievert(1e-6, DoseUnit::uSv), 1.0);
    // Beyond the range of numbers only where the result is.
    EXPECT_TRUE(std::isinf(toBecquerel(1e300, ActivityUnit::Ci)));
    EXPECT_EQ(toBecquerel(1e307, ActivityUnit::pCi), 1e307 / 1000 * 37);

    EXPECT_EQ(activityUnitNamed("uCi"), ActivityUnit::uCi);
    EXPECT_EQ(activityUnitNamed("\xC2\xB5"
                                "Ci"),
              ActivityUnit::uCi);  // micro sign
    EXPECT_EQ(activityUnitNamed("\xCE\xBC"
                                "Ci"),
              ActivityUnit::uCi);  // Greek mu
    EXPECT_EQ(doseUnitNamed("\xC2\xB5"
                            "Sv"),
              DoseUnit::uSv);
    EXPECT_EQ(doseUnitNamed("mrem"), DoseUnit::mrem);
    for (const char* unknown : {"", "bq", "MSv", "uci", "Sv ", "curie"}) {
        EXPECT_FALSE(activityUnitNamed(unknown)) << unknown;
        EXPECT_FALSE(doseUnitNamed(unknown)) << unknown;
    }
}

TEST(IntakeTimes, ReadEveryWayTheyAreWritten) {
    const auto days = [](std::string_view text) {
        const auto time = parseIntakeTime(text);
        EXPECT_TRUE(time && !time->chronic) << text;
        return time ? time->daysAfterConception : -1e9;
    };
    EXPECT_EQ(days("12 weeks after conception"), 84);
    EXPECT_EQ(days("3 days after conception"), 3);
    EXPECT_EQ(days("1 day before conception"), -1);
    EXPECT_EQ(days("  1.5 years before conception "), -547.875);
    EXPECT_EQ(days("at conception"), 0);
    EXPECT_EQ(days("At Conception"), 0);
    // A time and its scenario's text are one moment.
    EXPECT_EQ(days("6 months before conception"),
              days("Acute intake (1Bq) 6 months prior to conception"));
    EXPECT_EQ(days("30 months before conception"), kAcuteScenarioDays[0]);
    EXPECT_EQ(tabulatedScenario(days("0.5 years before conception")), 2);
    EXPECT_EQ(tabulatedScenario(days("35 weeks after conception")), 8);
    EXPECT_FALSE(tabulatedScenario(days("34 weeks after conception")));
    // Up to birth at 38 weeks; after it no intake reaches the fetus.
    EXPECT_EQ(days("38 weeks after conception"), 266);

    const auto chronic =
        parseIntakeTime("Constant chronic intake (1Bq total) from conception to birth");
    ASSERT_TRUE(chronic);
    EXPECT_TRUE(chronic->chronic);
    EXPECT_EQ(chronic->chronicScenario, 11);

    EXPECT_NE(intakeTimeProblem("39 weeks after conception").find("after birth"),
              std::string::npos);
    EXPECT_NE(intakeTimeProblem("1e400 days before conception").find("too large"),
              std::string::npos);
    for (const char* bad : {"", "12 weeks", "weeks after conception", "-3 days after conception",
                            "3 fortnights after conception", "3,5 days after conception",
                            "nan days before conception", "12 weeks after"}) {
        EXPECT_FALSE(parseIntakeTime(bad)) << bad;
        EXPECT_FALSE(intakeTimeProblem(bad).empty()) << bad;
    }

    // Written back, a moment reads as the same moment.
    EXPECT_EQ(acuteTimeText(0), "at conception");
    EXPECT_EQ(acuteTimeText(84), "12 weeks after conception");
    EXPECT_EQ(acuteTimeText(7), "1 week after conception");
    EXPECT_EQ(acuteTimeText(-1), "1 day before conception");
    EXPECT_EQ(acuteTimeText(-182.625), "182.625 days before conception");
    for (const double moment : {-913.125, -3.5, 12.0, 84.0, 250.0})
        EXPECT_EQ(days(acuteTimeText(moment)), moment);

    EXPECT_EQ(daysBetween(2024, 1, 1, 2024, 3, 1), 60);  // a leap year's February
    EXPECT_EQ(daysBetween(2024, 6, 1, 2024, 5, 31), -1);
    EXPECT_FALSE(daysBetween(2023, 2, 29, 2023, 3, 1));
    EXPECT_FALSE(daysBetween(2023, 13, 1, 2023, 3, 1));
}

TEST(IntakesFile, KeepsEveryFieldAndTheLinesTheyStandOn) {
    const std::string text =
        "\xEF\xBB\xBF# measured in March\r\n"
        "nuclide,exposure_group,intake_route,intake_time,activity,unit,sample id,note\r\n"
        "I-131,Worker,\"Inhalation: Type F, f1 = 1.0, 1.0 microns AMAD\",12 weeks after "
        "conception,1.5,uCi,A-17,\"said \"\"urgent\"\"\"\r\n"
        "\r\n"
        "# a comment between intakes\n"
        "Cs-137 , Member of the public ,Ingestion: f1 = 1.0,at conception,37,kBq\n";
    const IntakeList parsed = parseIntakes(text, "in.csv");
    ASSERT_EQ(parsed.intakes.size(), 2u);
    EXPECT_EQ(parsed.extraColumns, (std::vector<std::string>{"sample id", "note"}));
    const IntakeEntry& first = parsed.intakes[0];
    EXPECT_EQ(first.line, 3);
    EXPECT_EQ(first.route, "Inhalation: Type F, f1 = 1.0, 1.0 microns AMAD");
    EXPECT_EQ(first.activity, "1.5");
    EXPECT_EQ(first.extra, (std::vector<std::string>{"A-17", "said \"urgent\""}));
    const IntakeEntry& second = parsed.intakes[1];
    EXPECT_EQ(second.line, 6);
    EXPECT_EQ(second.nuclide, "Cs-137");
    EXPECT_EQ(second.group, "Member of the public");
    EXPECT_EQ(second.extra, (std::vector<std::string>{"", ""}));

    // Written and read back: the same intakes, numbered by the lines of the new file (a first
    // field that begins like a comment stays a field).
    IntakeList list = parsed;
    list.intakes[1].nuclide = "#1 \"odd\"";
    testing::ScratchDirectory dir;
    writeIntakesFile(dir.file("out.csv"), list);
    IntakeList back = readIntakesFile(dir.file("out.csv"));
    EXPECT_EQ(back.intakes[0].line, 2);
    EXPECT_EQ(back.intakes[1].line, 3);
    for (auto& intake : back.intakes) intake.line = 0;
    IntakeList expected = list;
    for (auto& intake : expected.intakes) intake.line = 0;
    EXPECT_EQ(back, expected);
}

TEST(IntakesFile, NamesTheFileAndLineOfWhatCannotBeRead) {
    const auto problem = [](const std::string& text) {
        try {
            parseIntakes(text, "in.csv");
        } catch (const IntakesFileError& fault) {
            return std::string(fault.what());
        }
        return std::string("read");
    };
    const std::string header = "nuclide,exposure_group,intake_route,intake_time,activity,unit\n";
    EXPECT_EQ(problem(""),
              "in.csv: line 1: the file holds no header row "
              "(nuclide,exposure_group,intake_route,intake_time,activity,unit)");
    EXPECT_NE(problem("# only a comment\n\n").find("in.csv: line 3: the file holds no header"),
              std::string::npos);
    EXPECT_NE(problem("nuclide,group,route,time,activity,unit\n").find("line 1: the header row"),
              std::string::npos);
    EXPECT_NE(
        problem(header + "I-131,Worker,x,at conception,1\n").find("line 2: the line holds fewer"),
        std::string::npos);
    EXPECT_NE(problem(header + "a,b,c,d,e,f,g\n").find("line 2: the line holds more"),
              std::string::npos);
    EXPECT_NE(problem(header + "# x\nI-131,\"Worker,x,at conception,1,Bq\n")
                  .find("line 3: a quoted field is not closed"),
              std::string::npos);
    EXPECT_NE(
        problem(header + "I-131,Wor\"ker,x,at conception,1,Bq\n").find("line 2: a quote inside"),
        std::string::npos);
    EXPECT_NE(problem(header + "I-131,\"Worker\" x,x,t,1,Bq\n").find("line 2: text after"),
              std::string::npos);
    EXPECT_EQ(problem(header), "read");  // a file of no intakes is one
}

}  // namespace
}  // namespace fetaldose::assessment
