#include "core/export/dose_rows.h"

#include "core/export/export_texts.h"
#include "core/textio/text_encoding.h"

namespace fetaldose::exporting {

namespace {

constexpr int kProgressStep = 256;

}  // namespace

std::vector<std::string> columnNames(const TableLayout& layout) {
    std::vector<std::string> names(kExportTextColumns.begin(), kExportTextColumns.end());
    names.emplace_back(kInUteroColumn);
    for (int n = 1; n <= layout.periodCount(); ++n) {
        for (const auto prefix : {kPostNatalColumnPrefix, kOffspringColumnPrefix}) {
            std::string name(prefix);
            name += layout.periodName(n);
            name += kDoseColumnSuffix;
            names.push_back(std::move(name));
        }
    }
    return names;
}

std::string cellText(std::string_view bytes) {
    return toUtf8(trimBlanks(bytes));
}

TableTexts tableTexts(const RunResult& run, int table) {
    TableTexts texts;
    texts.nuclide = cellText(run.nuclideName(table));
    texts.halfLife = cellText(run.halfLife(table));
    texts.group = cellText(run.groupHeading(table));
    texts.route = cellText(run.routeHeading(table));
    texts.scenario = cellText(run.scenarioHeading(table));
    return texts;
}

bool tableWritten(int table, int tableCount, const ExportProgress& progress) {
    if (progress && (table % kProgressStep == 0 || table == tableCount))
        return progress(table, tableCount);
    return true;
}

}  // namespace fetaldose::exporting
