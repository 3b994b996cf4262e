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

}  // namespace

void writeResultsTables(BlockWriter& block, const RunResult& run) {
    const ResultStore& store = run.store();
    const TableLayout& layout = run.layout();
    const int rows = store.rowCount();
    const int periods = store.periodCount();
    const int tables = store.tableCount();
    const std::size_t rowBytes = store.maxRowBytes();
    std::vector<std::string_view> labels;
    for (int r = 1; r <= rows; ++r) labels.push_back(layout.rowLabel(r));
    auto label = [&labels](int r) { return labels[static_cast<std::size_t>(r - 1)]; };
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
            block.append(layout.periodHeading(n));
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
}

void writeResultsFile(const std::string& path, const RunResult& run) {
    saveTextFile(path, [&](TextWriter& out) {
        BlockWriter block(out);
        writeResultsTables(block, run);
        block.flush();
    });
}

}  // namespace fetaldose
