#pragma once
// Result stores filled the way the program fills them: data files in a scratch data folder,
// then a run over a selection. Shared by the report tests and the clipboard probe.

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/refdata/nuclide_data.h"
#include "core/run/labels.h"
#include "core/run/result_store.h"
#include "core/run/run_result.h"
#include "data_file_builder.h"
#include "known_session.h"

namespace fetaldose::gui::testing {

using fetaldose::testing::knownSession;

using Run = std::shared_ptr<const RunResult>;

// Runs a selection over the data files of `dataFolder` (a path ending in '/').
inline Run runSelection(const SelectionSnapshot& selection, const std::string& dataFolder) {
    const RunCheck check = checkSelection(selection);
    if (check.stage != GridStage::LaidOut) throw std::runtime_error(check.stopMessage);
    RunOutcome outcome = runTables({selection, dataFolder, '.', {}}, check);
    if (!outcome.complete) throw std::runtime_error(outcome.stopMessage);
    return outcome.result;
}

// A data folder of made-up nuclides whose every record has its own dose texts.
class MadeUpData {
  public:
    MadeUpData() {
        if (!folder_.isValid()) throw std::runtime_error("no scratch folder");
    }

    // A run of `tableCount` tables (0, 1, or a multiple of 8 up to 800) over the first
    // `tissues` tissue items and the periods 1 and 70 years (or all five): nuclides of one
    // ingestion entry per group, 16 or 8 tables each (both groups, eight or four acute
    // scenarios); no table where particulates are asked of them.
    Run run(int tableCount, int tissues, bool allPeriods = false) {
        SelectionSnapshot s;
        s.memberOfPublic = true;
        s.ingestion = tableCount > 0;
        s.particulates = tableCount == 0;
        s.aerosol[0] = true;
        for (int i = 0; i < tissues; ++i) s.tissues[std::size_t(i)] = true;
        s.periods[0] = s.periods[4] = true;
        s.allPeriods = allPeriods;
        int nuclides = 1;
        if (tableCount <= 1) {
            s.acuteScenarios[0] = true;
        } else {
            s.occupational = true;
            const int scenarios = tableCount % 16 == 0 ? 8 : 4;
            for (int i = 0; i < scenarios; ++i) s.acuteScenarios[std::size_t(i)] = true;
            nuclides = tableCount / (2 * scenarios);
        }
        for (int k = 1; k <= nuclides; ++k) {
            const std::string name = "Mx-" + std::to_string(k);
            writeFile(name, k);
            s.nuclides.push_back(name);
            s.halfLives.push_back(std::to_string(k) + ".0y");
        }
        return runSelection(s, dataFolder());
    }

    std::string dataFolder() const { return (folder_.path() + QStringLiteral("/")).toStdString(); }

  private:
    void writeFile(const std::string& name, int nuclide) {
        using fetaldose::testing::DataFileBuilder;
        using fetaldose::testing::RecordPlace;
        using fetaldose::testing::valueLine;
        // In utero "k.sE-1r" and post-natal "p.gE-1r" for nuclide k, scenario s, group g,
        // period p and row r: readable numbers that tell their record and cell apart.
        const std::string text =
            DataFileBuilder({0, 0, 1}, {0, 0, 1})
                .lines([nuclide](const RecordPlace& place, int line) {
                    if (line < 3) return DataFileBuilder::defaultLine(place, line);
                    return valueLine([&](int row) {
                        const int lead = line == 3 ? 1 + nuclide % 9 : line - 3;
                        const int second = line == 3 ? place.scenario % 10 : place.group;
                        return std::to_string(lead) + "." + std::to_string(second) + "E-1" +
                               std::to_string(row % 10);
                    });
                })
                .build();
        QFile file(folder_.filePath(QString::fromStdString(name + ".dat")));
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(text.data(), qint64(text.size())) != qint64(text.size()))
            throw std::runtime_error("cannot write a data file");
    }

    QTemporaryDir folder_;
};

}  // namespace fetaldose::gui::testing
