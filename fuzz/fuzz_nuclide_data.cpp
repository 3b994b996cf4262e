// Fuzzes the data-file reader followed by a whole run with every box checked, so the table
// enumeration, the number reading and FormatDose see every input the reader lets through.
// Every offspring dose of a completed run is checked against the plain long double sum of
// the two texts the table shows beside it.

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/refdata/nuclide_data.h"
#include "core/run/result_store.h"
#include "core/run/run.h"
#include "core/run/table_values.h"
#include "core/textio/faults.h"
#include "fuzz_support.h"

namespace {

fetaldose::SelectionSnapshot EverythingChosen() {
    fetaldose::SelectionSnapshot selection;
    selection.Nuclides = {"Fz-1"};
    selection.HalfLives = {"1 d"};
    selection.Public = selection.Occupational = true;
    selection.AllRoutes = selection.AllAerosol = selection.AllAcutes = true;
    selection.AllChronics = selection.AllOrgans = selection.AllPeriods = true;
    return selection;
}

void CheckOffspringSums(const fetaldose::ResultStore& store, char separator) {
    using namespace fetaldose;
    for (int slot = 1; slot <= store.TableCount(); ++slot)
        for (int row = 1; row <= store.RowCount(); ++row) {
            const long double inUtero = ReadDose(store.InUtero(slot, row), separator);
            for (int period = 1; period <= store.PeriodCount(); ++period) {
                const long double postNatal =
                    ReadDose(store.PostNatal(slot, row, period), separator);
                if (store.Offspring(slot, row, period) !=
                    FormatDose(inUtero + postNatal, separator))
                    __builtin_trap();
            }
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fetaldose;
    static NuclideData scratch;
    static ResultStore store;
    static const SelectionSnapshot selection = EverythingChosen();
    static const RunCheck check = CheckSelection(selection);

    const std::string directory = fuzz::DataDirectory();
    fuzz::WriteFile(directory + "Fz-1.dat", data, size);
    // The first byte picks the decimal separator, so both are exercised.
    const char separator = (size > 0 && (data[0] & 1)) ? ',' : '.';
    FillOutcome outcome;
    try {
        outcome = FillResultStore(selection, check, directory, separator, scratch, store);
    } catch (const Fault&) {
        return 0;  // Documented outcomes: invalid counts, capacities, unreadable numbers.
    }
    if (!outcome.Complete || store.TableCount() != outcome.TableCount) __builtin_trap();
    try {
        CheckOffspringSums(store, separator);
    } catch (const Fault&) {
        __builtin_trap();  // a text the run read and summed must read again
    }
    return 0;
}
