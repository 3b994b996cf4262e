#pragma once
// The texts of one result table: headings, summary line and dose texts, with the reading and
// writing of dose numbers. Locale-independent: the decimal separator is passed in.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/refdata/nuclide_data.h"
#include "core/run/plain_dose.h"
#include "core/run/result_store.h"

namespace fetaldose {

enum class IntakeRoute { Particulates, Ingestion, Vapours };

// Which record of which chosen nuclide's data a table comes from. All numbers but the
// nuclide's are 1-based.
struct TableKey {
    int group = 1;  // 1 members of the public, 2 workers
    IntakeRoute route = IntakeRoute::Ingestion;
    int entry = 1;        // absorption type (particulates), or ingestion or vapour entry
    int aerosolSize = 1;  // particulates only
    int scenario = 1;
    int nuclide = 0;  // place of the nuclide in the chosen list, from 0
    bool operator==(const TableKey&) const = default;
};

// What a table takes from the run besides its record.
struct TableContext {
    std::string_view nuclide;                   // entry of the chosen list
    std::string_view halfLife;                  // the half-life text at the same index
    const std::vector<int>* rows = nullptr;     // chosen tissue rows 1..18, in order
    const std::vector<int>* periods = nullptr;  // chosen periods 1..5, in order
    char decimalSeparator = '.';
};

// The record a table is built from.
const DoseRecord& recordFor(const NuclideData& data, const TableKey& key);

// Heading lines and the summary line of a table.
std::string nuclideHeading(std::string_view nuclide, std::string_view halfLife);
std::string routeHeading(const GroupSection& section, const TableKey& key);
std::string summaryLine(const DoseRecord& record);
std::string summaryLine(std::string_view summaryTissue, std::string_view summaryDetail);

// Checks that every dose a table will show reads as a number and that each offspring sum can
// be formed, in the order the doses are read: row by row, the in-utero field, then the
// post-natal field of each chosen period. The first that fails throws ConversionError with
// its text (as localised). Returns true when every one of them is a plain dose (see
// plainFieldMask) under a separator that leaves them plain.
bool checkTableDoses(const DoseRecord& record, const std::vector<int>& rows,
                     const std::vector<int>& periods, char decimalSeparator);

// The heading numbers of a table, kept once in the store for all the tables sharing them.
ResultStore::HeadingNumbers tableHeadings(ResultStore& store, const NuclideData& data,
                                          const TableKey& key, const TableContext& context);

// Fills one store slot: checks the table's doses (checkTableDoses), then makes the slot the
// table of its record, so that its headings, summary line, in-utero and post-natal texts and
// offspring sums read as the table shows them. The store's layout must be the context's rows,
// periods and separator (ResultStore::setLayout), and the record's bytes kept alive.
void fillTableSlot(ResultStore& store, int slot, const DoseRecord& record,
                   const ResultStore::HeadingNumbers& headings, const TableContext& context);

// The offspring dose text of an in-utero and a post-natal field as written in the file:
// both localised, read, added and formatted. Throws ConversionError as checkTableDoses.
std::string offspringDoseText(std::string_view inUteroField, std::string_view postNatalField,
                              char decimalSeparator);

// The field with its first '.' turned into the separator, unless it already holds the
// separator; a field without '.' comes back unchanged.
std::string localiseField(std::string_view field, char decimalSeparator);

// Reads a dose: optional blanks, optional sign, digits with at most one separator among them
// (at least one digit), optional exponent (E or e, optional sign, digits), optional blanks.
// Anything else throws ConversionError with the text; so does a value outside the range of
// long double.
long double readDose(std::string_view text, char decimalSeparator);

// A dose text as a plain number with '.' as its decimal mark, for files other programs read
// ("3,4E-07" under a comma separator gives "3.4E-07"): blanks and a '+' sign dropped, a missing
// integer digit written as 0. False, with `out` untouched, for a text that is no number.
bool pointFormOfDose(std::string_view text, char decimalSeparator, std::string& out);

// The number a dose text shows, as the nearest double (Sv per Bq); one beyond the range of
// double is infinite (or, below it, the nearest double holds). Throws ConversionError as
// readDose does.
double doseValue(std::string_view text, char decimalSeparator);

// Writes a computed dose with two significant digits: the value taken to 18 significant
// digits, then rounded half away from zero, as d<sep>dE+xx (sign of the exponent always, at
// least two exponent digits, a leading '-' for negatives). Zero is "0<sep>0E+00". A value
// that is not finite throws ConversionError.
std::string formatDose(long double value, char decimalSeparator);

namespace detail {

// A positive value taken to 18 significant decimal digits: Digits (10^17 to 10^18 - 1) times
// ten to the power Exponent - 17, rounded half away from zero.
struct Decimal18 {
    std::uint64_t digits = 0;
    int exponent = 0;
    bool operator==(const Decimal18&) const = default;
};

// The fast conversion formatDose uses (falls back to the exact one near a rounding tie).
Decimal18 toDecimal18(long double positiveValue);
// The exact conversion, by big-integer arithmetic on the value's binary digits.
Decimal18 toDecimal18Exact(long double positiveValue);

// A dose field as read: exactly, as +-Mantissa * 10^Power, where it has at most 19 significant
// digits and a moderate exponent; otherwise (or on demand) as the nearest long double.
struct ParsedDose {
    std::uint64_t mantissa = 0;  // 0 for a zero
    int power = 0;
    int digits = 0;  // significant digits in Mantissa
    bool negative = false;
    bool exact = false;
    bool hasValue = false;
    long double value = 0;
};

// Reads a field by readDose's grammar; throws ConversionError with the text.
ParsedDose parseDose(std::string_view text, char decimalSeparator);
// The nearest long double of a parsed field (its text is needed where it was not exact).
long double valueOf(ParsedDose& dose, std::string_view text, char decimalSeparator);
// formatDose of the long double sum of two fields, the in-utero one first.
std::string offspringDose(ParsedDose& inUtero, std::string_view inUteroText, ParsedDose& postNatal,
                          std::string_view postNatalText, char decimalSeparator);

}  // namespace detail

}  // namespace fetaldose
