#include "core/results/results_file.h"

#include "core/results/results_texts.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

template <typename Cell>
void WriteDoseRows(TextWriter& out, const std::vector<std::string>& rowLabels, int rows,
                   int periods, Cell cell) {
    for (int r = 1; r <= rows; ++r) {
        out.Write(rowLabels[static_cast<std::size_t>(r - 1)]);
        for (int n = 1; n <= periods; ++n) {
            out.Write(kResultsFieldSeparator);
            out.Write(cell(r, n));
        }
        out.EndLine();
    }
}

// Checked before anything is written: a missing label must not leave a short file.
void requireLabels(const ResultStore& store, const std::vector<std::string>& rowLabels,
                   const std::vector<std::string>& periodHeadings) {
    if (store.TableCount() > 0 &&
        (rowLabels.size() < static_cast<std::size_t>(store.RowCount()) ||
         periodHeadings.size() < static_cast<std::size_t>(store.PeriodCount())))
        throw RangeError();
}

void writeTables(TextWriter& out, const ResultStore& store,
                 const std::vector<std::string>& rowLabels,
                 const std::vector<std::string>& periodHeadings) {
    const int rows = store.RowCount();
    const int periods = store.PeriodCount();
    const int tables = store.TableCount();
    for (int t = 1; t <= tables; ++t) {
        out.WriteLine(store.Nuclide(t));
        out.WriteLine(store.Group(t));
        out.WriteLine(store.Route(t));
        out.WriteLine(store.Scenario(t));
        out.WriteLine(store.Summary(t));

        out.WriteLine(kInUteroDosesLine);
        for (int r = 1; r <= rows; ++r) {
            out.Write(rowLabels[static_cast<std::size_t>(r - 1)]);
            out.Write(kResultsFieldSeparator);
            out.Write(store.InUtero(t, r));
            out.EndLine();
        }

        out.Write(kTimePeriodsPrefix);
        for (int n = 1; n <= periods; ++n) {
            out.Write(kResultsFieldSeparator);
            out.Write(periodHeadings[static_cast<std::size_t>(n - 1)]);
        }
        out.EndLine();

        out.WriteLine(kPostNatalDosesLine);
        WriteDoseRows(out, rowLabels, rows, periods,
                      [&](int r, int n) { return store.PostNatal(t, r, n); });
        out.WriteLine(kOffspringDosesLine);
        WriteDoseRows(out, rowLabels, rows, periods,
                      [&](int r, int n) { return store.Offspring(t, r, n); });
    }
}

}  // namespace

void WriteResultsFile(const std::string& path, const ResultStore& store,
                      const std::vector<std::string>& rowLabels,
                      const std::vector<std::string>& periodHeadings) {
    requireLabels(store, rowLabels, periodHeadings);
    SaveTextFile(path,
                 [&](TextWriter& out) { writeTables(out, store, rowLabels, periodHeadings); });
}

void writeResults(TextWriter& out, const ResultStore& store,
                  const std::vector<std::string>& rowLabels,
                  const std::vector<std::string>& periodHeadings) {
    requireLabels(store, rowLabels, periodHeadings);
    writeTables(out, store, rowLabels, periodHeadings);
    out.Flush();
}

}  // namespace fetaldose
