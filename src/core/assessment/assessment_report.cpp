#include "core/assessment/assessment_report.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "core/assessment/assessment_texts.h"
#include "core/run/labels.h"
#include "core/textio/text_encoding.h"

namespace fetaldose::assessment {

namespace {

std::string periodName(int period) {
    return std::string(trimBlanks(kPeriodLabels[static_cast<std::size_t>(period - 1)]));
}

std::string rowName(int row) {
    return std::string(kRowLabels[static_cast<std::size_t>(row - 1)]);
}

std::string withUnit(double sievert, DoseUnit unit) {
    return doseText(sievert, unit) + " " + std::string(info(unit).shown);
}

// A dose the user gave (a limit, an external dose) as given: up to six significant figures.
std::string givenDose(double sievert, DoseUnit unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", fromSievert(sievert, unit));
    return std::string(text) + " " + std::string(info(unit).shown);
}

// The shown number as the workbook's number: the same two figures the CSV writes.
SheetCell doseCell(double sievert, DoseUnit unit) {
    std::string text = doseText(sievert, unit);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return SheetCell::ofNumber(std::move(text), value);
}

std::string intakeLine(const IntakeEntry& entry, int number, const IntakeAssessment& result) {
    std::string line = std::string(kIntakeLabel) + std::to_string(number) + "): " + entry.nuclide +
                       "; " + entry.group + "; " + entry.route + "; " + entry.time + "; " +
                       entry.activity + " " + entry.unit;
    if (result.assessed()) line += std::string(kCoefficientsLabel) + result.basisText;
    return line;
}

void appendDoseRows(std::vector<std::vector<SheetCell>>& rows, const std::string& label,
                    const Doses& doses, const AssessmentSettings& settings) {
    for (const int r : settings.rows) {
        const auto row = static_cast<std::size_t>(r - 1);
        std::vector<SheetCell> cells{SheetCell::ofText(label), SheetCell::ofText(rowName(r))};
        cells.push_back(doseCell(doses.inUtero[row], settings.unit));
        for (const int p : settings.periods) {
            const auto period = static_cast<std::size_t>(p - 1);
            cells.push_back(doseCell(doses.postNatal[row][period], settings.unit));
            cells.push_back(doseCell(doses.offspring[row][period], settings.unit));
        }
        rows.push_back(std::move(cells));
    }
}

// A text table with each column as wide as its widest cell, two blanks between columns.
std::string textTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) line += "  ";
            line += row[c];
            if (c + 1 < row.size()) line.append(widths[c] - row[c].size(), ' ');
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace

int intakeNumber(const std::vector<IntakeEntry>& intakes, std::size_t index) {
    return intakes[index].line > 0 ? intakes[index].line : static_cast<int>(index) + 1;
}

void requireAssessed(const std::vector<IntakeEntry>& intakes, const AssessmentResult& result) {
    if (result.problemCount == 0) return;
    std::string message = std::to_string(result.problemCount) + std::string(kUnassessed);
    bool first = true;
    for (std::size_t i = 0; i < result.intakes.size(); ++i) {
        if (result.intakes[i].assessed()) continue;
        if (!first) message += "; ";
        first = false;
        message +=
            "line " + std::to_string(intakeNumber(intakes, i)) + ": " + result.intakes[i].message();
    }
    throw UnassessedIntakes(message);
}

std::vector<std::string> reportLeadingLines(const AssessmentReport& report) {
    const AssessmentSettings& settings = report.settings;
    std::vector<std::string> lines = programLines(report.provenance);
    lines.emplace_back(kAssessmentLine);
    for (std::string& line : dataFolderLines(report.provenance)) lines.push_back(std::move(line));
    if (!report.intakesFile.empty())
        lines.push_back(std::string(kIntakesFileLabel) + toUtf8(report.intakesFile));
    lines.push_back(std::string(kDoseUnitLabel) + std::string(info(settings.unit).shown));
    lines.push_back(
        std::string(kMethodLabel) +
        std::string(settings.method == Method::Interpolated ? kInterpolatedMethod : kLargerMethod) +
        std::string(kNearestMethod));
    lines.emplace_back(kRoundingLine);
    for (std::size_t i = 0; i < report.intakes.size(); ++i)
        lines.push_back(intakeLine(report.intakes[i], intakeNumber(report.intakes, i),
                                   report.result.intakes[i]));
    lines.push_back(std::string(kExternalLabel) +
                    (settings.external ? givenDose(settings.external->sievert(), settings.unit)
                                       : std::string(kNoExternal)));
    const LimitInfo& limit = info(settings.limit.kind);
    lines.push_back(std::string(kLimitLabel) + givenDose(settings.limit.sievert(), settings.unit) +
                    " (" + std::string(limit.shown) + "; " + std::string(limit.source) + ")");
    return lines;
}

std::vector<std::string> limitLines(const AssessmentReport& report) {
    const LimitCheck& check = report.result.limit;
    const DoseUnit unit = report.settings.unit;
    std::vector<std::string> lines;
    lines.push_back(std::string(kInternalEffectiveLabel) + withUnit(check.internal, unit));
    if (!check.checkable) {
        lines.push_back(check.reason);
        return lines;
    }
    lines.push_back(
        std::string(kTotalEffectiveLabel) + withUnit(check.internal + check.external, unit) + ", " +
        percentText(check.fraction) + std::string(kOfTheLimit) + withUnit(check.limit, unit));
    lines.emplace_back(check.exceeds ? kExceedsLimit : kWithinLimit);
    return lines;
}

std::vector<std::string> doseColumns(const AssessmentSettings& settings) {
    const std::string unit(info(settings.unit).name);
    std::vector<std::string> columns{std::string(kIntakeColumn), std::string(kTissueColumn),
                                     std::string(kInUteroPrefix) + unit};
    for (const int p : settings.periods) {
        columns.push_back(std::string(kPostNatalPrefix) + periodName(p) + "_" + unit);
        columns.push_back(std::string(kOffspringPrefix) + periodName(p) + "_" + unit);
    }
    return columns;
}

SheetTable doseSheet(const AssessmentReport& report) {
    SheetTable sheet;
    sheet.sheetName = kDoseSheet;
    sheet.columns = doseColumns(report.settings);
    sheet.numberFormats.assign(sheet.columns.size(), kDoseFormat);
    sheet.numberFormats[0] = sheet.numberFormats[1] = "";
    for (std::size_t i = 0; i < report.intakes.size(); ++i) {
        const IntakeAssessment& intake = report.result.intakes[i];
        if (!intake.assessed()) continue;
        appendDoseRows(sheet.rows, std::to_string(intakeNumber(report.intakes, i)), intake.doses,
                       report.settings);
    }
    appendDoseRows(sheet.rows, std::string(kTotalRow), report.result.total, report.settings);
    return sheet;
}

void exportAssessment(OutputFormat format, const std::string& path,
                      const AssessmentReport& report) {
    requireAssessed(report.intakes, report.result);
    SheetNotes notes{reportLeadingLines(report), limitLines(report)};
    exportSheets(format, path, {doseSheet(report)}, notes);
}

std::string assessmentSummary(const AssessmentReport& report) {
    const AssessmentSettings& settings = report.settings;
    std::string text;
    for (const std::string& line : reportLeadingLines(report)) text += line + "\n";
    text += "\n" + std::string(kTotalDosesHeading) + " (" + std::string(info(settings.unit).shown) +
            ")\n";
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> heading{"", std::string(kInUteroHeading)};
    for (const int p : settings.periods) {
        heading.push_back(std::string(kPostNatalHeading) + periodName(p));
        heading.push_back(std::string(kOffspringHeading) + periodName(p));
    }
    rows.push_back(std::move(heading));
    const Doses& total = report.result.total;
    for (const int r : settings.rows) {
        const auto row = static_cast<std::size_t>(r - 1);
        std::vector<std::string> cells{rowName(r), doseText(total.inUtero[row], settings.unit)};
        for (const int p : settings.periods) {
            const auto period = static_cast<std::size_t>(p - 1);
            cells.push_back(doseText(total.postNatal[row][period], settings.unit));
            cells.push_back(doseText(total.offspring[row][period], settings.unit));
        }
        rows.push_back(std::move(cells));
    }
    text += textTable(rows) + "\n";
    for (const std::string& line : limitLines(report)) text += line + "\n";
    return text;
}

}  // namespace fetaldose::assessment
