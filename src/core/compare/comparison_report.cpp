#include "core/compare/comparison_report.h"

#include <charconv>
#include <cmath>
#include <ctime>
#include <string_view>

#include "core/compare/compare_texts.h"
#include "core/export/export_texts.h"
#include "core/export/provenance.h"
#include "core/program_version.h"
#include "core/refdata/catalogue.h"
#include "core/textio/output_guard.h"
#include "core/textio/text_encoding.h"

namespace fetaldose {

namespace texts = compare_texts;

namespace {

std::string utf8(std::string_view bytes) {
    return toUtf8(trimBlanks(bytes));
}

std::string count(long long n) {
    return std::to_string(n);
}

std::string sideWord(DataSetSide side) {
    return std::string(texts::kSideWords[static_cast<std::size_t>(side)]);
}

std::string thresholdText(double threshold) {
    if (threshold <= 0) return std::string(texts::kThresholdAnyChange);
    return ratioText(threshold) + std::string(texts::kThresholdNote);
}

std::string presenceText(NuclidePresence presence) {
    switch (presence) {
        case NuclidePresence::Both:
            return std::string(texts::kPresenceBoth);
        case NuclidePresence::ReferenceOnly:
            return std::string(texts::kOnlyIn) + sideWord(DataSetSide::Reference);
        case NuclidePresence::CandidateOnly:
            return std::string(texts::kOnlyIn) + sideWord(DataSetSide::Candidate);
        case NuclidePresence::Neither:
            break;
    }
    return std::string(texts::kOnNeitherSide);
}

std::string optionalRatio(const std::optional<double>& ratio) {
    return ratio ? ratioText(*ratio) : std::string(texts::kNoRatio);
}

// "1.5 | Pu-239 | Member of the public | route | scenario | Bladder | post-natal 1y | a -> b".
std::string changeLine(const Comparison& comparison, const CellDifference& cell) {
    const CellDescription d = describeCell(comparison, cell);
    std::string line = "  " + d.ratio;
    for (const std::string* part : {&d.nuclide, &d.group, &d.route, &d.scenario, &d.tissue})
        line.append(texts::kKeyJoin).append(*part);
    line.append(texts::kKeyJoin).append(d.quantity);
    if (!d.period.empty()) line.append(texts::kPeriodJoin).append(d.period);
    line.append(texts::kKeyJoin).append(d.referenceDose).append(texts::kHalfLifeArrow);
    line.append(d.candidateDose);
    return line;
}

std::string doseText(const RunResult& run, int table, const CellDifference& cell) {
    std::string text;
    switch (cell.quantity) {
        case CellQuantity::InUtero:
            text = run.inUteroText(table, cell.row);
            break;
        case CellQuantity::PostNatal:
            text = run.postNatalText(table, cell.row, cell.period);
            break;
        case CellQuantity::Offspring:
            text = run.offspringText(table, cell.row, cell.period);
            break;
    }
    std::string point;
    return pointFormOfDose(text, run.decimalSeparator(), point) ? point : text;
}

SheetCell textCell(std::string text) {
    return SheetCell::ofText(std::move(text));
}

SheetCell numberCell(long long n) {
    return SheetCell::ofNumber(std::to_string(n), static_cast<double>(n));
}

SheetCell doseCell(const std::string& text, double value) {
    return SheetCell::ofNumber(text, value);
}

SheetCell ratioCell(const CellDifference& cell, const std::string& text) {
    if (text.empty() || !std::isfinite(cell.ratio)) return textCell(text);
    return SheetCell::ofNumber(text, cell.ratio);
}

std::vector<std::string> columnsOf(const auto& names) {
    return std::vector<std::string>(names.begin(), names.end());
}

std::vector<SheetCell> differenceCells(const Comparison& comparison, const CellDifference& cell) {
    const CellDescription d = describeCell(comparison, cell);
    return {textCell(d.nuclide),
            textCell(d.group),
            textCell(d.route),
            textCell(d.scenario),
            textCell(d.tissue),
            textCell(d.quantity),
            textCell(d.period),
            doseCell(d.referenceDose, cell.reference),
            doseCell(d.candidateDose, cell.candidate),
            ratioCell(cell, d.ratio),
            textCell(d.status),
            numberCell(cell.referenceTable),
            numberCell(cell.candidateTable)};
}

std::vector<std::string> differenceFormats(std::size_t leading) {
    std::vector<std::string> formats(leading, "");
    for (int c = 0; c < 7; ++c) formats.emplace_back();
    formats.emplace_back(kDoseNumberFormat);
    formats.emplace_back(kDoseNumberFormat);
    return formats;
}

}  // namespace

std::string ratioText(double ratio) {
    char text[64];
    const auto result =
        std::to_chars(text, text + sizeof text, ratio, std::chars_format::general, 7);
    return std::string(text, result.ptr);
}

std::string_view statusWord(CellStatus status) {
    switch (status) {
        case CellStatus::Equal:
            return texts::kEqualWord;
        case CellStatus::WithinThreshold:
            return texts::kWithinWord;
        case CellStatus::Changed:
            return texts::kChangedWord;
        case CellStatus::New:
            return texts::kNewWord;
        case CellStatus::Gone:
            break;
    }
    return texts::kGoneWord;
}

CellDescription describeCell(const Comparison& comparison, const CellDifference& cell) {
    const RunResult& ref = *comparison.reference;
    const RunResult& cand = *comparison.candidate;
    const int t = cell.referenceTable;
    CellDescription d;
    d.nuclide = toUtf8(ref.nuclideName(t));
    d.group = utf8(ref.groupHeading(t));
    d.route = utf8(ref.routeHeading(t));
    d.scenario = utf8(ref.scenarioHeading(t));
    d.tissue = std::string(ref.layout().rowLabel(cell.row));
    switch (cell.quantity) {
        case CellQuantity::InUtero:
            d.quantity = texts::kInUteroWord;
            break;
        case CellQuantity::PostNatal:
            d.quantity = texts::kPostNatalWord;
            break;
        case CellQuantity::Offspring:
            d.quantity = texts::kOffspringWord;
            break;
    }
    if (cell.period > 0) d.period = std::string(ref.layout().periodName(cell.period));
    d.referenceDose = doseText(ref, t, cell);
    d.candidateDose = doseText(cand, cell.candidateTable, cell);
    if (cell.status != CellStatus::New && cell.status != CellStatus::Gone)
        d.ratio = ratioText(cell.ratio);
    d.status = std::string(statusWord(cell.status));
    return d;
}

std::vector<std::string> comparisonSummary(const Comparison& c) {
    std::vector<std::string> lines;
    auto add = [&lines](std::string_view a, std::string_view b = {}) {
        lines.push_back(std::string(a) + std::string(b));
    };
    add(texts::kSummaryTitle);
    add(texts::kReferenceLabel, toUtf8(c.referenceDirectory));
    add(texts::kCandidateLabel, toUtf8(c.candidateDirectory));
    add(texts::kScopeLabel,
        c.scope == CompareScope::Selection ? texts::kScopeSelection : texts::kScopeEverything);
    add(texts::kThresholdLabel, thresholdText(c.threshold));
    add(c.valuesAgree() ? texts::kVerdictAgree : texts::kVerdictDiffer);

    add(texts::kCellsHeading);
    add(texts::kCellsCompared, count(c.cells.compared));
    add(texts::kCellsEqual, count(c.cells.equal));
    add(texts::kCellsWithin, count(c.cells.withinThreshold));
    add(texts::kCellsChanged, count(c.cells.changed));
    add(texts::kCellsNew, count(c.cells.newCells));
    add(texts::kCellsGone, count(c.cells.goneCells));
    add(texts::kTablesHeading);
    add(texts::kTablesMatched, count(c.matchedTables));
    add(texts::kTablesReferenceOnly, count(c.referenceOnlyTables));
    add(texts::kTablesCandidateOnly, count(c.candidateOnlyTables));
    add(texts::kFilesHeading);
    add(texts::kIdenticalDataFiles, count(c.identicalDataFiles));
    add(c.identicalCatalogues ? texts::kCataloguesIdentical : texts::kCataloguesDiffer);

    add(texts::kCatalogueHeading);
    for (const CatalogueChange& change : c.catalogueChanges) {
        switch (change.kind) {
            case CatalogueChange::Kind::Added:
                add(texts::kCatalogueAdded, toUtf8(change.name) + std::string(kHalfLifeOpen) +
                                                utf8(change.candidateHalfLife) + ")");
                break;
            case CatalogueChange::Kind::Removed:
                add(texts::kCatalogueRemoved, toUtf8(change.name) + std::string(kHalfLifeOpen) +
                                                  utf8(change.referenceHalfLife) + ")");
                break;
            case CatalogueChange::Kind::HalfLifeChanged:
                add(texts::kCatalogueHalfLife,
                    toUtf8(change.name) + std::string(texts::kSideMessageJoin) +
                        utf8(change.referenceHalfLife) + std::string(texts::kHalfLifeArrow) +
                        utf8(change.candidateHalfLife));
                break;
        }
    }
    if (c.catalogueChanges.empty()) add(texts::kNone);

    add(texts::kOneSidedNuclidesHeading);
    bool any = false;
    for (const NuclideComparison& n : c.nuclides) {
        if (n.presence == NuclidePresence::Both) continue;
        any = true;
        const int tables = n.referenceTables + n.candidateTables;
        add("  ", toUtf8(n.name) + std::string(texts::kSideMessageJoin) + presenceText(n.presence) +
                      ", " + count(tables) + std::string(texts::kTablesSuffix));
    }
    if (!any) add(texts::kNone);

    add(texts::kOneSidedEntriesHeading);
    for (const OneSidedEntry& e : c.oneSidedEntries)
        add("  ", toUtf8(e.nuclide) + std::string(texts::kKeyJoin) + utf8(e.group) +
                      std::string(texts::kKeyJoin) + utf8(e.routeText) +
                      std::string(texts::kSideMessageJoin) + std::string(texts::kOnlyIn) +
                      sideWord(e.side) + ", " + count(e.tables) +
                      std::string(texts::kTablesSuffix));
    if (c.oneSidedEntries.empty()) add(texts::kNone);

    add(texts::kIncreasesHeading);
    for (const CellDifference& cell : c.largestIncreases) lines.push_back(changeLine(c, cell));
    if (c.largestIncreases.empty()) add(texts::kNone);
    add(texts::kDecreasesHeading);
    for (const CellDifference& cell : c.largestDecreases) lines.push_back(changeLine(c, cell));
    if (c.largestDecreases.empty()) add(texts::kNone);

    add(texts::kNuclidesHeading);
    for (const NuclideComparison& n : c.nuclides) {
        if (n.presence != NuclidePresence::Both) continue;
        add("  ", toUtf8(n.name) + std::string(texts::kSideMessageJoin) + count(n.cells.compared) +
                      ", " + count(n.cells.beyondThreshold()) + ", " +
                      optionalRatio(n.largestRatio) + ", " + optionalRatio(n.smallestRatio) +
                      std::string(n.identicalDataFiles ? texts::kIdenticalMark : ""));
    }
    if (c.differencesCapped())
        add(std::string(texts::kListCapped1) + count(static_cast<long long>(c.differences.size())) +
            std::string(texts::kListCapped2) + count(c.cells.beyondThreshold()) +
            std::string(texts::kListCapped3));
    return lines;
}

std::vector<std::string> comparisonProvenance(const Comparison& c) {
    std::vector<std::string> lines;
    lines.push_back(toUtf8(std::string(kProgramName) + " " + kProgramVersion) +
                    std::string(texts::kProvenanceTitle));
    lines.push_back(std::string(kExportedLabel) + std::string(kValueJoin) +
                    isoLocalTime(std::time(nullptr)));
    lines.push_back(std::string(texts::kScopeLabel) + std::string(c.scope == CompareScope::Selection
                                                                      ? texts::kScopeSelection
                                                                      : texts::kScopeEverything));
    lines.push_back(std::string(texts::kThresholdLabel) + thresholdText(c.threshold));
    if (c.differencesCapped())
        lines.push_back(std::string(texts::kListCapped1) +
                        count(static_cast<long long>(c.differences.size())) +
                        std::string(texts::kListCapped2) + count(c.cells.beyondThreshold()) +
                        std::string(texts::kListCapped3));
    const std::pair<DataSetSide, const std::shared_ptr<const RunResult>*> sides[] = {
        {DataSetSide::Reference, &c.reference}, {DataSetSide::Candidate, &c.candidate}};
    for (const auto& [side, run] : sides) {
        const std::string label = std::string(texts::kSideNames[static_cast<std::size_t>(side)]) +
                                  std::string(texts::kProvenanceSideJoin);
        if (*run) {
            std::vector<std::string> own =
                provenanceLines(provenanceOf(**run), (*run)->tableCount());
            // Its first line names the program, said once above for both.
            for (std::size_t i = 1; i < own.size(); ++i) lines.push_back(label + own[i]);
            continue;
        }
        const std::string& directory =
            side == DataSetSide::Reference ? c.referenceDirectory : c.candidateDirectory;
        const std::optional<SourceFile>& catalogue =
            side == DataSetSide::Reference ? c.referenceCatalogue : c.candidateCatalogue;
        lines.push_back(label + std::string(texts::kProvenanceNoRun));
        lines.push_back(label + std::string(texts::kProvenanceDataFolder) + toUtf8(directory));
        if (catalogue)
            lines.push_back(label + std::string(texts::kProvenanceCatalogue) +
                            toUtf8(catalogue->fileName()) + std::string(kValueJoin) +
                            catalogue->sha256());
    }
    return lines;
}

std::vector<SheetTable> comparisonSheets(const Comparison& c) {
    std::vector<SheetTable> sheets;

    SheetTable summary;
    summary.sheetName = texts::kSummarySheet;
    summary.columns = {std::string(texts::kSummaryColumn)};
    for (const std::string& line : comparisonSummary(c)) summary.rows.push_back({textCell(line)});
    sheets.push_back(std::move(summary));

    SheetTable differences;
    differences.sheetName = texts::kDifferencesSheet;
    differences.columns = columnsOf(texts::kDifferenceColumns);
    differences.numberFormats = differenceFormats(0);
    differences.rows.reserve(c.differences.size());
    for (const CellDifference& cell : c.differences)
        differences.rows.push_back(differenceCells(c, cell));
    sheets.push_back(std::move(differences));

    SheetTable largest;
    largest.sheetName = texts::kLargestSheet;
    largest.columns = {std::string(texts::kDirectionColumn)};
    for (const std::string_view column : texts::kDifferenceColumns)
        largest.columns.emplace_back(column);
    largest.numberFormats = differenceFormats(1);
    for (const auto& [word, cells] : {std::pair{texts::kIncreaseWord, &c.largestIncreases},
                                      std::pair{texts::kDecreaseWord, &c.largestDecreases}})
        for (const CellDifference& cell : *cells) {
            std::vector<SheetCell> row = {textCell(std::string(word))};
            for (SheetCell& part : differenceCells(c, cell)) row.push_back(std::move(part));
            largest.rows.push_back(std::move(row));
        }
    sheets.push_back(std::move(largest));

    SheetTable nuclides;
    nuclides.sheetName = texts::kNuclidesSheet;
    nuclides.columns = columnsOf(texts::kNuclideColumns);
    nuclides.columns.emplace_back(texts::kSmallestRatioColumn);
    for (const NuclideComparison& n : c.nuclides) {
        auto ratio = [](const std::optional<double>& r) {
            return r && std::isfinite(*r) ? SheetCell::ofNumber(ratioText(*r), *r)
                                          : textCell(optionalRatio(r));
        };
        nuclides.rows.push_back(
            {textCell(toUtf8(n.name)), textCell(presenceText(n.presence)),
             textCell(utf8(n.referenceHalfLife)), textCell(utf8(n.candidateHalfLife)),
             textCell(std::string(n.identicalDataFiles ? texts::kYes : texts::kNo)),
             numberCell(n.referenceTables), numberCell(n.candidateTables),
             numberCell(n.matchedTables), numberCell(n.cells.compared), numberCell(n.cells.equal),
             numberCell(n.cells.changed), numberCell(n.cells.newCells),
             numberCell(n.cells.goneCells), ratio(n.largestRatio), ratio(n.smallestRatio)});
    }
    sheets.push_back(std::move(nuclides));

    SheetTable oneSided;
    oneSided.sheetName = texts::kOneSidedSheet;
    oneSided.columns = columnsOf(texts::kOneSidedColumns);
    for (const NuclideComparison& n : c.nuclides) {
        if (n.presence == NuclidePresence::Both) continue;
        const bool inReference = n.presence == NuclidePresence::ReferenceOnly;
        oneSided.rows.push_back({textCell(n.presence == NuclidePresence::Neither
                                              ? std::string(texts::kOnNeitherSide)
                                              : sideWord(inReference ? DataSetSide::Reference
                                                                     : DataSetSide::Candidate)),
                                 textCell(std::string(texts::kWhatNuclide)),
                                 textCell(toUtf8(n.name)), textCell({}), textCell({}),
                                 numberCell(n.referenceTables + n.candidateTables)});
    }
    for (const OneSidedEntry& e : c.oneSidedEntries)
        oneSided.rows.push_back({textCell(sideWord(e.side)),
                                 textCell(std::string(texts::kWhatRouteEntry)),
                                 textCell(toUtf8(e.nuclide)), textCell(utf8(e.group)),
                                 textCell(utf8(e.routeText)), numberCell(e.tables)});
    sheets.push_back(std::move(oneSided));

    SheetTable catalogue;
    catalogue.sheetName = texts::kCatalogueSheet;
    catalogue.columns = columnsOf(texts::kCatalogueColumns);
    for (const CatalogueChange& change : c.catalogueChanges) {
        const std::string_view kind =
            change.kind == CatalogueChange::Kind::Added     ? texts::kAddedWord
            : change.kind == CatalogueChange::Kind::Removed ? texts::kRemovedWord
                                                            : texts::kHalfLifeWord;
        catalogue.rows.push_back({textCell(std::string(kind)), textCell(toUtf8(change.name)),
                                  textCell(utf8(change.referenceHalfLife)),
                                  textCell(utf8(change.candidateHalfLife))});
    }
    sheets.push_back(std::move(catalogue));
    return sheets;
}

std::vector<std::string> comparisonInputs(const Comparison& c) {
    std::vector<std::string> inputs = dataSetFiles(c.referenceDirectory);
    for (std::string& file : dataSetFiles(c.candidateDirectory)) inputs.push_back(std::move(file));
    for (const auto* run : {c.reference.get(), c.candidate.get()}) {
        if (!run) continue;
        for (const SourceFile& file : run->sources().dataFiles) inputs.push_back(file.path());
    }
    return inputs;
}

void exportComparison(OutputFormat format, const std::string& path, const Comparison& c) {
    refuseOutputOverInputs(path, comparisonInputs(c));
    SheetNotes notes;
    notes.leading = comparisonProvenance(c);
    exportSheets(format, path, comparisonSheets(c), notes);
}

}  // namespace fetaldose
