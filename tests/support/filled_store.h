#pragma once
// A result store filled the way a run fills it: data-file texts written to a scratch directory
// and read by fillResultStore.

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/run/run.h"
#include "core/run/run_result.h"
#include "scratch_directory.h"

namespace fetaldose::testing {

// Every box checked, for the nuclides named.
inline SelectionSnapshot everythingChosen(const std::vector<std::string>& nuclides) {
    SelectionSnapshot selection;
    selection.nuclides = nuclides;
    selection.halfLives.assign(nuclides.size(), "1 d");
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
    selection.allChronics = selection.allOrgans = selection.allPeriods = true;
    return selection;
}

// Runs the selection over data files holding `texts`, the i-th named after the selection's
// i-th nuclide; the run's faults are thrown as the run throws them.
// Writes `texts` into `dir`, the i-th as the data file of the selection's i-th nuclide, and
// checks the selection, which must be complete.
inline RunCheck prepareRun(const ScratchDirectory& dir, const SelectionSnapshot& selection,
                           const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
        writeBytes(dir.file(selection.nuclides.at(i) + ".dat"), texts[i]);
    const RunCheck check = checkSelection(selection);
    if (check.stage != GridStage::LaidOut) throw std::logic_error(check.stopMessage);
    return check;
}

inline FillOutcome fillFromTexts(ResultStore& store, const SelectionSnapshot& selection,
                                 const std::vector<std::string>& texts, char separator = '.') {
    ScratchDirectory dir;
    const RunCheck check = prepareRun(dir, selection, texts);
    auto scratch = std::make_unique<NuclideData>();
    return fillResultStore(selection, check, dir.slash(), separator, *scratch, store);
}

// The same run, as the program makes it: its outcome, with the run when it completes.
inline RunOutcome runFromTexts(const SelectionSnapshot& selection,
                               const std::vector<std::string>& texts, char separator = '.') {
    ScratchDirectory dir;
    const RunCheck check = prepareRun(dir, selection, texts);
    return runTables({selection, dir.slash(), separator, {}}, check);
}

// A complete run of the selection over the data folder `dataDirectory` (ending with '/').
inline std::shared_ptr<const RunResult> completeRun(const SelectionSnapshot& selection,
                                                    const std::string& dataDirectory,
                                                    char separator = '.') {
    const RunCheck check = checkSelection(selection);
    if (check.stage != GridStage::LaidOut) throw std::logic_error(check.stopMessage);
    RunOutcome outcome = runTables({selection, dataDirectory, separator, {}}, check);
    if (!outcome.complete) throw std::logic_error("run stopped: " + outcome.stopMessage);
    return outcome.result;
}

}  // namespace fetaldose::testing
