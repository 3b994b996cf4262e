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
void AppendField(std::string& out, std::string_view field) {
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

void writeCsvFile(const std::string& path, const ResultStore& store, const Provenance& provenance) {
    exporting::DoseRows doses(store, provenance);
    const std::vector<std::string> header = provenanceLines(provenance, doses.tableCount());
    const std::vector<std::string> columns = exporting::columnNames(doses.periods());
    std::vector<std::string> tissues;
    for (const int row : doses.rows()) tissues.push_back(exporting::cellText(kRowLabels[row - 1]));
    const int rows = static_cast<int>(doses.rows().size());
    const int periods = static_cast<int>(doses.periods().size());
    const char separator = provenance.decimalSeparator;

    SaveTextFile(path, [&](TextWriter& out) {
        std::string line;
        for (const auto& text : header) {
            line.clear();
            AppendField(line, "# " + text);
            out.WriteLine(line);
        }
        line.clear();
        for (std::size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) line += ',';
            AppendField(line, columns[c]);
        }
        out.WriteLine(line);

        std::string prefix;
        std::string number;
        const auto appendDose = [&](const std::string& text) {
            line += ',';
            if (exporting::plainNumber(text, separator, number))
                line += number;
            else
                AppendField(line, exporting::cellText(text));
        };
        for (int t = 1; t <= doses.tableCount(); ++t) {
            const exporting::TableTexts texts = doses.tableTexts(t);
            prefix.clear();
            for (const std::string* field :
                 {&texts.nuclide, &texts.halfLife, &texts.group, &texts.route, &texts.scenario}) {
                AppendField(prefix, *field);
                prefix += ',';
            }
            for (int r = 1; r <= rows; ++r) {
                line = prefix;
                AppendField(line, tissues[static_cast<std::size_t>(r - 1)]);
                appendDose(store.InUtero(t, r));
                for (int n = 1; n <= periods; ++n) {
                    appendDose(store.PostNatal(t, r, n));
                    appendDose(store.Offspring(t, r, n));
                }
                out.WriteLine(line);
            }
        }
    });
}

}  // namespace fetaldose
