#include <string>
#include <string_view>

#include "core/export/dose_rows.h"
#include "core/export/table_export.h"
#include "core/run/labels.h"
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
        std::string prefix;
        std::string number;
        std::string quoted;
        const auto writeDose = [&](const std::string& text) {
            out.write(",");
            if (exporting::plainNumber(text, separator, number)) {
                out.write(number);
            } else {
                quoted.clear();
                appendField(quoted, exporting::cellText(text));
                out.write(quoted);
            }
        };
        for (int t = 1; t <= doses.tableCount(); ++t) {
            const exporting::TableTexts texts = doses.tableTexts(t);
            prefix.clear();
            for (const std::string* field :
                 {&texts.nuclide, &texts.halfLife, &texts.group, &texts.route, &texts.scenario}) {
                appendField(prefix, *field);
                prefix += ',';
            }
            for (int r = 1; r <= rows; ++r) {
                out.write(prefix);
                out.write(tissues[static_cast<std::size_t>(r - 1)]);
                writeDose(store.inUtero(t, r));
                for (int n = 1; n <= periods; ++n) {
                    writeDose(store.postNatal(t, r, n));
                    writeDose(store.offspring(t, r, n));
                }
                out.endLine();
            }
            doses.tableWritten(t, progress);
        }
    });
}

}  // namespace fetaldose
