// Drives the table copy and the report from outside, for checks by other programs:
//   report_probe copy <e2e folder>   puts table 1 of the known session (offspring view) on the
//                                    clipboard, prints "copied", and keeps the clipboard until
//                                    its standard input closes (an X clipboard lives as long as
//                                    the program that owns it)
//   report_probe pdf <file> <tables> <tissue items> [all]   writes the report of a made-up
//                                    run (of the periods 1 and 70 years, or all five)

#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <iostream>

#include "gui/report/shown_table.h"
#include "gui/report/table_report.h"
#include "report_fixture.h"

namespace {

using namespace fetaldose::gui;

int copy(QApplication& app, const std::string& fixture) {
    const auto run = testing::runSelection(testing::knownSession(), fixture + "/data/");
    copyTableToClipboard(shownTableFromRun(run.get(), 1, TableView::Offspring));
    std::cout << "copied" << std::endl;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        if (::read(STDIN_FILENO, &byte, 1) <= 0) app.quit();
    });
    QTimer::singleShot(120000, &app, &QApplication::quit);  // never outlives a stuck test
    return app.exec();
}

int pdf(const std::string& path, int tables, int tissues, bool allPeriods) {
    testing::MadeUpData data;
    const auto run = data.run(tables, tissues, allPeriods);
    const std::vector<std::string> provenance = {"Program: fetaldose 1.0",
                                                 "Data folder: " + data.dataFolder(),
                                                 "Data set: made-up values for a test"};
    writeReportPdf(path, {*run}, provenance);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    try {
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "copy" && argc == 3) return copy(app, argv[2]);
        if (mode == "pdf" && (argc == 5 || argc == 6))
            return pdf(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), argc == 6);
    } catch (const std::exception& fault) {
        std::cerr << fault.what() << '\n';
        return 1;
    }
    std::cerr
        << "usage: report_probe copy <e2e folder> | pdf <file> <tables> <tissue items> [all]\n";
    return 2;
}
