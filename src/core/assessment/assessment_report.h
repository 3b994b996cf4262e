#pragma once
// What every output of an assessment carries: the provenance of the data (folder, digests of
// the bytes read), every intake as entered with the scenarios its coefficients come from, the
// method, the unit and the limit; then the doses per intake and tissue and their totals; then
// the limit check. The CSV, the workbook, the command line's summary, the window's report and
// its print all take these lines and rows.

#include <string>
#include <vector>

#include "core/assessment/assessment.h"
#include "core/export/sheet_export.h"
#include "core/run/output_format.h"

namespace fetaldose::assessment {

struct AssessmentReport {
    const std::vector<IntakeEntry>& intakes;
    const AssessmentSettings& settings;
    const AssessmentResult& result;
    Provenance provenance;    // of the data, taken now
    std::string intakesFile;  // the file the intakes were read from; empty when none
};

// An assessment that has intakes it cannot assess writes nothing: this fault says which
// ("<n> intake(s) cannot be assessed; ...: line <l>: <column>: <problem>; ...").
class UnassessedIntakes : public Fault {
  public:
    using Fault::Fault;
};
// Throws UnassessedIntakes when any intake cannot be assessed.
void requireAssessed(const std::vector<IntakeEntry>& intakes, const AssessmentResult& result);

// The lines before the doses and the lines of the limit check after them (UTF-8).
std::vector<std::string> reportLeadingLines(const AssessmentReport& report);
std::vector<std::string> limitLines(const AssessmentReport& report);

// The column names: intake, tissue, in_utero_<unit>, then for each period shown
// postnatal_<period>_<unit> and offspring_<period>_<unit>.
std::vector<std::string> doseColumns(const AssessmentSettings& settings);
// One row per intake and tissue shown (intake: its line in the intakes file, or its place in
// the list from 1 when it has none), then one per tissue for the totals (intake "total").
SheetTable doseSheet(const AssessmentReport& report);

// Writes the assessment as CSV or XLSX (requireAssessed first; nothing written on a fault).
void exportAssessment(OutputFormat format, const std::string& path, const AssessmentReport& report);
// The summary the command line writes: the leading lines, the total doses as a table of text,
// and the limit check.
std::string assessmentSummary(const AssessmentReport& report);

// The label an intake goes by in rows and messages: its line, or its place from 1.
int intakeNumber(const std::vector<IntakeEntry>& intakes, std::size_t index);

}  // namespace fetaldose::assessment
