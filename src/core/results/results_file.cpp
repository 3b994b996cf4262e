#include "core/results/results_file.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/results/results_texts.h"
#include "core/textio/block_writer.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

static_assert(kResultsFieldSeparator.size() == 1);
constexpr char kFieldSeparator = kResultsFieldSeparator.front();
// One row: its label, the row's texts (each after the field separator), the line end.
template <typename WriteRow>
void row(BlockWriter& block, std::string_view label, std::size_t rowBytes, WriteRow writeRow) {
    char* at = BlockWriter::copy(block.room(label.size() + rowBytes + BlockWriter::kLineEnd.size()),
                                 label);
    block.used(BlockWriter::copy(writeRow(at), BlockWriter::kLineEnd));
}

// Checked before anything is written: a missing label must not leave a short file.
void requireLabels(const ResultStore& store, const std::vector<std::string>& rowLabels,
                   const std::vector<std::string>& periodHeadings) {
    if (store.tableCount() > 0 &&
        (rowLabels.size() < static_cast<std::size_t>(store.rowCount()) ||
         periodHeadings.size() < static_cast<std::size_t>(store.periodCount())))
        throw RangeError();
}

void writeTables(TextWriter& out, const ResultStore& store,
                 const std::vector<std::string>& rowLabels,
                 const std::vector<std::string>& periodHeadings) {
    const int rows = store.rowCount();
    const int periods = store.periodCount();
    const int tables = store.tableCount();
    BlockWriter block(out);
    const std::size_t rowBytes = store.maxRowBytes();
    auto label = [&rowLabels](int r) {
        return std::string_view(rowLabels[static_cast<std::size_t>(r - 1)]);
    };
    for (int t = 1; t <= tables; ++t) {
        block.line(store.nuclide(t));
        block.line(store.group(t));
        block.line(store.route(t));
        block.line(store.scenario(t));
        block.line(store.summary(t));

        block.line(kInUteroDosesLine);
        for (int r = 1; r <= rows; ++r)
            row(block, label(r), rowBytes,
                [&](char* at) { return store.writeInUteroRow(t, r, kFieldSeparator, at); });

        block.append(kTimePeriodsPrefix);
        for (int n = 1; n <= periods; ++n) {
            block.append(kResultsFieldSeparator);
            block.append(periodHeadings[static_cast<std::size_t>(n - 1)]);
        }
        block.line({});

        block.line(kPostNatalDosesLine);
        for (int r = 1; r <= rows; ++r)
            row(block, label(r), rowBytes,
                [&](char* at) { return store.writePostNatalRow(t, r, kFieldSeparator, at); });
        block.line(kOffspringDosesLine);
        for (int r = 1; r <= rows; ++r)
            row(block, label(r), rowBytes,
                [&](char* at) { return store.writeOffspringRow(t, r, kFieldSeparator, at); });
    }
    block.flush();
}

}  // namespace

void writeResultsFile(const std::string& path, const ResultStore& store,
                      const std::vector<std::string>& rowLabels,
                      const std::vector<std::string>& periodHeadings) {
    requireLabels(store, rowLabels, periodHeadings);
    saveTextFile(path,
                 [&](TextWriter& out) { writeTables(out, store, rowLabels, periodHeadings); });
}

void writeResults(TextWriter& out, const ResultStore& store,
                  const std::vector<std::string>& rowLabels,
                  const std::vector<std::string>& periodHeadings) {
    requireLabels(store, rowLabels, periodHeadings);
    writeTables(out, store, rowLabels, periodHeadings);
    out.flush();
}

}  // namespace fetaldose
