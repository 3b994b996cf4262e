// Dose texts: reading fields, localising them, formatting sums, and filling a table's slot.

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/refdata/nuclide_data.h"
#include "core/refdata/plain_fields.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"

namespace fetaldose {
namespace {

std::string sum(std::string_view inUtero, std::string_view postNatal, char separator = '.') {
    return formatDose(readDose(inUtero, separator) + readDose(postNatal, separator), separator);
}

std::string conversionMessage(std::string_view text, char separator) {
    try {
        readDose(text, separator);
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "(read as a number)";
}

TEST(FormatDose, WorkedExamplesAndCarries) {
    EXPECT_EQ(sum("1.0E-10", "2.0E-11"), "1.2E-10");
    EXPECT_EQ(sum("4.4E-06", "3.3E-07"), "4.7E-06");
    EXPECT_EQ(sum("9.6E-06", "5.0E-07"), "1.0E-05");
    // A decimal tie: in double precision 9.95E-06 lies just below it and would give 9.9E-06.
    EXPECT_EQ(sum("9.95E-06", "0"), "1.0E-05");
    EXPECT_EQ(sum("1.25E-10", "0.0E+00"), "1.3E-10");
    EXPECT_EQ(sum("1.24E-10", "0.0E+00"), "1.2E-10");
    EXPECT_EQ(sum("9.96E+99", "0"), "1.0E+100");
    EXPECT_EQ(sum("9.9E-01", "5.0E-03"), "1.0E+00");
    EXPECT_EQ(sum("5.0E-01", "5.0E-01"), "1.0E+00");
    EXPECT_EQ(sum("1.0E+05", "0"), "1.0E+05");
    EXPECT_EQ(sum("3", "0"), "3.0E+00");
    EXPECT_EQ(sum("1.0E-120", "0"), "1.0E-120");
    EXPECT_EQ(sum("0.0E+00", "0.0E+00"), "0.0E+00");
    EXPECT_EQ(sum("-0", "0"), "0.0E+00");
    // The 18-digit step: a value a hair below the tie still rounds up when its 18-digit form
    // is the tie, and not when it is not.
    EXPECT_EQ(sum("1.249999999999999995", "0"), "1.3E+00");
    EXPECT_EQ(sum("1.249999999999999994", "0"), "1.2E+00");
}

TEST(FormatDose, NegativesRoundAwayFromZero) {
    EXPECT_EQ(sum("-1.0E-10", "-2.0E-11"), "-1.2E-10");
    EXPECT_EQ(sum("-9.95E-06", "0"), "-1.0E-05");
    EXPECT_EQ(sum("-1.25E-10", "0"), "-1.3E-10");
    EXPECT_EQ(sum("1.0E-10", "-3.0E-10"), "-2.0E-10");
    EXPECT_EQ(sum("1.0E-10", "-1.0E-10"), "0.0E+00");
}

TEST(FormatDose, CommaSeparatorReadsAndWritesCommas) {
    EXPECT_EQ(sum("1,0E-10", "2,0E-11", ','), "1,2E-10");
    EXPECT_EQ(sum("9,95E-06", "0", ','), "1,0E-05");
    EXPECT_EQ(formatDose(0.0L, ','), "0,0E+00");
    // The C locale is not consulted: a comma locale set by the toolkit changes nothing.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        EXPECT_EQ(sum("1.5E-10", "0", '.'), "1.5E-10");
        EXPECT_EQ(sum("1,5E-10", "0", ','), "1,5E-10");
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FormatDose, ValuesBeyondLongDoubleAreConversionErrors) {
    EXPECT_THROW(formatDose(std::numeric_limits<long double>::infinity(), '.'), ConversionError);
    EXPECT_THROW(formatDose(std::numeric_limits<long double>::quiet_NaN(), '.'), ConversionError);
    EXPECT_THROW(readDose("1E99999", '.'), ConversionError);
    EXPECT_THROW(readDose("1E-99999", '.'), ConversionError);
    EXPECT_EQ(formatDose(std::numeric_limits<long double>::max(), '.'), "1.2E+4932");
    EXPECT_EQ(formatDose(std::numeric_limits<long double>::denorm_min(), '.'), "3.6E-4951");
}

// The fast decimal conversion must agree with the exact one, also next to ties.
TEST(FormatDose, FastDecimalConversionAgreesWithExact) {
    std::mt19937_64 random(20240601);
    std::uniform_int_distribution<int> exponent(-4900, 4900);
    std::uniform_int_distribution<int> digits(10, 99);
    for (int i = 0; i < 6000; ++i) {
        // Two-digit decimals and their tie points, the values sums produce most.
        const std::string text = std::to_string(digits(random) / 10) + "." +
                                 std::to_string(digits(random) % 10) + (i % 2 ? "5" : "") + "E" +
                                 std::to_string(i % 3 ? exponent(random) % 40 : exponent(random));
        const long double value = readDose(text, '.');
        ASSERT_EQ(detail::toDecimal18(value), detail::toDecimal18Exact(value)) << text;
        const long double next = std::nextafter(value, 2 * value);
        ASSERT_EQ(detail::toDecimal18(next), detail::toDecimal18Exact(next)) << text;
    }
    // Values next to a tie of the 18-digit rounding itself: 18 digits and a 5.
    std::uniform_int_distribution<std::uint64_t> eighteen(100'000'000'000'000'000ULL,
                                                          999'999'999'999'999'999ULL);
    for (int i = 0; i < 3000; ++i) {
        const std::string digits = std::to_string(eighteen(random));
        const std::string text = digits.substr(0, 1) + "." + digits.substr(1) + "5E" +
                                 std::to_string(i % 2 ? exponent(random) % 30 : exponent(random));
        const long double value = readDose(text, '.');
        for (const long double v :
             {value, std::nextafter(value, 0.0L), std::nextafter(value, 2 * value)})
            ASSERT_EQ(detail::toDecimal18(v), detail::toDecimal18Exact(v)) << text;
    }
    std::uniform_int_distribution<std::uint64_t> bits;
    std::uniform_int_distribution<int> binaryExponent(-16440, 16380);
    for (int i = 0; i < 3000; ++i) {
        const long double value = std::ldexp(static_cast<long double>(bits(random) | (1ULL << 63)),
                                             binaryExponent(random) - 64);
        if (!std::isfinite(value) || value == 0) continue;
        ASSERT_EQ(detail::toDecimal18(value), detail::toDecimal18Exact(value));
    }
}

// The offspring dose is formed in whole numbers where that gives the long double result; it
// must agree with the long double sum taken through formatDose for every pair of fields.
TEST(FormatDose, OffspringSumsAgreeWithTheLongDoubleSum) {
    std::mt19937_64 random(99);
    auto field = [&random](bool allowNegative) {
        static const char* shapes[] = {"%d.%dE-%02d", "%d.%d%dE-%02d", "%d.%dE+%02d", "%d",
                                       "0.%d%dE-%d",  "%d.%d%d%d%d",   "%d.%dE-%d"};
        char text[64];
        const int a = static_cast<int>(random() % 10), b = static_cast<int>(random() % 10);
        const int c = static_cast<int>(random() % 10), e = static_cast<int>(random() % 40);
        switch (random() % 7) {
            case 0:
                std::snprintf(text, sizeof text, shapes[0], a, b, e);
                break;
            case 1:
                std::snprintf(text, sizeof text, shapes[1], a, b, c, e);
                break;
            case 2:
                std::snprintf(text, sizeof text, shapes[2], a, b, e % 8);
                break;
            case 3:
                std::snprintf(text, sizeof text, shapes[3], a);
                break;
            case 4:
                std::snprintf(text, sizeof text, shapes[4], a, b, e);
                break;
            case 5:
                std::snprintf(text, sizeof text, shapes[5], a, b, c, 5, 0);
                break;
            default:
                std::snprintf(text, sizeof text, shapes[6], a, b, 4000 + e * 20);
                break;
        }
        std::string s = text;
        if (allowNegative && random() % 4 == 0) s = "-" + s;
        return s;
    };
    for (int i = 0; i < 60000; ++i) {
        const std::string u = field(i % 3 == 0);
        const std::string p = field(i % 5 == 0);
        detail::ParsedDose pu = detail::parseDose(u, '.');
        detail::ParsedDose pp = detail::parseDose(p, '.');
        ASSERT_EQ(detail::offspringDose(pu, u, pp, p, '.'), sum(u, p)) << u << " + " << p;
    }
    // Ties and near-ties across a wide gap of exponents.
    EXPECT_EQ(sum("1.25E-05", "-1.0E-25"), "1.3E-05");  // long double loses the tiny part
    EXPECT_EQ(sum("1.2E-05", "5.0E-22"), "1.2E-05");
    EXPECT_EQ(sum("1.24E-05", "1.0E-07"), "1.3E-05");
}

// Plain fields ("d.dE+dd") are summed in whole numbers from their bytes: every pair of
// mantissas, at exponents across the whole range and at every distance that matters, must give
// the text of the general reading, under both separators.
TEST(FormatDose, PlainSumsAgreeWithTheGeneralReading) {
    auto field = [](int mantissa, int exponent) {
        char text[32];
        std::snprintf(text, sizeof text, "%d.%dE%c%02d", mantissa / 10, mantissa % 10,
                      exponent < 0 ? '-' : '+', exponent < 0 ? -exponent : exponent);
        return std::string(text);
    };
    for (const int exponent : {-99, -50, -10, -1, 0, 9, 99}) {
        for (const int distance : {0, 1, -1, 2, -2, 3, -3, 4, -4, 16, -17, 18, 198}) {
            const int other = std::clamp(exponent + distance, -99, 99);
            for (int a = 0; a < 100; ++a) {
                for (int b = 0; b < 100; b += (distance == 0 || distance == 2 ? 1 : 7)) {
                    const std::string u = field(a, exponent), p = field(b, other);
                    for (const char separator : {'.', ','}) {
                        char text[16];
                        char* end =
                            detail::writePlainSum(detail::readPlainDose(u.data()),
                                                  detail::readPlainDose(p.data()), separator, text);
                        ASSERT_EQ(std::string(text, static_cast<std::size_t>(end - text)),
                                  offspringDoseText(u, p, separator))
                            << u << " + " << p;
                    }
                }
            }
        }
    }
}

// Which fields of a value line are plain, and where the line ends, by the vectorised form and
// the portable form: on short lines, lines cut inside a field, long lines, and fields spoilt
// byte by byte (a CR among them).
TEST(PlainFields, BothFormsFindTheSameFields) {
    const std::string plain = "1.2E-10 ";
    std::string line;
    for (int i = 0; i < 18; ++i) line += plain;
    line.pop_back();
    std::vector<std::string> lines = {"", "1.2E-1", "1.2E-10", line + " 3.4E+05 9", line};
    for (std::size_t cut = 1; cut < line.size(); cut += 3) lines.push_back(line.substr(0, cut));
    const std::string odd = "0123456789.,+-Ee \r\n\t\x80\xff";
    std::mt19937 random(5);
    for (int i = 0; i < 4000; ++i) {
        std::string spoilt = line.substr(0, line.size() - random() % 20);
        for (int k = static_cast<int>(random() % 4); k >= 0; --k)
            spoilt[random() % spoilt.size()] = odd[random() % odd.size()];
        lines.push_back(spoilt);
    }
    EXPECT_EQ(detail::plainFieldMaskPortable(line), (1U << 18) - 1);
    EXPECT_EQ(detail::plainFieldMaskPortable(line.substr(0, 8 * 17 + 6)), (1U << 17) - 1);
    EXPECT_EQ(detail::plainFieldMaskPortable("1.2e-10 1,2E-10 1.2E+1x 1.2E-10"), 1U << 3);
    for (const std::string& each : lines) {
        // Every field the portable form calls plain is a dose of the general reading.
        const std::uint32_t mask = detail::plainFieldMaskPortable(each);
        for (int row = 1; row <= 18; ++row) {
            if (mask & (1U << (row - 1))) {
                EXPECT_NO_THROW(readDose(DoseRecord::field(each, row), '.'));
            }
        }
#if defined(__SSE2__)
        ASSERT_EQ(detail::plainFieldMaskSse2(each), mask) << each;
#endif
        ASSERT_EQ(plainFieldMask(each), mask) << each;

        // The same line read from a file's bytes, its end and its fields in one pass: ended
        // by a CR before the next line, or by the end of the bytes.
        for (const std::string& bytes :
             {each + "\r\n" + line + "\r\n" + line, each + std::string(150, 'x'),
              each.size() >= kScannedBytes ? each : std::string()}) {
            if (bytes.empty()) continue;
            const ScannedLine portable = detail::scanValueLinePortable(bytes);
            ASSERT_EQ(portable.length, std::min(bytes.find('\r'), bytes.size()));
            ASSERT_EQ(portable.plainFields,
                      detail::plainFieldMaskPortable(bytes.substr(0, portable.length)));
#if defined(__SSE2__)
            const ScannedLine vectorised = detail::scanValueLineSse2(bytes);
            ASSERT_EQ(vectorised.length, portable.length) << each;
            ASSERT_EQ(vectorised.plainFields, portable.plainFields) << each;
#endif
        }
    }
}

TEST(ReadDose, AcceptsTheDoseGrammar) {
    EXPECT_EQ(readDose("1.5", '.'), 1.5L);
    EXPECT_EQ(readDose("  -2.5e+1  ", '.'), -25.0L);
    EXPECT_EQ(readDose("+.5", '.'), 0.5L);
    EXPECT_EQ(readDose("5.", '.'), 5.0L);
    EXPECT_EQ(readDose("7", '.'), 7.0L);
    EXPECT_EQ(readDose("1E2", '.'), 100.0L);
    EXPECT_EQ(readDose("1,5", ','), 1.5L);
    EXPECT_EQ(readDose("1.23456789012345678901234E-40", '.'), 1.23456789012345678901234E-40L);
    EXPECT_EQ(readDose("0.0000000000000000000000000000012", '.'), 1.2E-30L);
    EXPECT_EQ(readDose("12345678901234567890123", '.'), 12345678901234567890123.0L);
}

TEST(ReadDose, RefusesAnythingElseWithTheFieldText) {
    EXPECT_EQ(conversionMessage("", '.'), "'' is not a valid floating point value");
    EXPECT_EQ(conversionMessage("       ", '.'), "'       ' is not a valid floating point value");
    EXPECT_EQ(conversionMessage("1.0E-1x", '.'), "'1.0E-1x' is not a valid floating point value");
    EXPECT_EQ(conversionMessage("1.5E-10", ','), "'1.5E-10' is not a valid floating point value");
    for (const char* bad : {".", "-", "+", "E5", "1E", "1E+", "1.2.3", "1 2", "--1", "1e-+2", "\t1",
                            "1\t", "0x10", "inf", "nan", "1,5", "1.5 x"})
        EXPECT_THROW(readDose(bad, '.'), ConversionError) << bad;
    EXPECT_THROW(readDose("1.5", ','), ConversionError);
    EXPECT_THROW(readDose("1,2,3", ','), ConversionError);
}

// The number of every two-figure dose text is the nearest double to it, whichever way it is
// read: the plain form at once, anything else by the full conversion.
TEST(DoseValue, EveryPlainTextIsTheNearestDouble) {
    for (const char separator : {'.', ','}) {
        for (int digits = 0; digits < 100; ++digits) {
            for (int exponent = -40; exponent <= 40; ++exponent) {
                char point[32], text[32];
                std::snprintf(point, sizeof point, "%d.%dE%+03d", digits / 10, digits % 10,
                              exponent);
                std::snprintf(text, sizeof text, "-%d%c%dE%+03d", digits / 10, separator,
                              digits % 10, exponent);
                double nearest = 0;
                std::from_chars(point, point + std::strlen(point), nearest);
                ASSERT_EQ(doseValue(text + 1, separator), nearest) << text + 1;
                ASSERT_EQ(doseValue(text, separator), -nearest) << text;
            }
        }
    }
    EXPECT_EQ(doseValue(" 1.5E-10", '.'), 1.5e-10);  // not the plain form: read in full
    EXPECT_THROW(doseValue("1.5E-10", ','), ConversionError);
}

TEST(LocaliseField, TurnsTheFirstPointIntoTheSeparator) {
    EXPECT_EQ(localiseField("3.4E-07", '.'), "3.4E-07");
    EXPECT_EQ(localiseField("3.4E-07", ','), "3,4E-07");
    EXPECT_EQ(localiseField("3,4.0", ','), "3,4.0");  // already holds the separator
    EXPECT_EQ(localiseField("1.2.3", ','), "1,2.3");
    EXPECT_EQ(localiseField("3E-07", ','), "3E-07");
    EXPECT_EQ(localiseField("", ','), "");
}

// A small NuclideData with one record in every route of the public section.
struct TableFixture : ::testing::Test {
    NuclideData data;
    ResultStore store;
    std::vector<int> rows{2, 18};
    std::vector<int> periods{5};
    // Each route's value lines (in utero, then periods 1 to 5), owned here: the record views them.
    std::array<std::array<std::string, 6>, 3> lines;

    std::array<std::string, 6>& linesOf(IntakeRoute route) {
        return lines[static_cast<std::size_t>(route)];
    }

    DoseRecord& record(IntakeRoute route) {
        GroupSection& s = data.groups[0];
        switch (route) {
            case IntakeRoute::Particulates:
                return s.particulateRecords[3][1][6];
            case IntakeRoute::Ingestion:
                return s.ingestionRecords[3][1];
            default:
                return s.vapourRecords[3][1];
        }
    }

    void SetUp() override {
        GroupSection& s = data.groups[0];
        s.particulateTypes[1] = {"M", "0.0005"};
        s.ingestionF1[1] = "0.05";
        s.vapourRoutes[1] = " Vapour, as written  ";
        for (auto route :
             {IntakeRoute::Particulates, IntakeRoute::Ingestion, IntakeRoute::Vapours}) {
            DoseRecord& r = record(route);
            r.summaryTissue = "Bone surface";
            r.summaryDetail = "2.0E-10";
            // Row i's in-utero field is i.0E-10; period j's post-natal field is j.0E-11 + row.
            auto& l = linesOf(route);
            for (int i = 1; i <= 18; ++i) {
                std::string field = std::to_string(i % 10) + ".0E-1" + (i >= 10 ? "1" : "0");
                l[0] += field + (i < 18 ? " " : "");
            }
            for (int j = 0; j < 5; ++j)
                for (int i = 1; i <= 18; ++i)
                    l[static_cast<std::size_t>(j) + 1] += std::to_string(j + 1) + "." +
                                                          std::to_string(i % 10) + "E-11" +
                                                          (i < 18 ? " " : "");
        }
        store.resize(1, 2, 1);
    }

    void fill(IntakeRoute route, char separator = '.') {
        for (auto each :
             {IntakeRoute::Particulates, IntakeRoute::Ingestion, IntakeRoute::Vapours}) {
            DoseRecord& r = record(each);
            r.inUteroLine = linesOf(each)[0];
            for (std::size_t j = 0; j < 5; ++j) r.postNatalLines[j] = linesOf(each)[j + 1];
        }
        store.setLayout(rows, periods, separator);
        TableKey key{1, route, 2, 7, 4};
        TableContext context{"Pu-239", "24065 y", &rows, &periods, separator};
        fillTableSlot(store, 1, recordFor(data, key), tableHeadings(store, data, key, context),
                      context);
    }
};

TEST_F(TableFixture, HeadingsFollowTheRoute) {
    fill(IntakeRoute::Particulates);
    EXPECT_EQ(store.nuclide(1), "Pu-239, half-life is 24065 y");
    EXPECT_EQ(store.group(1), "Member of the public");
    EXPECT_EQ(store.route(1), "Inhalation: Type M, f1 = 0.0005, 1.0 microns AMAD");
    EXPECT_EQ(store.scenario(1), "Acute intake (1Bq) 5 weeks after conception");
    EXPECT_EQ(store.summary(1), "Highest dose is to: Bone surface, 2.0E-10");
    fill(IntakeRoute::Ingestion);
    EXPECT_EQ(store.route(1), "Ingestion: f1 = 0.05");
    fill(IntakeRoute::Vapours);
    EXPECT_EQ(store.route(1), " Vapour, as written  ");

    data.groups[1].ingestionF1[1] = "1";
    data.groups[1].ingestionRecords[10][1] = record(IntakeRoute::Ingestion);
    const TableKey key{2, IntakeRoute::Ingestion, 2, 1, 11};
    const TableContext context{"Cs-137", "30 y", &rows, &periods, '.'};
    fillTableSlot(store, 1, recordFor(data, key), tableHeadings(store, data, key, context),
                  context);
    EXPECT_EQ(store.group(1), " Worker");
    EXPECT_EQ(store.scenario(1), "Constant chronic intake (1Bq total) from conception to birth");
}

TEST_F(TableFixture, SummaryMarkersAreWholeLinesWithCase) {
    DoseRecord r;
    r.summaryDetail = "x";
    const std::pair<const char*, const char*> cases[] = {
        {"ltzero", "Doses are all less than 1.0E-15"},
        {"All", "All tissues received the same dose"},
        {"Ltzero", "Highest dose is to: Ltzero, x"},
        {"LTZERO", "Highest dose is to: LTZERO, x"},
        {"ltzero ", "Highest dose is to: ltzero , x"},
        {"all", "Highest dose is to: all, x"},
        {"ALL", "Highest dose is to: ALL, x"},
        {"", "Highest dose is to: , x"},
    };
    for (const auto& [tissue, summary] : cases) {
        r.summaryTissue = tissue;
        EXPECT_EQ(summaryLine(r), summary) << tissue;
    }
}

TEST_F(TableFixture, ChosenRowsAndPeriodsTakeTheirFields) {
    fill(IntakeRoute::Ingestion);
    // Rows 2 and 18 become slot rows 1 and 2; the 70-year period becomes period 1.
    EXPECT_EQ(store.inUtero(1, 1), "2.0E-10");
    EXPECT_EQ(store.inUtero(1, 2), "8.0E-11");
    EXPECT_EQ(store.postNatal(1, 1, 1), "5.2E-11");
    EXPECT_EQ(store.postNatal(1, 2, 1), "5.8E-11");
    EXPECT_EQ(store.offspring(1, 1, 1), "2.5E-10");
    EXPECT_EQ(store.offspring(1, 2, 1), "1.4E-10");

    fill(IntakeRoute::Ingestion, ',');
    EXPECT_EQ(store.inUtero(1, 1), "2,0E-10");
    EXPECT_EQ(store.postNatal(1, 2, 1), "5,8E-11");
    EXPECT_EQ(store.offspring(1, 1, 1), "2,5E-10");
}

TEST_F(TableFixture, BadFieldsStopWithTheInUteroTextFirst) {
    auto& l = linesOf(IntakeRoute::Ingestion);
    l[0].replace(8, 7, "  n/a  ");
    l[5].replace(8, 7, "bad    ");
    try {
        fill(IntakeRoute::Ingestion);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'  n/a  ' is not a valid floating point value");
    }
    l[0].replace(8, 7, "1.0E-10");
    EXPECT_THROW(fill(IntakeRoute::Ingestion), ConversionError);
    // A short value line leaves the last rows' fields empty.
    l[5] = "1.0E-10";
    try {
        fill(IntakeRoute::Ingestion);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid floating point value");
    }
}

}  // namespace
}  // namespace fetaldose
