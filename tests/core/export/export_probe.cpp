// Writes a run's tables as CSV and XLSX for the independent readers of export_readers.py,
// together with the store's own texts, one line per table and tissue, to compare them with.
//
// Usage: fetaldose_export_probe <folder> <decimal separator>
// Writes <folder>/data/..., <folder>/tables.csv, <folder>/tables.xlsx and <folder>/store.tsv.

#include <clocale>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "core/export/provenance.h"
#include "core/export/table_export.h"
#include "core/run/labels.h"
#include "core/run/run_result.h"
#include "data_file_builder.h"
#include "scratch_directory.h"

namespace {

using fetaldose::testing::RecordPlace;
using fetaldose::testing::writeBytes;

// Doses that differ from table to table, row to row and period to period, in the forms a data
// file may give them: "4.5E-08", lower-case exponents, no decimal digit, a leading sign or point.
std::string field(const RecordPlace& place, int line, int row) {
    const int seed = place.group * 7 + place.entry * 13 + place.size * 17 + place.scenario * 19 +
                     line * 23 + row * 29;
    const int exponent = 7 + seed % 9;
    const std::string e = (exponent < 10 ? "E-0" : "E-") + std::to_string(exponent);
    switch (seed % 11) {
        case 0:
            return "1e-" + std::to_string(exponent);
        case 1:
            return "+.5" + e;
        case 2:
            return " 3" + e;
        default:
            return std::to_string(1 + seed % 9) + "." + std::to_string(seed % 10) + e;
    }
}

std::string probeLines(const RecordPlace& place, int line) {
    if (line < 3) return fetaldose::testing::DataFileBuilder::defaultLine(place, line);
    return fetaldose::testing::valueLine([&](int row) { return field(place, line, row); });
}

void replace(std::string& text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::string(argv[2]).size() != 1) {
        std::fprintf(stderr, "usage: %s <folder> <decimal separator>\n", argv[0]);
        return 2;
    }
    // The process's own locale must not matter: the export reads and writes numbers itself.
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"})
        if (std::setlocale(LC_ALL, name)) break;
    try {
        using namespace fetaldose;
        const std::string folder = argv[1];
        const char separator = argv[2][0];
        const std::string data = folder + "/data/";
        std::filesystem::create_directories(data);

        // A name in Windows-1252 (0xE9 is e acute), a half-life holding a comma, and a route
        // text with quotes and a comma: each must come out as its UTF-8 text, one field.
        const std::string names[] = {"Ra-226\xE9", "Cs-137"};
        const std::string halfLives[] = {"1,600 y", "30.08 y"};
        std::string first =
            fetaldose::testing::DataFileBuilder({2, 1, 1}, {0, 2, 1}).lines(probeLines).build();
        replace(first, "Vapour entry 1 of g1", "Vapour \"one\", elemental");
        writeBytes(data + names[0] + ".dat", first);
        writeBytes(
            data + names[1] + ".dat",
            fetaldose::testing::DataFileBuilder({1, 1, 2}, {1, 0, 1}).lines(probeLines).build());
        writeBytes(data + "nuclides.txt", "2\r\n" + names[0] + "\r\n" + halfLives[0] + "\r\n" +
                                              names[1] + "\r\n" + halfLives[1] + "\r\n");

        SelectionSnapshot selection;
        selection.nuclides = {names[0], names[1]};
        selection.halfLives = {halfLives[0], halfLives[1]};
        selection.memberOfPublic = selection.occupational = selection.allRoutes = true;
        selection.aerosol[0] = selection.aerosol[6] = true;
        selection.acuteScenarios[3] = selection.chronicScenarios[2] = true;
        selection.tissues[2] = selection.tissues[11] = selection.tissues[16] = true;
        selection.periods[1] = selection.periods[4] = true;

        const RunCheck check = checkSelection(selection);
        const RunOutcome outcome = runTables({selection, data, separator, {}}, check);
        if (!outcome.complete) throw std::runtime_error("the run did not complete");
        const RunResult& run = *outcome.result;

        const Provenance provenance = provenanceOf(run);
        exportTables(OutputFormat::Csv, folder + "/tables.csv", run, provenance);
        exportTables(OutputFormat::Xlsx, folder + "/tables.xlsx", run, provenance);

        std::string expected;
        const TableLayout& layout = run.layout();
        for (int t = 1; t <= run.tableCount(); ++t) {
            for (int r = 1; r <= layout.rowCount(); ++r) {
                expected.append(run.nuclideHeading(t)).append("\t").append(run.groupHeading(t));
                expected.append("\t").append(run.routeHeading(t));
                expected.append("\t").append(run.scenarioHeading(t));
                expected.append("\t").append(layout.rowLabel(r));
                expected.append("\t").append(run.inUteroText(t, r));
                for (int n = 1; n <= layout.periodCount(); ++n)
                    expected.append("\t")
                        .append(run.postNatalText(t, r, n))
                        .append("\t")
                        .append(run.offspringText(t, r, n));
                expected.append("\n");
            }
        }
        writeBytes(folder + "/store.tsv", expected);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "export probe: %s\n", error.what());
        return 1;
    }
    return 0;
}
