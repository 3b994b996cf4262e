// Fuzzes the data-file reader followed by a whole run with every box checked, so the table
// enumeration, the number reading and formatDose see every input the reader lets through.
// Every offspring dose of a completed run, whether worked out in whole numbers from plain
// fields or by the general reading, is checked against the long double sum of the two texts
// the table shows beside it, and every row the results file is written from against the
// cells of that row.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/refdata/nuclide_data.h"
#include "core/run/result_store.h"
#include "core/run/run.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "fuzz_support.h"

namespace {

fetaldose::SelectionSnapshot everythingChosen() {
    fetaldose::SelectionSnapshot selection;
    selection.nuclides = {"Fz-1"};
    selection.halfLives = {"1 d"};
    selection.memberOfPublic = selection.occupational = true;
    selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
    selection.allChronics = selection.allOrgans = selection.allPeriods = true;
    return selection;
}

// The offspring texts (cell by cell and row by row) against the general reading of the two
// texts beside them, and the rows the results file is written from against the cells.
void checkOffspringSums(const fetaldose::ResultStore& store, char separator) {
    using namespace fetaldose;
    std::string row(store.maxRowBytes(), '\0');
    auto written = [&row](char* end) {
        return std::string_view(row.data(), static_cast<std::size_t>(end - row.data()));
    };
    for (int slot = 1; slot <= store.tableCount(); ++slot)
        for (int r = 1; r <= store.rowCount(); ++r) {
            const std::string inUtero = store.inUtero(slot, r);
            const long double inUteroValue = readDose(inUtero, separator);
            std::string postNatalRow, offspringRow;
            for (int period = 1; period <= store.periodCount(); ++period) {
                const std::string postNatal = store.postNatal(slot, r, period);
                const std::string sum =
                    formatDose(inUteroValue + readDose(postNatal, separator), separator);
                if (store.offspring(slot, r, period) != sum) __builtin_trap();
                postNatalRow.append(",").append(postNatal);
                offspringRow.append(",").append(sum);
            }
            if (written(store.writeInUteroRow(slot, r, ',', row.data())) != "," + inUtero ||
                written(store.writePostNatalRow(slot, r, ',', row.data())) != postNatalRow ||
                written(store.writeOffspringRow(slot, r, ',', row.data())) != offspringRow)
                __builtin_trap();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose;
    static NuclideData scratch;
    static ResultStore store;
    static const SelectionSnapshot selection = everythingChosen();
    static const RunCheck check = checkSelection(selection);

    const std::string directory = fuzz::dataDirectory();
    fuzz::writeFile(directory + "Fz-1.dat", data, size);
    // The first byte picks the decimal separator, so both are exercised.
    const char separator = (size > 0 && (data[0] & 1)) ? ',' : '.';
    FillOutcome outcome;
    try {
        outcome = fillResultStore(selection, check, directory, separator, scratch, store);
    } catch (const Fault&) {
        return 0;  // The expected refusals: invalid counts, capacities, unreadable numbers.
    }
    if (!outcome.complete || store.tableCount() != outcome.tableCount) __builtin_trap();
    try {
        checkOffspringSums(store, separator);
    } catch (const Fault&) {
        __builtin_trap();  // a text the run read and summed must read again
    }
    return 0;
}
