// The dose assessment window as the composition wires it, on the sample data set: reached from
// the Tools menu (the specified menus kept, Tools last) and from the viewer's context menu
// (an intake of the table on show, the window usable while the viewer is modal); the same
// numbers as fetaldose-batch assess for the same intakes file; a bad entry or setting shown
// where it is and nothing lost; a bad intakes file leaving the grid as it was; the outputs.
// The window is reached through its controls' object names.

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <QWindow>
#include <optional>

#include "../../batch/batch_runner.h"
#include "core/assessment/assessment.h"
#include "core/export/dose_rows.h"
#include "gui/assessment/assessment_window.h"
#include "gui/assessment/intake_table_model.h"
#include "gui/results/result_grid.h"
#include "gui/selection/selection_window.h"
#include "pdf_printers.h"
#include "viewer_fixture.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

const QString kSample = QStringLiteral(FETALDOSE_SAMPLE_DIR);

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// An assessment file's lines without the time of the export, the one line that differs
// between two exports of the same assessment.
QList<QByteArray> withoutExportTime(const QByteArray& csv) {
    QList<QByteArray> lines = csv.split('\n');
    lines.removeIf([](const QByteArray& line) { return line.startsWith("# Exported"); });
    return lines;
}

// Two nuclides; a tabulated time, one between two (12 weeks), one before the earliest, a
// chronic one and one by date; activities in becquerels and curies.
const QByteArray kIntakes =
    "nuclide,exposure_group,intake_route,intake_time,activity,unit,note\r\n"
    "# measured at the hospital\r\n"
    "I-131,Worker,Ingestion: f1 = 1.0,12 weeks after conception,3.7E4,Bq,first\r\n"
    "I-131,Worker,\"Inhalation: Type F, f1 = 1.0, 1.0 microns AMAD\",Acute intake (1Bq) at "
    "conception,0.5,uCi,\r\n"
    "Cs-137,Worker,\"Inhalation: Type M, f1 = 0.1, 5.0 microns AMAD\",3 years before "
    "conception,2,kBq,\r\n"
    "Cs-137,Worker,Ingestion: f1 = 1.0,Constant chronic intake (1Bq total) from conception to "
    "birth,120,nCi,last\r\n";

}  // namespace

class AssessmentWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    PdfPrinters printers_;
    std::unique_ptr<WindowSet> windows_;
    std::optional<AssessmentFileChoice> nextFile_;

    QString home() const { return QDir::currentPath(); }
    QString file(const char* name) const { return home() + u'/' + QLatin1String(name); }
    AssessmentWindow& window() { return windows_->assessment(); }
    template <class T>
    T* control(const char* name) {
        T* found = window().findChild<T*>(QLatin1String(name));
        if (!found) qWarning("no control %s", name);
        return found;
    }
    QTableView* grid() { return control<QTableView>("intakeGrid"); }
    QAbstractItemModel* gridModel() { return grid()->model(); }
    QString cell(int row, int column) { return gridModel()->index(row, column).data().toString(); }
    QStringList totalRow(int row) {
        QStringList cells;
        QAbstractItemModel* totals = control<QTableView>("totalDoseTable")->model();
        for (int c = 0; c < totals->columnCount(); ++c)
            cells << totals->index(row, c).data().toString();
        return cells;
    }

    // Presses a button whose command asks for a file, the seam answering with `path`.
    void pressWithFile(const char* button, const QString& path,
                       OutputFormat format = OutputFormat::Csv) {
        nextFile_ = AssessmentFileChoice{path, format};
        control<QPushButton>(button)->click();
        QVERIFY(!nextFile_);
    }

    // F2 on a cell of the grid, then the keys as typed, then Enter: the keyboard's way.
    void typeInto(int row, int column, const QString& text) {
        grid()->setFocus();
        grid()->setCurrentIndex(gridModel()->index(row, column));
        QTest::keyClick(grid(), Qt::Key_F2);
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != grid());
        if (auto* list = qobject_cast<QComboBox*>(editor)) editor = list->lineEdit();
        auto* line = qobject_cast<QLineEdit*>(editor);
        QVERIFY(line);
        line->selectAll();
        QTest::keyClicks(line, text);
        QTest::keyClick(line, Qt::Key_Return);
        QCoreApplication::processEvents();  // the grid takes the text after the key
    }
    // F2 on a cell whose field is chosen from a list, the choice shown as `shown`, then Enter.
    void chooseIn(int row, int column, const QString& shown) {
        grid()->setFocus();
        grid()->setCurrentIndex(gridModel()->index(row, column));
        QTest::keyClick(grid(), Qt::Key_F2);
        auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(list);
        const int at = list->findText(shown);
        QVERIFY2(at >= 0, qPrintable(shown));
        list->setCurrentIndex(at);
        QTest::keyClick(list, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    void showWindow() {
        window().showInFront();
        QVERIFY(QTest::qWaitForWindowActive(&window()));
    }

  private slots:
    void init() {
        data_ = std::make_unique<WorkingDataSet>();
        // H-3 is the catalogue's first nuclide: its data file read-only, no first-run pass.
        for (const char* name :
             {"nuclides.txt", "SYNTHETIC", "H-3.dat", "I-131.dat", "Cs-137.dat"}) {
            QVERIFY(QFile::copy(kSample + u'/' + QLatin1String(name), data_->dataPath(name)));
            QFile::setPermissions(data_->dataPath(name),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        messages_.clear();
        printers_.outputFile.clear();
        Platform platform;
        platform.messages = &messages_;
        platform.printers = &printers_;
        platform.decimalSeparator = [] { return '.'; };
        platform.askAssessmentFile = [this](QWidget*, AssessmentFileKind) {
            return std::exchange(nextFile_, {});
        };
        windows_ = std::make_unique<WindowSet>(std::move(platform));
        windows_->create();
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    // The menu bar holds the specified menus as they were and Tools last, on one line, and
    // the window keeps its fixed size; "Dose assessment…" opens the window beside the main
    // one, blocking nothing, with a name for every control.
    void toolsMenuOpensTheWindowBesideTheMainOne() {
        SelectionWindow& main = windows_->selection();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QMenuBar* bar = main.menuBar();
        QStringList titles;
        for (QAction* menu : bar->actions()) titles << menu->text();
        QCOMPARE(titles,
                 QStringList({QStringLiteral("&File"), QStringLiteral("&General information"),
                              QStringLiteral("VORQ 47"), QStringLiteral("Help"),
                              QStringLiteral("&Tools")}));
        QCOMPARE(bar->actionGeometry(bar->actions().last()).top(),
                 bar->actionGeometry(bar->actions().first()).top());
        QCOMPARE(main.centralWidget()->size(), QSize(668, 439));
        QCOMPARE(main.minimumSize(), main.maximumSize());
        QMenu* tools = bar->actions().last()->menu();
        QCOMPARE(tools->actions().size(), 2);  // then "Compare with another data set…"
        QCOMPARE(tools->actions().first()->text(), QString::fromUtf8("&Dose assessment\u2026"));

        tools->actions().first()->trigger();
        QVERIFY(window().isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QCOMPARE(window().windowModality(), Qt::NonModal);
        QVERIFY(window().minimumSize() != window().maximumSize());
        QVERIFY(messages_.all.isEmpty());
        QVERIFY(window().warningText().contains(QStringLiteral("synthetic")));

        // A name for every control a keyboard reaches, the editors of the grid included.
        // (The line inside a date box or a list that takes typing is spoken as its box.)
        for (QWidget* widget : window().findChildren<QWidget*>()) {
            const QWidget* parent = widget->parentWidget();
            if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&window()) ||
                qobject_cast<const QAbstractSpinBox*>(parent) ||
                qobject_cast<const QComboBox*>(parent) || qobject_cast<QTabBar*>(widget))
                continue;
            QVERIFY2(!widget->accessibleName().isEmpty(), widget->metaObject()->className());
        }
        showWindow();
        // Tab reaches every part of the window, settings first, and comes round again.
        control<QComboBox>("doseUnitBox")->setFocus();
        QStringList reached;
        for (int i = 0; i < 60 && !reached.contains(QStringLiteral("doseUnitBox")); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        const QStringList parts = {"limitBox",       "tissueList",     "periodList",
                                   "intakeGrid",     "conceptionDate", "setTimeFromDatesButton",
                                   "totalDoseTable", "exportButton",   "closeButton"};
        for (const QString& part : parts) QVERIFY2(reached.contains(part), qPrintable(part));
        QVERIFY(reached.indexOf(QStringLiteral("periodList")) <
                reached.indexOf(QStringLiteral("intakeGrid")));
        control<QPushButton>("addIntakeButton")->click();
        for (int column = 0; column < IntakeTableModel::Outcome; ++column) {
            grid()->setFocus();
            grid()->setCurrentIndex(gridModel()->index(0, column));
            QTest::keyClick(grid(), Qt::Key_F2);
            QWidget* editor = QApplication::focusWidget();
            QVERIFY(editor && editor != grid());
            if (qobject_cast<QComboBox*>(editor->parentWidget())) editor = editor->parentWidget();
            QCOMPARE(editor->accessibleName(),
                     gridModel()->headerData(column, Qt::Horizontal).toString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        }
    }

    // For the same intakes file and settings, the window's export is the batch tool's, line
    // for line (the time of the export aside), and the window's totals show its numbers.
    void windowAssessesAsTheBatchToolDoes() {
        writeAll(file("intakes.csv"), kIntakes);
        showWindow();
        pressWithFile("openIntakesButton", file("intakes.csv"));
        QVERIFY2(messages_.all.isEmpty(), qPrintable(messages_.all.join(u'\n')));
        QCOMPARE(gridModel()->rowCount(), 4);
        QCOMPARE(gridModel()->headerData(0, Qt::Vertical).toInt(), 3);  // its line in the file
        QVERIFY(cell(0, IntakeTableModel::Outcome).contains(QStringLiteral("10 weeks")));

        struct Settings {
            std::vector<std::string> batch;
            std::function<void()> inWindow;
        };
        const QList<Settings> settings = {
            {{}, [] {}},
            {{"--unit", "mrem", "--method", "interpolated", "--external", "0.2mSv", "--limit",
              "monthly", "--periods", "1y,70y", "--tissues", "Thyroid;Effective dose"},
             [this] {
                 control<QComboBox>("doseUnitBox")->setCurrentText(QStringLiteral("mrem"));
                 control<QComboBox>("methodBox")->setCurrentIndex(1);
                 control<QLineEdit>("externalDoseEdit")->setText(QStringLiteral("0.2"));
                 control<QComboBox>("externalUnitBox")->setCurrentText(QStringLiteral("mSv"));
                 control<QComboBox>("limitBox")->setCurrentIndex(3);
                 QListWidget* tissues = control<QListWidget>("tissueList");
                 for (int i = 0; i < tissues->count(); ++i)
                     tissues->item(i)->setCheckState(i == 15 || i == 17 ? Qt::Checked
                                                                        : Qt::Unchecked);
                 QListWidget* periods = control<QListWidget>("periodList");
                 for (int i : {1, 2, 3}) periods->item(i)->setCheckState(Qt::Unchecked);
             }},
            {{"--limit", "1uSv", "--unit", "uSv"},
             [this] {
                 control<QComboBox>("limitBox")->setCurrentIndex(4);
                 control<QLineEdit>("customLimitEdit")->setText(QStringLiteral("1"));
                 control<QComboBox>("customLimitUnitBox")->setCurrentIndex(2);  // µSv
                 control<QComboBox>("doseUnitBox")->setCurrentIndex(2);
                 control<QComboBox>("methodBox")->setCurrentIndex(0);
                 control<QLineEdit>("externalDoseEdit")->clear();
                 for (QListWidget* list :
                      {control<QListWidget>("tissueList"), control<QListWidget>("periodList")})
                     for (int i = 0; i < list->count(); ++i)
                         list->item(i)->setCheckState(Qt::Checked);
             }},
        };
        int n = 0;
        for (const Settings& setting : settings) {
            setting.inWindow();
            const QString windowCsv = home() + QStringLiteral("/window%1.csv").arg(++n);
            const QString batchCsv = home() + QStringLiteral("/batch%1.csv").arg(n);
            pressWithFile("exportButton", windowCsv);
            QVERIFY2(messages_.all.isEmpty(), qPrintable(messages_.all.join(u'\n')));
            std::vector<std::string> args = {"assess",
                                             "--data",
                                             (home() + QStringLiteral("/data")).toStdString(),
                                             "--intakes",
                                             file("intakes.csv").toStdString(),
                                             "--out",
                                             batchCsv.toStdString()};
            args.insert(args.end(), setting.batch.begin(), setting.batch.end());
            const auto batch = fetaldose::testing::runBatchTool(
                FETALDOSE_BATCH, args, home().toStdString(), (home() + u'/').toStdString());
            QVERIFY2(batch.status == 0, batch.err.c_str());
            QCOMPARE(withoutExportTime(readAll(windowCsv)), withoutExportTime(readAll(batchCsv)));

            // The totals on screen are the file's "total" rows.
            const QList<QByteArray> lines = readAll(batchCsv).split('\n');
            int row = 0;
            for (const QByteArray& line : lines) {
                if (!line.startsWith("total,")) continue;
                QCOMPARE(totalRow(row++).join(u','), QString::fromUtf8(line.mid(6).trimmed()));
            }
            QVERIFY(row > 0);
            const QByteArray verdict = n == 3 ? "EXCEEDS the limit" : "Within the limit";
            QVERIFY(readAll(batchCsv).contains(verdict));
            QVERIFY(window().limitText().startsWith(QString::fromLatin1(verdict)));
        }
    }

    // "Assess an intake with this table…" in the modal viewer adds the table's nuclide, group,
    // route entry and scenario, the texts the CSV export gives them; the window is usable while
    // the viewer is modal, and stays open after it.
    void viewerTableGivesTheIntake() {
        SelectionSnapshot selection;
        selection.nuclides = {"I-131"};
        selection.halfLives = {"8.02 d"};
        selection.occupational = selection.allRoutes = selection.allAerosol = true;
        selection.acuteScenarios[5] = selection.chronicScenarios[2] = true;
        selection.allOrgans = selection.allPeriods = true;
        ResultsViewer& viewer = windows_->viewer();
        bool usable = false;
        exporting::TableTexts texts;
        test::ViewerDriver driver(viewer);
        driver.then([](ResultsViewer& v) { v.showNextTable(); })
            .then([&](ResultsViewer& v) {
                texts = exporting::tableTexts(*v.run(), v.currentTable());
                for (QAction* action : v.postNatalGrid().actions())
                    if (action->text() ==
                        QString::fromUtf8("Assess an intake with this table\u2026"))
                        action->trigger();
            })
            .then([&](ResultsViewer&) {
                // Not blocked by the modal viewer: Qt's own rule for a window under a modal one.
                usable = window().isVisible() && QGuiApplication::modalWindow() &&
                         QGuiApplication::modalWindow()->isAncestorOf(window().windowHandle());
            });
        driver.run([&] { windows_->run(selection); });
        QCOMPARE(driver.stepsLeft(), 0);
        QVERIFY(usable);
        QVERIFY(window().isVisible());
        QCOMPARE(gridModel()->rowCount(), 1);
        const assessment::IntakeEntry& entry = window().intakes().intakes.at(0);
        QCOMPARE(entry.nuclide, texts.nuclide);
        QCOMPARE(entry.group, texts.group);
        QCOMPARE(entry.route, texts.route);
        QCOMPARE(entry.time, texts.scenario);
        // Only the activity is wanting, and the cursor is on it.
        QCOMPARE(grid()->currentIndex().column(), int(IntakeTableModel::Activity));
        QVERIFY(cell(0, IntakeTableModel::Outcome).contains(QStringLiteral("Activity")));
        typeInto(0, IntakeTableModel::Activity, QStringLiteral("1000"));
        QCOMPARE(cell(0, IntakeTableModel::Outcome), QString::fromUtf8(texts.scenario));
        QVERIFY(messages_.all.isEmpty());
    }

    // A bad activity, unit, time or setting is shown at its place with why; every other field
    // and intake stays as it was, and nothing is written until it is mended.
    void badEntriesShowTheirProblemAndLoseNothing() {
        showWindow();
        control<QPushButton>("addIntakeButton")->click();
        typeInto(0, IntakeTableModel::Activity, QStringLiteral("3.7E4"));
        control<QPushButton>("addIntakeButton")->click();  // repeats the row but the activity
        QCOMPARE(gridModel()->rowCount(), 2);
        for (int column : {IntakeTableModel::Nuclide, IntakeTableModel::Route})
            QCOMPARE(cell(1, column), cell(0, column));
        QVERIFY(window().result().intakes.at(0).assessed());
        const QStringList before = totalRow(17);

        const QList<std::pair<QString, QString>> bad = {
            {QStringLiteral("-5"), QStringLiteral("negative")},
            {QStringLiteral("nan"), QStringLiteral("not a finite number")},
            {QStringLiteral("1e999"), QStringLiteral("beyond the range")},
            {QStringLiteral("3,7"), QStringLiteral("with a point")}};
        for (const auto& [activity, why] : bad) {
            typeInto(1, IntakeTableModel::Activity, activity);
            QCOMPARE(cell(1, IntakeTableModel::Activity), activity);
            const QString outcome = cell(1, IntakeTableModel::Outcome);
            QVERIFY2(outcome.contains(QStringLiteral("Activity: ")) && outcome.contains(why),
                     qPrintable(outcome));
            QVERIFY(gridModel()
                        ->index(1, IntakeTableModel::Activity)
                        .data(Qt::BackgroundRole)
                        .isValid());
            QVERIFY(
                !gridModel()->index(1, IntakeTableModel::Time).data(Qt::BackgroundRole).isValid());
            QCOMPARE(totalRow(17), before);  // the good intake alone
            QVERIFY(control<QLabel>("resultsNote")->text().startsWith(u'1'));
            QVERIFY(window().limitText().startsWith(QStringLiteral("The limit cannot be checked")));
        }
        typeInto(1, IntakeTableModel::Time, QStringLiteral("40 weeks after conception"));
        typeInto(1, IntakeTableModel::Activity, QStringLiteral("1"));
        QVERIFY(cell(1, IntakeTableModel::Outcome).contains(QStringLiteral("after birth")));
        typeInto(1, IntakeTableModel::Time, QStringLiteral("soon"));
        QVERIFY(cell(1, IntakeTableModel::Outcome).contains(QStringLiteral("is not a time")));

        // Nothing is written while an intake cannot be assessed; the message names it.
        for (const OutputFormat format : {OutputFormat::Csv, OutputFormat::Pdf}) {
            messages_.clear();
            pressWithFile("exportButton", file("out.pdf"), format);
            QCOMPARE(messages_.errors.size(), 1);
            QVERIFY2(messages_.errors[0].contains(QStringLiteral("cannot be assessed")) &&
                         messages_.errors[0].contains(QStringLiteral("is not a time")),
                     qPrintable(messages_.errors[0]));
            QVERIFY(!QFile::exists(file("out.pdf")));
        }

        // The time from two dates: twelve weeks, between two tabulated times.
        control<QDateEdit>("conceptionDate")->setDate(QDate(2026, 1, 1));
        control<QDateEdit>("intakeDate")->setDate(QDate(2026, 3, 26));
        grid()->setCurrentIndex(gridModel()->index(1, IntakeTableModel::Unit));
        control<QPushButton>("setTimeFromDatesButton")->click();
        QCOMPARE(cell(1, IntakeTableModel::Time), QStringLiteral("12 weeks after conception"));
        chooseIn(1, IntakeTableModel::Unit, QString::fromUtf8("\u00B5Ci"));
        QCOMPARE(window().intakes().intakes.at(1).unit, std::string("uCi"));
        QVERIFY(cell(1, IntakeTableModel::Outcome).contains(QStringLiteral("the larger")));
        QCOMPARE(window().result().problemCount, 0);
        QCOMPARE(window().result().intakes.at(1).becquerels, 37000.0);

        // A setting that does not read holds back the verdict and every output.
        control<QLineEdit>("externalDoseEdit")->setText(QStringLiteral("0,2"));
        QVERIFY(control<QLabel>("settingsProblem")->isVisibleTo(&window()));
        QVERIFY(window().limitText().contains(QStringLiteral("external dose is not a dose")));
        messages_.clear();
        pressWithFile("exportButton", file("out.csv"));
        printers_.outputFile = file("printed.pdf");
        control<QPushButton>("printButton")->click();
        QCOMPARE(messages_.errors.size(), 2);
        QVERIFY(!QFile::exists(file("out.csv")) && !QFile::exists(file("printed.pdf")));
        control<QLineEdit>("externalDoseEdit")->setText(QStringLiteral("0.2"));
        QVERIFY(window().limitText().startsWith(QStringLiteral("Within the limit")));

        // Removing a row keeps the others.
        grid()->setCurrentIndex(gridModel()->index(0, 0));
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Delete);
        QCOMPARE(gridModel()->rowCount(), 1);
        QCOMPARE(cell(0, IntakeTableModel::Time), QStringLiteral("12 weeks after conception"));
    }

    // An intakes file that cannot be read leaves the grid as it was, and says why with the
    // file's name; no output replaces an input.
    void badFilesKeepTheGridAndInputsStayUntouched() {
        writeAll(file("intakes.csv"), kIntakes);
        writeAll(file("unclosed.csv"),
                 "nuclide,exposure_group,intake_route,intake_time,activity,unit\r\n"
                 "I-131,Worker,\"Ingestion: f1 = 1.0,at conception,1,Bq\r\n");
        writeAll(file("header.csv"), "nuclide,group\r\nI-131,Worker\r\n");
        QVERIFY(QDir().mkdir(file("folder.csv")));
        showWindow();
        pressWithFile("openIntakesButton", file("intakes.csv"));
        const assessment::IntakeList kept = window().intakes();
        for (const char* name : {"unclosed.csv", "header.csv", "folder.csv", "missing.csv"}) {
            messages_.clear();
            pressWithFile("openIntakesButton", file(name));
            QCOMPARE(messages_.errors.size(), 1);
            QVERIFY2(messages_.errors[0].contains(file(name)), qPrintable(messages_.errors[0]));
            QVERIFY(window().intakes() == kept);
            QCOMPARE(window().intakesFile(), file("intakes.csv"));
        }
        messages_.clear();

        // Outputs onto the open intakes file or a file of the data set are refused.
        const QByteArray catalogue = readAll(data_->dataPath("nuclides.txt"));
        pressWithFile("exportButton", file("intakes.csv"));
        pressWithFile("exportButton", data_->dataPath("I-131.dat"), OutputFormat::Pdf);
        pressWithFile("saveIntakesButton", data_->dataPath("nuclides.txt"));
        QCOMPARE(messages_.errors.size(), 3);
        QCOMPARE(readAll(file("intakes.csv")), kIntakes);
        QCOMPARE(readAll(data_->dataPath("nuclides.txt")), catalogue);

        // Saved and read back: the same intakes (the comment line gone, so numbered anew).
        messages_.clear();
        typeInto(3, IntakeTableModel::Activity, QStringLiteral("100"));
        QVERIFY(window().intakesFile().isEmpty());
        pressWithFile("saveIntakesButton", file("saved.csv"));
        QVERIFY(messages_.all.isEmpty());
        const assessment::IntakeList saved =
            assessment::readIntakesFile(file("saved.csv").toStdString());
        QCOMPARE(saved.intakes.size(), kept.intakes.size());
        QCOMPARE(saved.extraColumns, kept.extraColumns);
        QCOMPARE(saved.intakes[3].activity, std::string("100"));
        QCOMPARE(saved.intakes[0].extra, kept.intakes[0].extra);
        QCOMPARE(window().intakesFile(), file("saved.csv"));
        QCOMPARE(gridModel()->headerData(0, Qt::Vertical).toInt(), 2);
    }

    // The PDF report and the print carry the provenance, the intakes, the doses and the check.
    // Intakes not saved are lost only at the user's word: opening another file, or ending the
    // program, asks first; the answer "keep" keeps them and the program.
    void unsavedIntakesAreDiscardedOnlyAtTheUsersWord() {
        writeAll(file("intakes.csv"), kIntakes);
        writeAll(file("empty.csv"),
                 "nuclide,exposure_group,intake_route,intake_time,activity,unit\r\n");
        showWindow();
        pressWithFile("openIntakesButton", file("intakes.csv"));
        QVERIFY(!window().hasUnsavedIntakes());
        pressWithFile("openIntakesButton", file("intakes.csv"));  // nothing to lose: no question
        QVERIFY(messages_.asked.isEmpty());
        typeInto(0, IntakeTableModel::Activity, QStringLiteral("7"));
        QVERIFY(window().hasUnsavedIntakes());
        const assessment::IntakeList edited = window().intakes();

        messages_.answer = false;
        nextFile_ = AssessmentFileChoice{file("empty.csv"), OutputFormat::Csv};
        control<QPushButton>("openIntakesButton")->click();
        QCOMPARE(messages_.asked.size(), 1);
        QVERIFY(nextFile_);  // no file dialog after "keep"
        nextFile_.reset();
        QVERIFY(window().intakes() == edited);
        windows_->selection().exitProgram();
        QCOMPARE(messages_.asked.size(), 2);
        QVERIFY(!windows_->quitting());

        messages_.answer = true;
        pressWithFile("openIntakesButton", file("empty.csv"));
        QCOMPARE(messages_.asked.size(), 3);
        QVERIFY(window().intakes().intakes.empty());
        QVERIFY(messages_.errors.isEmpty());
    }

    void pdfAndPrintCarryTheReport() {
        writeAll(file("intakes.csv"), kIntakes);
        showWindow();
        pressWithFile("openIntakesButton", file("intakes.csv"));
        pressWithFile("exportButton", file("report.pdf"), OutputFormat::Pdf);
        printers_.outputFile = file("printed.pdf");
        control<QPushButton>("printButton")->click();
        pressWithFile("exportButton", file("book.xlsx"), OutputFormat::Xlsx);
        QVERIFY2(messages_.all.isEmpty(), qPrintable(messages_.all.join(u'\n')));
        QVERIFY(readAll(file("book.xlsx")).startsWith("PK"));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        for (const char* name : {"report.pdf", "printed.pdf"}) {
            QVERIFY(readAll(file(name)).startsWith("%PDF"));
            if (pdftotext.isEmpty()) continue;
            QProcess text;
            text.start(pdftotext, {QStringLiteral("-raw"), file(name), QStringLiteral("-")});
            QVERIFY(text.waitForFinished(30000));
            const QString words = QString::fromUtf8(text.readAllStandardOutput());
            for (const char* expected :
                 {"SHA-256 of I-131.dat", "SHA-256 of Cs-137.dat", "WARNING", "Intake (line 6)",
                  "Total doses", "Doses of intake 3", "Within the limit"})
                QVERIFY2(words.contains(QLatin1String(expected)), expected);
        }
    }

    // Under a real X display (the screenshots test), the window as a user sees it.
    void screenshot() {
        const QByteArray folder = qgetenv("FETALDOSE_ASSESSMENT_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("screenshots only under the screenshots test");
        writeAll(file("intakes.csv"), kIntakes +
                                          "I-131,Worker,Ingestion: f1 = 1.0,45 weeks after "
                                          "conception,1,Bq,\r\n");
        showWindow();
        pressWithFile("openIntakesButton", file("intakes.csv"));
        grid()->setCurrentIndex(gridModel()->index(4, IntakeTableModel::Time));
        QTest::qWait(300);
        QVERIFY(window().grab().save(QString::fromLocal8Bit(folder) + "/assessment.png"));
        control<QComboBox>("limitBox")->setCurrentIndex(1);
        grid()->setCurrentIndex(gridModel()->index(1, IntakeTableModel::Route));
        QTest::keyClick(grid(), Qt::Key_F2);
        QTest::qWait(300);
        QVERIFY(window().grab().save(QString::fromLocal8Bit(folder) + "/assessment_edit.png"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        grid()->setCurrentIndex(gridModel()->index(4, 0));
        QTest::keyClick(grid(), Qt::Key_Delete);
        pressWithFile("exportButton", QString::fromLocal8Bit(folder) + "/assessment.pdf",
                      OutputFormat::Pdf);
        QVERIFY2(messages_.all.isEmpty(), qPrintable(messages_.all.join(u'\n')));
    }
};

QTEST_MAIN(AssessmentWindowTest)
#include "assessment_window_test.moc"
