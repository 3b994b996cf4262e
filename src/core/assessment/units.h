#pragma once
// The units an assessment reads and writes: activities (Bq and Ci with their prefixes) and
// doses (Sv and rem with theirs), each a fact with its source, written once here.

#include <array>
#include <optional>
#include <string_view>

namespace fetaldose::assessment {

enum class ActivityUnit { Bq, kBq, MBq, GBq, pCi, nCi, uCi, mCi, Ci };

struct ActivityUnitInfo {
    ActivityUnit unit;
    std::string_view name;   // as files and the command line write it (ASCII)
    std::string_view shown;  // as windows and reports show it
    // One unit is bequerels / divisor Bq, both exact integers in a double, so that a
    // conversion is one correctly rounded product and quotient. The curie is 3.7E10 Bq exactly
    // (by definition; SI Brochure, 9th edition, table of non-SI units, and 10 CFR 20.1005).
    double becquerels;
    double divisor;
};

inline constexpr std::array<ActivityUnitInfo, 9> kActivityUnits = {{
    {ActivityUnit::Bq, "Bq", "Bq", 1, 1},
    {ActivityUnit::kBq, "kBq", "kBq", 1e3, 1},
    {ActivityUnit::MBq, "MBq", "MBq", 1e6, 1},
    {ActivityUnit::GBq, "GBq", "GBq", 1e9, 1},
    {ActivityUnit::pCi, "pCi", "pCi", 37, 1000},  // 1 pCi = 0.037 Bq
    {ActivityUnit::nCi, "nCi", "nCi", 37, 1},     // 1 nCi = 37 Bq
    {ActivityUnit::uCi, "uCi",
     "\xC2\xB5"
     "Ci",
     37e3, 1},
    {ActivityUnit::mCi, "mCi", "mCi", 37e6, 1},
    {ActivityUnit::Ci, "Ci", "Ci", 37e9, 1},
}};

enum class DoseUnit { Sv, mSv, uSv, rem, mrem };

struct DoseUnitInfo {
    DoseUnit unit;
    std::string_view name;   // as files, column names and the command line write it (ASCII)
    std::string_view shown;  // as windows and reports show it
    // How many of the unit make one sievert, an exact integer. The rem is 0.01 Sv exactly
    // (10 CFR 20.1004: 1 rem = 0.01 sievert).
    double perSievert;
};

inline constexpr std::array<DoseUnitInfo, 5> kDoseUnits = {{
    {DoseUnit::Sv, "Sv", "Sv", 1},
    {DoseUnit::mSv, "mSv", "mSv", 1e3},
    {DoseUnit::uSv, "uSv",
     "\xC2\xB5"
     "Sv",
     1e6},
    {DoseUnit::rem, "rem", "rem", 1e2},
    {DoseUnit::mrem, "mrem", "mrem", 1e5},
}};

const ActivityUnitInfo& info(ActivityUnit unit);
const DoseUnitInfo& info(DoseUnit unit);

// A unit by its name, its shown name, or "µ" written as the micro sign or the Greek letter mu
// in UTF-8; exact letter case (mSv and MSv are not the same unit). Nothing for any other text.
std::optional<ActivityUnit> activityUnitNamed(std::string_view text);
std::optional<DoseUnit> doseUnitNamed(std::string_view text);

// Conversions; a result beyond the range of double is infinite.
double toBecquerel(double amount, ActivityUnit unit);
double toSievert(double amount, DoseUnit unit);
double fromSievert(double sievert, DoseUnit unit);

}  // namespace fetaldose::assessment
