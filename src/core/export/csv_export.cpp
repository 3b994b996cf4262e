#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "core/export/dose_rows.h"
#include "core/export/table_export.h"
#include "core/run/labels.h"
#include "core/textio/block_writer.h"
#include "core/textio/text_writer.h"

namespace fetaldose {

namespace {

// Appends a field, quoted (with its quotes doubled) when it holds a comma, a quote or a line
// break, as RFC 4180 asks.
void appendField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// Copies one field of a plain table's row as the store writes it, at `from`: a comma, then a
// number of 7 or 8 bytes whose second byte is the decimal separator (the only comma in it under
// a comma separator), which a CSV number has as a point. Returns the end of the copy and moves
// `from` to the next field.
char* copyPlainField(const char*& from, const char* end, char* at) {
    const std::size_t length = from + 8 < end && from[8] != ',' ? 9 : 8;
    std::memcpy(at, from, length);
    at[2] = '.';
    from += length;
    return at + length;
}

}  // namespace

void writeCsvFile(const std::string& path, const ResultStore& store, const Provenance& provenance,
                  const ExportProgress& progress) {
    exporting::DoseRows doses(store, provenance);
    const std::vector<std::string> header = provenanceLines(provenance, doses.tableCount());
    const std::vector<std::string> columns = exporting::columnNames(doses.periods());
    std::vector<std::string> tissues;
    for (const int row : doses.rows()) {
        tissues.emplace_back();
        appendField(tissues.back(), exporting::cellText(kRowLabels[row - 1]));
    }
    const int rows = static_cast<int>(doses.rows().size());
    const int periods = static_cast<int>(doses.periods().size());
    const char separator = provenance.decimalSeparator;

    saveTextFile(path, [&](TextWriter& out) {
        std::string line;
        for (const auto& text : header) {
            line.clear();
            appendField(line, "# " + text);
            out.writeLine(line);
        }
        line.clear();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) line += ',';
            appendField(line, columns[c]);
        }
        out.writeLine(line);

        // The texts of a table are the same on each of its rows: quoted once, written as one.
        BlockWriter block(out);
        std::string prefix;
        std::string number;
        std::string quoted;
        const auto writeDose = [&](const std::string& text) {
            block.append(",");
            if (exporting::plainNumber(text, separator, number)) {
                block.append(number);
            } else {
                quoted.clear();
                appendField(quoted, exporting::cellText(text));
                block.append(quoted);
            }
        };
        const std::size_t rowBytes = store.maxRowBytes();
        std::vector<char> postNatalBytes(rowBytes);
        std::vector<char> offspringBytes(rowBytes);
        for (int t = 1; t <= doses.tableCount(); ++t) {
            const exporting::TableTexts texts = doses.tableTexts(t);
            prefix.clear();
            for (const std::string* field :
                 {&texts.nuclide, &texts.halfLife, &texts.group, &texts.route, &texts.scenario}) {
                appendField(prefix, *field);
                prefix += ',';
            }
            const bool plain = store.plainTable(t);
            for (int r = 1; r <= rows; ++r) {
                const std::string& tissue = tissues[static_cast<std::size_t>(r - 1)];
                if (!plain) {
                    block.append(prefix);
                    block.append(tissue);
                    writeDose(store.inUtero(t, r));
                    for (int n = 1; n <= periods; ++n) {
                        writeDose(store.postNatal(t, r, n));
                        writeDose(store.offspring(t, r, n));
                    }
                    block.append(BlockWriter::kLineEnd);
                    continue;
                }
                // A plain table's numbers come from the store a whole row at a time, and need no
                // check; post-natal and offspring doses then alternate by period.
                char* at = block.room(prefix.size() + tissue.size() + 3 * rowBytes +
                                      BlockWriter::kLineEnd.size());
                at = BlockWriter::copy(BlockWriter::copy(at, prefix), tissue);
                char* const inUtero = at;
                at = store.writeInUteroRow(t, r, ',', at);
                inUtero[2] = '.';  // its decimal separator, as in copyPlainField
                const char* postNatal = postNatalBytes.data();
                const char* const postNatalEnd =
                    store.writePostNatalRow(t, r, ',', postNatalBytes.data());
                const char* offspring = offspringBytes.data();
                const char* const offspringEnd =
                    store.writeOffspringRow(t, r, ',', offspringBytes.data());
                while (postNatal < postNatalEnd) {
                    at = copyPlainField(postNatal, postNatalEnd, at);
                    at = copyPlainField(offspring, offspringEnd, at);
                }
                block.used(BlockWriter::copy(at, BlockWriter::kLineEnd));
            }
            doses.tableWritten(t, progress);
        }
        block.flush();
    });
}

}  // namespace fetaldose
