// The results viewer from a selection through "Run" to what the grids and labels show:
// paging, the two views, stop messages, blank tables, and printing the window.

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "app/window_set.h"
#include "core/run/labels.h"
#include "core/run/run_result.h"
#include "core/textio/faults.h"
#include "data_file_builder.h"
#include "filled_store.h"
#include "gui/app/display_text.h"
#include "gui/app/platform.h"
#include "gui/app/window_printer.h"
#include "gui/results/result_grid.h"
#include "gui/results/results_viewer.h"
#include "gui/results/run_controller.h"
#include "gui/selection/selection_window.h"
#include "pdf_printers.h"
#include "recording_messages.h"
#include "viewer_fixture.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::test;

namespace {

using TestPrinters = fetaldose::gui::testing::PdfPrinters;

// A selection with one nuclide, the public group, ingestion, scenario 1, all organs and all
// periods; tests change what they need.
SelectionSnapshot baseSelection(const std::string& nuclide) {
    SelectionSnapshot selection;
    selection.nuclides = {nuclide};
    selection.halfLives = {"1 y"};
    selection.memberOfPublic = true;
    selection.ingestion = true;
    selection.acuteScenarios[0] = true;
    selection.allOrgans = true;
    selection.allPeriods = true;
    return selection;
}

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// Blue pixels (the post-natal grid's text colour) on the first page of a PDF, rendered by
// pdftoppm; -1 when it cannot be rendered.
int bluePixelsOnPage(const QString& pdf) {
    const QString renderer = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (renderer.isEmpty()) return -1;
    const QString stem = pdf + QStringLiteral(".render");
    if (QProcess::execute(renderer,
                          {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"),
                           QStringLiteral("-singlefile"), pdf, stem}) != 0)
        return -1;
    const QImage page(stem + QStringLiteral(".png"));
    if (page.isNull()) return -1;
    int blue = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor colour = page.pixelColor(x, y);
            if (colour.blue() > 150 && colour.red() < 120 && colour.green() < 120) ++blue;
        }
    return blue;
}

}  // namespace

class ResultsViewerTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void createdViewerBeforeAnyRun();
    void pagingLooksFollowTheTableCount();
    void gridsShowTheFileTextsAndTheSums();
    void viewSurvivesPageTurnsAndRuns();
    void closingOtherwiseShowsTheViewerAgainInPlace();
    void laterRunWithFewerRowsLeavesNoTrace();
    void stopMessagesAndWhatTheGridsHold();
    void runWithoutTablesShowsABlankTableOneOfZero();
    void counterStaysReadableWithLongTableNumbers();
    void printedSizeArithmetic();
    void printingMakesOnePageOfTheViewOnShow();
    void printingWithoutAPrinterShowsTheMessage();
    void keysPageSaveShowAndLeaveWithoutHidingTheWindow();

  private:
    ResultsViewer& viewerWindow() { return windows_->viewer(); }
    ResultGrid& postNatalGrid() { return viewerWindow().postNatalGrid(); }
    ResultGrid& offspringGrid() { return viewerWindow().offspringGrid(); }
    QString labelText(const char* name) {
        return viewerWindow().findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QAbstractButton* button(const char* name) {
        return viewerWindow().findChild<QAbstractButton*>(QString::fromLatin1(name));
    }
    // "n of N", then "<" when "Previous" looks available and ">" when "Next" does.
    ViewerDriver::Step look(QStringList& seen) {
        return [this, &seen](ResultsViewer& viewer) {
            seen << counterText() +
                        (viewer.previousAvailable() ? QStringLiteral(" <") : QStringLiteral(" -")) +
                        (viewer.nextAvailable() ? QStringLiteral(" >") : QStringLiteral(" -"));
        };
    }
    // Which grid is shown (the other must be hidden) and which view button is pressed.
    QString viewState() {
        const bool postNatal = !postNatalGrid().isHidden() && offspringGrid().isHidden();
        const bool offspring = !offspringGrid().isHidden() && postNatalGrid().isHidden();
        const bool offspringPressed = button("SpdBtnOffspring")->isChecked();
        const bool postNatalPressed = button("SpdBtnPostnatal")->isChecked();
        return QStringLiteral("%1, %2 pressed")
            .arg(postNatal   ? "post-natal"
                 : offspring ? "offspring"
                             : "both or none",
                 offspringPressed == postNatalPressed ? "both or none"
                 : offspringPressed                   ? "offspring"
                                                      : "post-natal");
    }
    static void click(ResultsViewer& viewer, const char* name) {
        viewer.findChild<QAbstractButton*>(QString::fromLatin1(name))->click();
    }
    QString counterText() {
        return labelText("LblTCount") + QStringLiteral(" of ") + labelText("LblTTotal");
    }
    void writeData(const std::string& nuclide, const std::string& text) {
        writeFile(dataDirectory_ + nuclide + ".dat", text);
    }
    // The grid's rows 0 to 18, each with its cells joined by "|".
    static QStringList gridRows(const ResultGrid& grid) {
        QStringList rows;
        for (int row = 0; row < ResultGrid::kRows; ++row) {
            QStringList cells;
            for (int column = 0; column < ResultGrid::kColumns; ++column)
                cells << grid.cell(column, row);
            rows << cells.join(QLatin1Char('|'));
        }
        return rows;
    }
    // Every cell of both grids, for comparing before and after.
    QStringList allCells() {
        QStringList cells;
        for (ResultGrid* grid : {&postNatalGrid(), &offspringGrid()})
            for (int row = 0; row < ResultGrid::kRows; ++row)
                for (int column = 0; column < ResultGrid::kColumns; ++column)
                    cells << grid->cell(column, row);
        return cells;
    }
    // Runs and views with the steps given; returns whether the viewer opened.
    bool run(const SelectionSnapshot& selection, ViewerDriver& driver) {
        driver.run([&] { windows_->run(selection); });
        return driver.opened();
    }

    QTemporaryDir workDirectory_;
    std::string dataDirectory_;
    RecordingMessages messages_;
    TestPrinters printers_;
    char separator_ = '.';
    std::unique_ptr<WindowSet> windows_;
};

void ResultsViewerTest::initTestCase() {
    QVERIFY(workDirectory_.isValid());
    QVERIFY(QDir(workDirectory_.path()).mkpath(QStringLiteral("data")));
    QVERIFY(QDir::setCurrent(workDirectory_.path()));
    dataDirectory_ = QDir(workDirectory_.path()).filePath(QStringLiteral("data/")).toStdString();
    writeFile(dataDirectory_ + "nuclides.txt", "1\r\nAa-1\r\n1 y\r\n");

    Platform platform;
    platform.messages = &messages_;
    platform.printers = &printers_;
    platform.decimalSeparator = [this] { return separator_; };
    windows_ = std::make_unique<WindowSet>(std::move(platform));
    windows_->create();
    messages_.clear();
    QCOMPARE(windows_->selection().dataDirectory(), dataDirectory_);

    writeData("One", dataFileText({0, 0, 1}, {0, 0, 1}));
    writeData("Two", dataFileText({0, 0, 2}, {0, 0, 2}));
    writeData("Empty", dataFileText({0, 0, 0}, {0, 0, 0}));
}

void ResultsViewerTest::createdViewerBeforeAnyRun() {
    ResultsViewer& viewer = viewerWindow();
    QVERIFY(
        !(viewer.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // Only the offspring grid's top-left cell is set before the first run.
    for (ResultGrid* grid : {&postNatalGrid(), &offspringGrid()})
        for (int row = 0; row < 19; ++row)
            for (int column = 0; column < 9; ++column) {
                const bool set = grid == &offspringGrid() && row == 0 && column == 0;
                QCOMPARE(grid->cell(column, row), set ? QStringLiteral(" ") : QString());
            }
    // The offspring view in front with "Post natal dose only" pressed; the grid behind is
    // hidden, so it is not presented as visible.
    QCOMPARE(viewState(), QStringLiteral("offspring, post-natal pressed"));
    QVERIFY(viewer.findChild<QLabel*>(QStringLiteral("LblHOrg"))->isHidden());
}

void ResultsViewerTest::pagingLooksFollowTheTableCount() {
    auto next = [](ResultsViewer& viewer) { viewer.showNextTable(); };
    auto previous = [](ResultsViewer& viewer) { viewer.showPreviousTable(); };

    // One table: neither page turn available; either only redisplays table 1.
    QStringList seen;
    ViewerDriver one(viewerWindow());
    one.then(look(seen)).then(next).then(look(seen)).then(previous).then(look(seen));
    QVERIFY(run(baseSelection("One"), one));
    QCOMPARE(seen, QStringList(3, QStringLiteral("1 of 1 - -")));

    SelectionSnapshot selection = baseSelection("One");
    selection.acuteScenarios[1] = true;
    seen.clear();
    ViewerDriver two(viewerWindow());
    two.then(look(seen)).then(next).then(look(seen)).then(next).then(look(seen));
    two.then(previous).then(look(seen)).then(previous).then(look(seen));
    QVERIFY(run(selection, two));
    QCOMPARE(seen,
             (QStringList{"1 of 2 - >", "2 of 2 < -", "2 of 2 < -", "1 of 2 - >", "1 of 2 - >"}));

    // Forty tables: both groups, two ingestion entries each, ten scenarios.
    selection = baseSelection("Two");
    selection.occupational = true;
    selection.allAcutes = true;
    selection.chronicScenarios = {true, true, false};
    seen.clear();
    QStringList header;
    ViewerDriver forty(viewerWindow());
    forty.then(look(seen));
    for (int turn = 0; turn < 38; ++turn) forty.then(next);
    forty.then(look(seen)).then(next).then(look(seen)).then(next).then(look(seen));
    forty.then([&](ResultsViewer&) {
        for (const char* name : {"lblNuclide", "LblOccOrEnv", "LblRoute", "LblScenario"})
            header << labelText(name);
        header << offspringGrid().cell(2, 1) << postNatalGrid().cell(4, 1)
               << offspringGrid().cell(4, 1);
    });
    QVERIFY(run(selection, forty));
    QCOMPARE(seen, (QStringList{"1 of 40 - >", "39 of 40 < >", "40 of 40 < -", "40 of 40 < -"}));
    // Table 40 is the worker's, ingestion entry 2, scenario 10. The header's second line
    // is the scenario and its third the route.
    QCOMPARE(header, (QStringList{"Two, half-life is 1 y", " Worker",
                                  "Constant chronic intake (1Bq total) from 1 year before "
                                  "until conception",
                                  "Ingestion: f1 = 0.02", "2.0E-12", "1.0E-12", "3.0E-12"}));
    QVERIFY(messages_.all.isEmpty());
}

void ResultsViewerTest::gridsShowTheFileTextsAndTheSums() {
    // Rows 1 to 4 hold the worked examples; every other field is zero.
    writeData("Sums", dataFileText({0, 0, 1}, {0, 0, 0}, [](const FieldKey& key) -> std::string {
                  const bool inUtero = key.line == 0;
                  switch (key.row) {
                      case 1:
                          return inUtero ? "1.0E-10" : key.line == 5 ? "3.0E-11" : "2.0E-11";
                      case 2:
                          return inUtero ? "4.4E-06" : "3.3E-07";
                      case 3:
                          return inUtero ? "9.6E-06" : "5.0E-07";
                      default:
                          return "0.0E+00";
                  }
              }));
    SelectionSnapshot selection = baseSelection("Sums");
    selection.allOrgans = false;
    selection.tissues[0] = selection.tissues[1] = selection.tissues[2] = true;  // 2 is "Brain"
    selection.allPeriods = false;
    selection.periods[1] = selection.periods[4] = true;  // 5 and 70 years

    QStringList postNatalRows, offspringRows;
    ViewerDriver driver(viewerWindow());
    driver.then([&](ResultsViewer&) {
        postNatalRows = gridRows(postNatalGrid());
        offspringRows = gridRows(offspringGrid());
    });
    QVERIFY(run(selection, driver));
    const QString blankRow = QStringLiteral(" | | | | | | | | ");
    QStringList expected = {QStringLiteral(" | | | |  5y|  70y| | | "),
                            QStringLiteral("Bladder| |1.0E-10| |2.0E-11|3.0E-11| | | "),
                            QStringLiteral("Bone surface| |4.4E-06| |3.3E-07|3.3E-07| | | "),
                            QStringLiteral("Brain (total)| |9.6E-06| |5.0E-07|5.0E-07| | | "),
                            QStringLiteral("Brain (7-15 weeks)| |0.0E+00| |0.0E+00|0.0E+00| | | ")};
    while (expected.size() < ResultGrid::kRows) expected << blankRow;
    QCOMPARE(postNatalRows, expected);
    // The offspring view: the same in-utero texts; in utero plus post-natal, reformatted.
    expected[1] = QStringLiteral("Bladder| |1.0E-10| |1.2E-10|1.3E-10| | | ");
    expected[2] = QStringLiteral("Bone surface| |4.4E-06| |4.7E-06|4.7E-06| | | ");
    expected[3] = QStringLiteral("Brain (total)| |9.6E-06| |1.0E-05|1.0E-05| | | ");
    QCOMPARE(offspringRows, expected);

    // The run's layout, which the results file writes, names the rows and periods as shown.
    const TableLayout& layout = viewerWindow().run()->layout();
    QCOMPARE(layout.rowCount(), 4);
    for (int r = 1; r <= 4; ++r)
        QCOMPARE(displayText(layout.rowLabel(r)), offspringGrid().cell(0, r));
    QCOMPARE(layout.periodCount(), 2);
    for (int n = 1; n <= 2; ++n)
        QCOMPARE(displayText(layout.periodHeading(n)), offspringGrid().cell(n + 3, 0));
    QCOMPARE(std::string(layout.periodHeading(2)), std::string("  70y"));

    // With a comma for the decimal separator the file's texts and the sums carry the comma.
    separator_ = ',';
    QString commaInUtero, commaPostNatal, commaTotal;
    ViewerDriver commaDriver(viewerWindow());
    commaDriver.then([&](ResultsViewer&) {
        commaInUtero = offspringGrid().cell(2, 1);
        commaPostNatal = postNatalGrid().cell(4, 1);
        commaTotal = offspringGrid().cell(4, 1);
    });
    const bool opened = run(selection, commaDriver);
    separator_ = '.';
    QVERIFY(opened);
    QCOMPARE(commaInUtero, QStringLiteral("1,0E-10"));
    QCOMPARE(commaPostNatal, QStringLiteral("2,0E-11"));
    QCOMPARE(commaTotal, QStringLiteral("1,2E-10"));
    QVERIFY(messages_.all.isEmpty());
}

void ResultsViewerTest::viewSurvivesPageTurnsAndRuns() {
    SelectionSnapshot selection = baseSelection("One");
    selection.acuteScenarios[1] = true;
    QStringList seen;
    auto view = [&](ResultsViewer&) { seen << viewState(); };
    // "Post natal dose only" is pressed at first; clicking it brings its view to the front
    // and presses the other. Clicking it again changes nothing; page turns keep the view.
    ViewerDriver driver(viewerWindow());
    driver.then([](ResultsViewer& viewer) { click(viewer, "SpdBtnPostnatal"); }).then(view);
    driver.then([](ResultsViewer& viewer) { click(viewer, "SpdBtnPostnatal"); }).then(view);
    driver.then([](ResultsViewer& viewer) { viewer.showNextTable(); }).then(view);
    QVERIFY(run(selection, driver));
    QCOMPARE(seen, QStringList(3, QStringLiteral("post-natal, offspring pressed")));

    // The next run opens in the post-natal view; "Offspring (total dose)" switches back.
    seen.clear();
    ViewerDriver second(viewerWindow());
    second.then(view)
        .then([](ResultsViewer& viewer) { click(viewer, "SpdBtnOffspring"); })
        .then(view);
    second.then([](ResultsViewer& viewer) { click(viewer, "SpdBtnOffspring"); }).then(view);
    QVERIFY(run(selection, second));
    QCOMPARE(seen, (QStringList{"post-natal, offspring pressed", "offspring, post-natal pressed",
                                "offspring, post-natal pressed"}));
}

void ResultsViewerTest::closingOtherwiseShowsTheViewerAgainInPlace() {
    SelectionSnapshot selection = baseSelection("One");
    selection.acuteScenarios[1] = true;
    QRect placed;
    QRect reshown;
    QString counter;
    int showings = 0;
    ViewerDriver driver(viewerWindow());
    driver.then([](ResultsViewer& viewer) {
        viewer.findChild<QAbstractButton*>(QStringLiteral("SpdBtnNext"))->click();
    });
    driver.then([&](ResultsViewer& viewer) {
        viewer.setGeometry(viewer.geometry().adjusted(20, 10, 60, 40));
        placed = viewer.geometry();
        viewer.reject();  // as Escape or the window manager would close it
    });
    driver.then([&](ResultsViewer& viewer) {
        ++showings;
        reshown = viewer.geometry();
        counter = counterText();
    });
    QVERIFY(run(selection, driver));
    QCOMPARE(showings, 1);
    QCOMPARE(counter, QStringLiteral("2 of 2"));
    QCOMPARE(reshown, placed);
    viewerWindow().resize(534, 586);
}

void ResultsViewerTest::laterRunWithFewerRowsLeavesNoTrace() {
    ViewerDriver full(viewerWindow());
    QVERIFY(run(baseSelection("One"), full));
    QCOMPARE(offspringGrid().cell(0, 18), QStringLiteral("Effective dose"));
    QCOMPARE(offspringGrid().cell(8, 0), QStringLiteral("  70y"));

    SelectionSnapshot fewer = baseSelection("One");
    fewer.allOrgans = false;
    fewer.tissues[0] = fewer.tissues[4] = fewer.tissues[16] = true;  // 4 is "Oesophagus"
    fewer.allPeriods = false;
    fewer.periods[0] = true;
    ViewerDriver small(viewerWindow());
    QVERIFY(run(fewer, small));
    QStringList expected = {QStringLiteral(" | | | |  1y| | | | "),
                            QStringLiteral("Bladder| |1.1E-11| |1.0E-12| | | | "),
                            QStringLiteral("Oesophagus| |1.1E-11| |1.0E-12| | | | "),
                            QStringLiteral("Effective dose| |1.1E-11| |1.0E-12| | | | ")};
    while (expected.size() < ResultGrid::kRows) expected << QStringLiteral(" | | | | | | | | ");
    QCOMPARE(gridRows(postNatalGrid()), expected);
    for (int row : {1, 2, 3})
        expected[row].replace(QStringLiteral("1.0E-12"), QStringLiteral("1.2E-11"));
    QCOMPARE(gridRows(offspringGrid()), expected);
    QCOMPARE(viewerWindow().run()->layout().rowCount(), 3);
    QCOMPARE(std::string(viewerWindow().run()->layout().periodHeading(1)), std::string("  1y"));
}

void ResultsViewerTest::stopMessagesAndWhatTheGridsHold() {
    // A complete run first, so that every stop has something to clear.
    SelectionSnapshot good = baseSelection("Two");
    good.acuteScenarios[1] = true;
    auto runFull = [&] {
        ViewerDriver driver(viewerWindow());
        QVERIFY(run(good, driver));
        viewerWindow().setNextAvailable(true);
        viewerWindow().setPreviousAvailable(true);
    };
    auto stopRun = [&](const SelectionSnapshot& selection) {
        messages_.clear();
        ViewerDriver driver(viewerWindow());
        const bool opened = run(selection, driver);
        return opened;
    };
    auto allBlank = [&] {
        for (const QString& text : allCells())
            if (text != QStringLiteral(" ")) return false;
        return true;
    };

    // No nuclide: the grids and the paging looks are left as they were.
    runFull();
    const QStringList before = allCells();
    SelectionSnapshot noNuclide = good;
    noNuclide.nuclides.clear();
    noNuclide.halfLives.clear();
    QVERIFY(!stopRun(noNuclide));
    QCOMPARE(messages_.informed, QStringList{QStringLiteral("Please select a nuclide")});
    QCOMPARE(allCells(), before);
    QVERIFY(viewerWindow().nextAvailable() && viewerWindow().previousAvailable());

    struct Stop {
        const char* message;
        std::function<void(SelectionSnapshot&)> change;
    };
    const std::vector<Stop> blanking = {
        {"Please select an exposure group", [](SelectionSnapshot& s) { s.memberOfPublic = false; }},
        {"Please select an intake route(s)", [](SelectionSnapshot& s) { s.ingestion = false; }},
        {"Please select a scenario(s)", [](SelectionSnapshot& s) { s.acuteScenarios = {}; }},
        {"Please select an aerosol size(s)", [](SelectionSnapshot& s) { s.particulates = true; }},
        {"Please select a tissue(s) for output", [](SelectionSnapshot& s) { s.allOrgans = false; }},
    };
    for (const Stop& stop : blanking) {
        runFull();
        SelectionSnapshot selection = good;
        stop.change(selection);
        QVERIFY2(!stopRun(selection), stop.message);
        QCOMPARE(messages_.informed, QStringList{QString::fromLatin1(stop.message)});
        QVERIFY2(allBlank(), stop.message);
        QVERIFY(!viewerWindow().nextAvailable() && !viewerWindow().previousAvailable());
    }

    // No period: the row labels are written before the stop, nothing else.
    runFull();
    SelectionSnapshot noPeriod = good;
    noPeriod.allPeriods = false;
    QVERIFY(!stopRun(noPeriod));
    QCOMPARE(messages_.informed,
             QStringList{QStringLiteral("Please select an integration period(s)")});
    for (ResultGrid* grid : {&postNatalGrid(), &offspringGrid()})
        for (int row = 0; row < 19; ++row)
            for (int column = 0; column < 9; ++column) {
                const QString expected =
                    column == 0 && row >= 1
                        ? QString::fromLatin1(kRowLabels[row - 1].data(),
                                              static_cast<qsizetype>(kRowLabels[row - 1].size()))
                        : QStringLiteral(" ");
                QCOMPARE(grid->cell(column, row), expected);
            }

    // A missing data file after a good one: the message, and nothing shown.
    SelectionSnapshot missing = good;
    missing.nuclides = {"Two", "Absent"};
    missing.halfLives = {"1 y", "2 y"};
    QVERIFY(!stopRun(missing));
    QCOMPARE(messages_.informed, QStringList{QStringLiteral("Cannot find the nuclide file")});
    QCOMPARE(offspringGrid().cell(0, 18), QStringLiteral("Effective dose"));
    QCOMPARE(offspringGrid().cell(8, 0), QStringLiteral("  70y"));

    // A field that is not a number ends the run with the conversion fault; nothing shown.
    writeData("Broken", dataFileText({0, 0, 1}, {0, 0, 0}, [](const FieldKey& key) {
                  return key.row == 2 && key.line == 0 ? std::string("abc") : defaultField(key);
              }));
    SelectionSnapshot broken = good;
    broken.nuclides = {"Broken"};
    messages_.clear();
    ViewerDriver driver(viewerWindow());
    QString fault;
    driver.run([&] {
        try {
            windows_->run(broken);
        } catch (const Fault& error) {
            fault = QString::fromLocal8Bit(error.what());
        }
    });
    QVERIFY(!driver.opened());
    QCOMPARE(fault, QStringLiteral("'abc    ' is not a valid floating point value"));
    QVERIFY(messages_.all.isEmpty());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void ResultsViewerTest::runWithoutTablesShowsABlankTableOneOfZero() {
    ViewerDriver first(viewerWindow());
    QVERIFY(run(baseSelection("One"), first));
    QVERIFY(!labelText("lblNuclide").isEmpty());

    QStringList labels;
    QStringList doseCells;
    std::vector<QString> counters;
    std::vector<bool> looks;
    auto look = [&](ResultsViewer& viewer) {
        counters.push_back(counterText());
        looks.push_back(viewer.previousAvailable() || viewer.nextAvailable());
    };
    ViewerDriver driver(viewerWindow());
    driver.then([&](ResultsViewer& viewer) {
        for (const char* name : {"lblNuclide", "LblOccOrEnv", "LblRoute", "LblScenario", "LblHOrg"})
            labels << labelText(name);
        for (ResultGrid* grid : {&postNatalGrid(), &offspringGrid()})
            for (int row = 1; row < 19; ++row)
                for (int column = 1; column < 9; ++column) doseCells << grid->cell(column, row);
        look(viewer);
    });
    driver.then([](ResultsViewer& viewer) { viewer.showNextTable(); }).then(look);
    driver.then([](ResultsViewer& viewer) { viewer.showPreviousTable(); }).then(look);
    QVERIFY(run(baseSelection("Empty"), driver));
    QCOMPARE(labels, QStringList(5, QString()));
    for (const QString& text : doseCells) QCOMPARE(text, QStringLiteral(" "));
    for (const QString& counter : counters) QCOMPARE(counter, QStringLiteral("1 of 0"));
    for (bool available : looks) QVERIFY(!available);
    QCOMPARE(offspringGrid().cell(0, 1), QStringLiteral("Bladder"));
}

void ResultsViewerTest::counterStaysReadableWithLongTableNumbers() {
    // Two nuclides with every box checked give well over a thousand tables.
    auto textEnd = [](const QLabel* label) {
        return label->x() + label->fontMetrics().horizontalAdvance(label->text());
    };
    auto label = [this](const char* name) {
        return viewerWindow().findChild<QLabel*>(QString::fromLatin1(name));
    };
    // 16 tables: both groups, the acute scenarios, one ingestion entry; 1628: two full files.
    SelectionSnapshot some = fetaldose::testing::everythingChosen({"A"});
    some.allRoutes = some.allChronics = false;
    some.ingestion = true;
    const auto few = fetaldose::testing::runFromTexts(
        some, {fetaldose::testing::DataFileBuilder({0, 0, 1}, {0, 0, 1}).build()});
    const std::string full = fetaldose::testing::DataFileBuilder({4, 3, 3}, {4, 3, 3}).build();
    const auto many = fetaldose::testing::runFromTexts(
        fetaldose::testing::everythingChosen({"A", "B"}), {full, full});
    for (const RunOutcome* outcome : {&few, &many, &many}) {
        const int tables = outcome->result->tableCount();
        QCOMPARE(tables, outcome == &few ? 16 : 1628);
        viewerWindow().setRun(outcome->result);
        viewerWindow().showTable(tables == 16 ? 3 : 1234);
        QVERIFY(textEnd(label("Label3")) < label("LblTCount")->x());
        QVERIFY(textEnd(label("LblTCount")) < label("Label5")->x());
        QVERIFY(textEnd(label("Label5")) < label("LblTTotal")->x());
        if (tables == 16) {
            // Short numbers keep the design places.
            QCOMPARE(label("LblTCount")->x(), 186);
            QCOMPARE(label("Label5")->x(), 208);
            QCOMPARE(label("LblTTotal")->x(), 230);
        }
    }
    QCOMPARE(counterText(), QStringLiteral("1234 of 1628"));
}

void ResultsViewerTest::printedSizeArithmetic() {
    // Portrait page 4800 x 6600: the design-size viewer is wider in proportion, so it fills
    // the width; 586 * 4800 / 534 = 5267.4.
    PrintGeometry geometry{QSize(534, 586), QSize(4800, 6600), 600, 600, 96};
    QCOMPARE(printedSize(geometry, PrintScale::FitToPage), QSize(4800, 5267));
    // A viewer narrower in proportion fills the height: 500 * 6600 / 900 = 3666.7.
    geometry.image = QSize(500, 900);
    QCOMPARE(printedSize(geometry, PrintScale::FitToPage), QSize(3667, 6600));
    // Width exactly reached counts as reaching the width: 480 * 6600 / 660 = 4800.
    geometry.image = QSize(480, 660);
    QCOMPARE(printedSize(geometry, PrintScale::FitToPage), QSize(4800, 6600));
    // Halves round away from zero: 300 * 5 / 2 = 750, 201 * 5 / 2 = 502.5.
    geometry = {QSize(201, 2), QSize(5, 5), 0, 0, 0};
    QCOMPARE(printedSize(geometry, PrintScale::FitToPage), QSize(5, 0));
    geometry = {QSize(1, 201), QSize(1000, 5), 0, 0, 0};
    QCOMPARE(printedSize(geometry, PrintScale::FitToPage), QSize(0, 5));

    // Proportional: 534 * 600 / 96 = 3337.5 and 586 * 600 / 96 = 3662.5, both up.
    geometry = {QSize(534, 586), QSize(4800, 6600), 600, 600, 96};
    QCOMPARE(printedSize(geometry, PrintScale::Proportional), QSize(3338, 3663));
    // Different resolutions across and down; the page does not limit it.
    geometry = {QSize(534, 586), QSize(100, 100), 300, 1200, 120};
    QCOMPARE(printedSize(geometry, PrintScale::Proportional), QSize(1335, 5860));
}

void ResultsViewerTest::printingMakesOnePageOfTheViewOnShow() {
    const QString postNatalPdf =
        QDir(workDirectory_.path()).filePath(QStringLiteral("postnatal.pdf"));
    const QString offspringPdf =
        QDir(workDirectory_.path()).filePath(QStringLiteral("offspring.pdf"));
    std::vector<QString> counters;
    std::vector<bool> postNatalShown;
    auto look = [&](ResultsViewer& viewer) {
        counters.push_back(counterText());
        postNatalShown.push_back(viewer.postNatalViewShown());
    };
    auto print = [&](const QString& file) {
        return [&, file](ResultsViewer& viewer) {
            printers_.outputFile = file;
            viewer.findChild<QAbstractButton*>(QStringLiteral("Button3"))->click();
        };
    };
    SelectionSnapshot selection = baseSelection("Two");
    selection.acuteScenarios[1] = true;
    ViewerDriver driver(viewerWindow());
    driver.then([](ResultsViewer& viewer) { viewer.showNextTable(); });
    driver.then([](ResultsViewer& viewer) { viewer.showPostNatalView(); });
    driver.then(print(postNatalPdf)).then(look);
    driver.then([](ResultsViewer& viewer) { viewer.showOffspringView(); });
    driver.then(print(offspringPdf)).then(look);
    QVERIFY(run(selection, driver));
    printers_.outputFile.clear();
    QVERIFY(messages_.all.isEmpty());

    // Printing changes neither the table nor the view.
    QCOMPARE(counters, (std::vector<QString>{QStringLiteral("2 of 4"), QStringLiteral("2 of 4")}));
    QCOMPARE(postNatalShown, (std::vector<bool>{true, false}));

    QCOMPARE(pdfPageCount(postNatalPdf), 1);
    QCOMPARE(pdfPageCount(offspringPdf), 1);
    const int bluePostNatal = bluePixelsOnPage(postNatalPdf);
    const int blueOffspring = bluePixelsOnPage(offspringPdf);
    if (bluePostNatal < 0 || blueOffspring < 0)
        QSKIP("pdftoppm is not available to render the pages");
    // The post-natal grid's text is blue; in the offspring view only one caption is.
    QVERIFY2(bluePostNatal > 3 * blueOffspring,
             qPrintable(QStringLiteral("%1 vs %2").arg(bluePostNatal).arg(blueOffspring)));
}

void ResultsViewerTest::printingWithoutAPrinterShowsTheMessage() {
    printers_.outputFile.clear();
    messages_.clear();
    QString counter;
    ViewerDriver driver(viewerWindow());
    driver.then([](ResultsViewer& viewer) { viewer.showNextTable(); });
    driver.then([](ResultsViewer& viewer) { viewer.print(); });
    driver.then([&](ResultsViewer&) { counter = counterText(); });
    SelectionSnapshot selection = baseSelection("One");
    selection.acuteScenarios[1] = true;
    QVERIFY(run(selection, driver));
    QCOMPARE(messages_.errors,
             QStringList{QStringLiteral("There is no default printer currently selected.")});
    QCOMPARE(counter, QStringLiteral("2 of 2"));
}

// Counts the times a window is hidden.
class HideCounter final : public QObject {
  public:
    explicit HideCounter(QWidget& window) { window.installEventFilter(this); }
    int hides = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Hide) ++hides;
        return false;
    }
};

void ResultsViewerTest::keysPageSaveShowAndLeaveWithoutHidingTheWindow() {
    // Each hint names its key after the hint the button had.
    QCOMPARE(button("SpdBtnNext")->toolTip(), QKeySequence(Qt::Key_PageDown).toString());
    QCOMPARE(button("SpdBtnPrevious")->toolTip(), QKeySequence(Qt::Key_PageUp).toString());
    QCOMPARE(button("SpdBtnReturn")->toolTip(), QStringLiteral("Alt+R"));
    QCOMPARE(button("Button2")->toolTip(), QStringLiteral("Ctrl+S"));
    QCOMPARE(button("Button3")->toolTip(),
             QStringLiteral("Prints the results as they look on the screen. (Ctrl+P)"));
    // The captions stay as they were.
    QCOMPARE(button("SpdBtnNext")->text(), QStringLiteral("Next"));
    QCOMPARE(button("SpdBtnReturn")->text(), QStringLiteral("Return to input"));

    messages_.clear();
    const QString pdf = QDir(workDirectory_.path()).filePath(QStringLiteral("keys.pdf"));
    printers_.outputFile = pdf;
    QStringList seen;
    QString saveWindowTitle;
    auto key = [](QKeyCombination keys, bool onGrid = false) {
        return [keys, onGrid](ResultsViewer& viewer) {
            // The keys work with the focus on a grid too, which has keys of its own.
            QWidget* target = onGrid ? static_cast<QWidget*>(&viewer.offspringGrid()) : &viewer;
            // Window shortcuts work in the active window only; on a slow run (sanitizers) the
            // viewer may not be active yet when the step comes.
            viewer.activateWindow();
            [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&viewer);
            if (onGrid) viewer.offspringGrid().setFocus();
            QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
        };
    };
    HideCounter hidden(viewerWindow());
    SelectionSnapshot selection = baseSelection("Two");
    selection.acuteScenarios[1] = true;  // four tables
    ViewerDriver driver(viewerWindow());
    driver.then(key(Qt::Key_PageDown)).then(key(Qt::Key_PageDown, true)).then(look(seen));
    driver.then(key(Qt::Key_PageUp, true)).then(look(seen));
    // Escape and a close request leave the window open on the same table.
    driver.then(key(Qt::Key_Escape)).then([](ResultsViewer& viewer) { viewer.close(); });
    driver.then(look(seen));
    driver.then(key(Qt::CTRL | Qt::Key_P)).then(look(seen));
    driver.then([&](ResultsViewer& viewer) {
        // Ctrl+S opens the save window over the viewer; it is closed as soon as it shows, however
        // late that is.
        auto* poll = new QTimer(&viewer);
        QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
            QWidget* window = QApplication::activeModalWidget();
            if (!window || window == &viewerWindow()) return;
            saveWindowTitle = window->windowTitle();
            window->close();
            poll->deleteLater();
        });
        poll->start(20);
        key(Qt::CTRL | Qt::Key_S)(viewer);
    });
    driver.then(look(seen)).then(key(Qt::ALT | Qt::Key_R));
    driver.then([&](ResultsViewer&) { seen << QStringLiteral("still open after Alt+R"); });
    QVERIFY(run(selection, driver));
    printers_.outputFile.clear();

    QCOMPARE(seen,
             (QStringList{"3 of 4 < >", "2 of 4 < >", "2 of 4 < >", "2 of 4 < >", "2 of 4 < >"}));
    QCOMPARE(driver.stepsLeft(), 1);  // Alt+R ended the viewing
    QCOMPARE(hidden.hides, 1);        // only by Alt+R
    QCOMPARE(pdfPageCount(pdf), 1);
    QCOMPARE(saveWindowTitle, QStringLiteral("Save results to file"));
    QVERIFY(messages_.all.isEmpty());
}

QTEST_MAIN(ResultsViewerTest)
#include "results_viewer_test.moc"
