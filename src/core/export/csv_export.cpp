#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/csv_field.h"
#include "core/export/dose_rows.h"
#include "core/export/table_export.h"
#include "core/run/table_values.h"
#include "core/textio/block_writer.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

// Copies one number of a row the store wrote with '.' marks, from `from` (at its comma) to
// the next comma or `end`; returns the end of the copy and moves `from` past the number.
char* copyField(const char*& from, const char* end, char* at) {
    const char* next = from + 1;
    while (next < end && *next != ',') ++next;
    const auto length = static_cast<std::size_t>(next - from);
    std::memcpy(at, from, length);
    from = next;
    return at + length;
}

// Thrown inside the save to stop it when the user cancels: the save then leaves no file.
struct Cancelled {};

}  // namespace

CsvTables::CsvTables(const TableLayout& layout) : columns_(exporting::columnNames(layout)) {
    for (int r = 1; r <= layout.rowCount(); ++r) {
        tissues_.emplace_back();
        exporting::appendCsvField(tissues_.back(), exporting::cellText(layout.rowLabel(r)));
    }
}

void CsvTables::writeHead(TextWriter& out, const std::vector<std::string>& provenanceLines) const {
    std::string line;
    for (const auto& text : provenanceLines) {
        line.clear();
        exporting::appendCsvField(line, "# " + text);
        out.writeLine(line);
    }
    line.clear();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c > 0) line += ',';
        exporting::appendCsvField(line, columns_[c]);
    }
    out.writeLine(line);
}

bool CsvTables::writeRows(BlockWriter& block, const RunResult& run,
                          const std::function<bool(int)>& tableWritten) const {
    const ResultStore& store = run.store();
    const int tableCount = run.tableCount();
    const int rows = run.layout().rowCount();
    const int periods = run.layout().periodCount();
    const char separator = run.decimalSeparator();

    // The texts of a table are the same on each of its rows: quoted once, written as one.
    std::string prefix;
    std::string number;
    std::string quoted;
    const auto writeDose = [&](const std::string& text) {
        block.append(",");
        if (pointFormOfDose(text, separator, number)) {
            block.append(number);
        } else {
            quoted.clear();
            exporting::appendCsvField(quoted, exporting::cellText(text));
            block.append(quoted);
        }
    };
    const std::size_t rowBytes = store.maxRowBytes();
    std::vector<char> postNatalBytes(rowBytes);
    std::vector<char> offspringBytes(rowBytes);
    for (int t = 1; t <= tableCount; ++t) {
        const exporting::TableTexts texts = exporting::tableTexts(run, t);
        prefix.clear();
        for (const std::string* field :
             {&texts.nuclide, &texts.halfLife, &texts.group, &texts.route, &texts.scenario}) {
            exporting::appendCsvField(prefix, *field);
            prefix += ',';
        }
        const bool plain = store.plainTable(t);
        for (int r = 1; r <= rows; ++r) {
            const std::string& tissue = tissues_[static_cast<std::size_t>(r - 1)];
            if (!plain) {
                block.append(prefix);
                block.append(tissue);
                writeDose(run.inUteroText(t, r));
                for (int n = 1; n <= periods; ++n) {
                    writeDose(run.postNatalText(t, r, n));
                    writeDose(run.offspringText(t, r, n));
                }
                block.append(BlockWriter::kLineEnd);
                continue;
            }
            // A plain table's numbers come from the store a whole row at a time, with '.'
            // marks, and need no check; post-natal and offspring doses then alternate by
            // period.
            char* at = block.room(prefix.size() + tissue.size() + 3 * rowBytes +
                                  BlockWriter::kLineEnd.size());
            at = BlockWriter::copy(BlockWriter::copy(at, prefix), tissue);
            at = store.writeInUteroRow(t, r, ',', at, '.');
            const char* postNatal = postNatalBytes.data();
            const char* const postNatalEnd =
                store.writePostNatalRow(t, r, ',', postNatalBytes.data(), '.');
            const char* offspring = offspringBytes.data();
            const char* const offspringEnd =
                store.writeOffspringRow(t, r, ',', offspringBytes.data(), '.');
            while (postNatal < postNatalEnd) {
                at = copyField(postNatal, postNatalEnd, at);
                at = copyField(offspring, offspringEnd, at);
            }
            block.used(BlockWriter::copy(at, BlockWriter::kLineEnd));
        }
        if (tableWritten && !tableWritten(t)) return false;
    }
    return true;
}

bool writeCsvFile(const std::string& path, const RunResult& run, const Provenance& provenance,
                  const ExportProgress& progress) {
    const int tableCount = run.tableCount();
    const CsvTables csv(run.layout());
    const std::vector<std::string> head = provenanceLines(provenance, tableCount);
    try {
        saveTextFile(path, [&](TextWriter& out) {
            csv.writeHead(out, head);
            BlockWriter block(out);
            if (!csv.writeRows(block, run, [&](int t) {
                    return exporting::tableWritten(t, tableCount, progress);
                }))
                throw Cancelled{};
            block.flush();
        });
    } catch (const Cancelled&) {
        return false;
    }
    return true;
}

}  // namespace fetaldose
