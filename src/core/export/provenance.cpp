#include "core/export/provenance.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/export/export_texts.h"
#include "core/program_version.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "core/textio/sha256.h"
#include "core/textio/text_encoding.h"

namespace fetaldose {

namespace {

FileDigest digestOf(const SourceFile& file) {
    FileDigest digest;
    digest.fileName = file.fileName();
    digest.sha256 = file.sha256();
    digest.disk = file.diskStateNow();
    return digest;
}

std::string joined(const std::vector<std::string>& items) {
    if (items.empty()) return std::string(kNoneChosen);
    std::string text;
    for (const auto& item : items) {
        if (!text.empty()) text += kListJoin;
        text += item;
    }
    return text;
}

std::string line(std::string_view label, std::string_view value) {
    std::string line(label);
    line += kValueJoin;
    line += value;
    return line;
}

std::string separatorName(char separator) {
    switch (separator) {
        case '.':
            return "full stop";
        case ',':
            return "comma";
        default:
            return "'" + toUtf8(std::string_view(&separator, 1)) + "'";
    }
}

}  // namespace

std::string isoLocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_r(&time, &local);
    char text[64];
    const long offset = local.tm_gmtoff / 60;
    const long hours = (offset < 0 ? -offset : offset) / 60;
    const long minutes = (offset < 0 ? -offset : offset) % 60;
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', hours, minutes);
    return text;
}

Provenance provenanceOf(const RunResult& run) {
    return provenanceOf(run.sources(), run.selection(), run.layout());
}

Provenance provenanceOf(const RunSources& sources, const SelectionSnapshot& selection,
                        const TableLayout& layout) {
    Provenance provenance;
    provenance.programName = kProgramName;
    provenance.programVersion = kProgramVersion;
    provenance.exportedAt = isoLocalTime(std::time(nullptr));
    provenance.dataDirectory = sources.dataDirectory;
    provenance.selection = selection;
    provenance.layout = layout;
    provenance.decimalSeparator = sources.decimalSeparator;
    provenance.syntheticData = sources.syntheticData;
    if (sources.catalogue) {
        provenance.files.push_back(digestOf(*sources.catalogue));
    } else {
        FileDigest catalogue;
        catalogue.fileName = sources.catalogueName;
        catalogue.failure = sources.catalogueFailure;
        provenance.files.push_back(std::move(catalogue));
    }
    for (const SourceFile& file : sources.dataFiles) provenance.files.push_back(digestOf(file));
    return provenance;
}

FileDigest fileDigestOf(const SourceFile& file) {
    return digestOf(file);
}

std::vector<std::string> programLines(const Provenance& provenance) {
    std::vector<std::string> lines;
    lines.push_back(toUtf8(provenance.programName + " " + provenance.programVersion) +
                    std::string(kProgramDescription));
    if (provenance.syntheticData) lines.emplace_back(kSyntheticWarning);
    lines.push_back(line(kExportedLabel, provenance.exportedAt));
    return lines;
}

std::vector<std::string> pageFooterLines(const Provenance& provenance, int tableCount) {
    std::vector<std::string> lines;
    lines.push_back(toUtf8(provenance.programName + " " + provenance.programVersion) +
                    std::string(kListJoin) + line(kExportedLabel, provenance.exportedAt) +
                    std::string(kListJoin) + line(kTablesLabel, std::to_string(tableCount)) +
                    std::string(kListJoin) +
                    line(kDataFolderLabel, toUtf8(provenance.dataDirectory)));
    if (provenance.syntheticData) lines.emplace_back(kSyntheticWarning);
    return lines;
}

std::vector<std::string> dataFolderLines(const Provenance& provenance) {
    std::vector<std::string> lines;
    lines.push_back(line(kDataFolderLabel, toUtf8(provenance.dataDirectory)));
    for (const auto& file : provenance.files) {
        lines.push_back(
            line(std::string(kDigestLabel) + toUtf8(file.fileName),
                 file.failure.empty() ? file.sha256 : std::string(kUnreadableFile) + file.failure));
        if (!file.failure.empty() || file.disk == DiskState::Unchanged) continue;
        lines.push_back(line(
            kNoteLabel,
            toUtf8(file.fileName) +
                std::string(file.disk == DiskState::Differs ? kFileDiffersNow : kFileGoneNow)));
    }
    return lines;
}

std::vector<std::string> provenanceLines(const Provenance& provenance, int tableCount) {
    std::vector<std::string> lines = programLines(provenance);
    lines.push_back(line(kTablesLabel, std::to_string(tableCount)));
    for (std::string& folderLine : dataFolderLines(provenance))
        lines.push_back(std::move(folderLine));

    const SelectionSnapshot& s = provenance.selection;
    std::vector<std::string> items;
    for (std::size_t i = 0; i < s.nuclides.size(); ++i) {
        std::string item = toUtf8(s.nuclides[i]);
        if (i < s.halfLives.size())
            item += std::string(kHalfLifeOpen) + toUtf8(trimBlanks(s.halfLives[i])) + ")";
        items.push_back(std::move(item));
    }
    lines.push_back(line(kNuclidesLabel, joined(items)));

    items.clear();
    if (s.memberOfPublic) items.emplace_back(trimBlanks(kGroupLabels[0]));
    if (s.occupational) items.emplace_back(trimBlanks(kGroupLabels[1]));
    lines.push_back(line(kGroupsLabel, joined(items)));

    const bool particulates = s.allRoutes || s.particulates;
    items.clear();
    if (s.allRoutes || s.ingestion) items.emplace_back(kRouteNames[0]);
    if (particulates) items.emplace_back(kRouteNames[1]);
    if (s.allRoutes || s.vapours) items.emplace_back(kRouteNames[2]);
    lines.push_back(line(kRoutesLineLabel, joined(items)));

    // Aerosol sizes count only where particulates are chosen, as in the run.
    items.clear();
    for (std::size_t a = 0; particulates && a < kAerosolLabels.size(); ++a)
        if (s.allAerosol || s.aerosol[a]) items.emplace_back(kAerosolLabels[a]);
    lines.push_back(line(kAerosolLineLabel, joined(items)));

    items.clear();
    for (std::size_t i = 0; i < s.acuteScenarios.size(); ++i)
        if (s.allAcutes || s.acuteScenarios[i]) items.emplace_back(kScenarioTexts[i]);
    for (std::size_t i = 0; i < s.chronicScenarios.size(); ++i)
        if (s.allChronics || s.chronicScenarios[i])
            items.emplace_back(kScenarioTexts[s.acuteScenarios.size() + i]);
    lines.push_back(line(kScenariosLabel, joined(items)));

    const TableLayout& layout = provenance.layout;
    items.clear();
    for (int r = 1; r <= layout.rowCount(); ++r) items.emplace_back(layout.rowLabel(r));
    lines.push_back(line(kTissuesLineLabel, joined(items)));
    items.clear();
    for (int n = 1; n <= layout.periodCount(); ++n) items.emplace_back(layout.periodName(n));
    lines.push_back(line(kPeriodsLabel, joined(items)));

    lines.push_back(line(kSeparatorLabel,
                         separatorName(provenance.decimalSeparator) + std::string(kSeparatorNote)));
    return lines;
}

}  // namespace fetaldose
