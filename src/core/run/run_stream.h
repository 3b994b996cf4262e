#pragma once
// A run made nuclide by nuclide, for outputs too large to hold whole: each chosen nuclide's
// tables are made as a run of that nuclide alone, handed over in the chosen order and let go.
// Worker threads make the next nuclides' tables (and whatever the consumer prepares from them,
// formatted bytes, say) while the calling thread takes the earlier ones, so a run over many
// files keeps the processors busy and holds only a few nuclides at any time.

#include <functional>
#include <memory>
#include <string>

#include "core/run/run.h"
#include "core/run/run_result.h"
#include "core/textio/faults.h"

namespace fetaldose {

// One chosen nuclide's tables, as a run of that nuclide alone: its selection holds the one
// nuclide (and its half-life), its tables are numbered from 1, its sources name the one data
// file (and the catalogue).
struct RunPart {
    std::shared_ptr<const RunResult> tables;
    int nuclide = 0;       // its place in the chosen list, from 0
    int nuclideCount = 0;  // nuclides chosen
    // Tables of the nuclides before it in the chosen list: known when the part is taken, not
    // while it is prepared (0 then).
    int tablesBefore = 0;
};

// What the calling thread does with a part when its turn comes.
using TakePart = std::function<void(const RunPart&)>;
// Made of a part on a worker thread, several at a time: the step its turn then runs.
using PreparePart = std::function<TakePart(const RunPart&)>;

// The workers a machine's processors keep busy beside the calling thread.
int defaultStreamWorkers();

struct StreamOptions {
    // Threads that make parts beside the calling thread (at least 1).
    int workers = defaultStreamWorkers();
    // Work out each data file's digest on the workers and give it in the outcome's sources;
    // a file chosen twice that reads otherwise the second time then fails the run.
    bool digests = false;
};

struct StreamOutcome {
    bool complete = false;    // every part made and taken
    std::string stopMessage;  // as a whole run's: "Cannot find the nuclide file", say
    int tableCount = 0;       // tables of the parts taken
    // As a whole run's sources, but each data file without its bytes (its path, identity and
    // digest); the data files are named with StreamOptions::digests only.
    RunSources sources;
};

// The fault of a data file read twice in one run that held other bytes the second time.
Fault changedDuringRun(const std::string& file);

// Every table of a checked selection (see checkSelection), nuclide by nuclide. `prepare` runs on
// the workers, once per part; the step it returns runs on the calling thread, part by part in
// the chosen order. A run stops, or throws a fault of reading or of the sums, at the nuclide
// and with the message a whole run would (runTables); the parts before it have been taken, none
// after it. A fault that `prepare` or a step throws ends the stream and is thrown from here.
StreamOutcome streamTables(const RunRequest& request, const RunCheck& check,
                           const PreparePart& prepare, const StreamOptions& options = {});

}  // namespace fetaldose
