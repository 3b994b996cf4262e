// The comparison window as a user reaches it: the Tools menu at the right end of the main
// window's menu bar (which keeps its size), the candidate from the folder dialog, the summary and
// the exported file the batch tool gives for the same comparison, the filters, both tables side
// by side, and the messages of bad input. Dialogs are the platform's seams; no box blocks.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "../../batch/batch_runner.h"
#include "app/window_set.h"
#include "compare_folders.h"
#include "core/compare/comparison.h"
#include "core/options/options_file.h"
#include "core/refdata/catalogue.h"
#include "core/selection/selection_model.h"
#include "gui/compare/compare_window.h"
#include "gui/selection/selection_window.h"
#include "recording_messages.h"
#include "scratch_directory.h"

using namespace fetaldose;
using namespace fetaldose::gui;

namespace {

// The lines of a file without the time of its export, which differs from file to file.
QByteArrayList withoutExportTime(const std::string& path) {
    QByteArrayList lines =
        QByteArray::fromStdString(fetaldose::testing::readBytes(path)).split('\n');
    lines.removeIf([](const QByteArray& line) { return line.contains("Exported: "); });
    return lines;
}

}  // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<fetaldose::testing::ScratchDirectory> work_;
    std::string reference_;  // the program's data folder
    std::string candidate_;
    QString previousDirectory_;
    RecordingMessages messages_;
    QString chosenFolder_;
    std::optional<CompareExportTarget> exportTarget_;
    std::unique_ptr<WindowSet> windows_;

    CompareWindow& compare() { return windows_->compareWindow(); }
    void waitForComparison() { QTRY_VERIFY_WITH_TIMEOUT(!compare().busy(), 20000); }
    fetaldose::testing::BatchResult batch(std::vector<std::string> args) {
        args.insert(args.begin(), {"compare", "--data", reference_, "--with", candidate_});
        return fetaldose::testing::runBatchTool(FETALDOSE_BATCH, args, work_->slash(),
                                                work_->file("streams"));
    }
    // Tools > Compare with another data set...
    QAction* compareItem() {
        return windows_->selection().findChild<QAction*>(QStringLiteral("CompareDataSetsItem"));
    }

  private slots:
    void init() {
        work_ = std::make_unique<fetaldose::testing::ScratchDirectory>();
        reference_ = work_->file("data/");
        candidate_ = work_->file("candidate/");
        fetaldose::testing::writeReferenceSet(reference_);
        fetaldose::testing::writeReferenceSet(candidate_);
        // The candidate's Cs-137: one in-utero dose far larger, one gone, one new.
        testing::writeDataFile(
            candidate_, "Cs-137",
            fetaldose::testing::ingestionDataFile(
                {"0.5", "0.6", "0.7"},
                fetaldose::testing::doseChangedAt(
                    {1, "0.6", 2, 0, 3}, "9.9E-07",
                    fetaldose::testing::doseChangedAt({2, "0.7", 5, 2, 8}, "0.0E+00"))));
        testing::writeDataFile(reference_, "Cs-137",
                               fetaldose::testing::ingestionDataFile(
                                   {"0.5", "0.6", "0.7"}, fetaldose::testing::doseChangedAt(
                                                              {1, "0.5", 9, 4, 12}, "0.0E+00")));
        for (const auto& entry : std::filesystem::directory_iterator(reference_))
            std::filesystem::permissions(entry.path(), std::filesystem::perms(0444));
        saveOptionsFile(work_->file("both.opt"),
                        fetaldose::testing::ingestionSelection({"Pu-239", "Cs-137"}));

        previousDirectory_ = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(work_->slash()));
        messages_.clear();
        chosenFolder_ = QString::fromStdString(candidate_);
        Platform platform;
        platform.messages = &messages_;
        platform.decimalSeparator = [] { return '.'; };
        platform.chooseFolder = [this](QWidget*, const QString&, const QString&) {
            return chosenFolder_;
        };
        platform.askComparisonTarget = [this](QWidget*) { return exportTarget_; };
        windows_ = std::make_unique<WindowSet>(std::move(platform));
        windows_->create();
        QCOMPARE(windows_->selectionModel().loadOptions(work_->file("both.opt")),
                 OptionsLoad::Completed);
        windows_->selection().show();
        QVERIFY(QTest::qWaitForWindowExposed(&windows_->selection()));
    }
    void cleanup() {
        windows_.reset();
        QDir::setCurrent(previousDirectory_);
        work_.reset();
    }

    void toolsMenuIsTheLastAndKeepsTheWindowsSize() {
        QMenuBar* bar = windows_->selection().menuBar();
        const QList<QAction*> menus = bar->actions();
        QCOMPARE(menus.size(), 5);
        QCOMPARE(menus.last()->text(), QStringLiteral("&Tools"));
        QCOMPARE(menus.last()->menu()->actions().size(), 2);  // after "Dose assessment…"
        QCOMPARE(menus.last()->menu()->actions().last(), compareItem());
        QCOMPARE(compareItem()->text(), QStringLiteral("&Compare with another data set…"));
        // The menus keep one row: the window stays its fixed size.
        QCOMPARE(bar->actionGeometry(menus.last()).top(), bar->actionGeometry(menus.first()).top());
        QCOMPARE(windows_->selection().size(), QSize(668, 439 + bar->heightForWidth(668)));
        QCOMPARE(windows_->selection().centralWidget()->size(), QSize(668, 439));
        QVERIFY(messages_.all.isEmpty());
    }

    void theWindowAndTheBatchToolAgree() {
        compareItem()->trigger();
        QVERIFY(compare().isVisible());
        waitForComparison();
        QVERIFY2(messages_.all.isEmpty(), qPrintable(messages_.all.join(u'\n')));
        QVERIFY(compare().comparison());
        // The other windows are never blocked by the comparison window.
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(windows_->selection().isEnabled());

        fetaldose::testing::BatchResult r = batch({"--options", "both.opt"});
        QCOMPARE(r.status, 4);
        QCOMPARE(compare().summaryText() + u'\n', QString::fromUtf8(r.out));

        exportTarget_ = CompareExportTarget{QString::fromStdString(work_->file("window.csv")),
                                            OutputFormat::Csv};
        compare().exportComparison();
        r = batch({"--options", "both.opt", "--out", "batch.csv"});
        QCOMPARE(r.status, 4);
        QCOMPARE(withoutExportTime(work_->file("window.csv")),
                 withoutExportTime(work_->file("batch.csv")));

        // Everything the two hold, at a threshold: the same again.
        compare().setEverything(true);
        compare().setThreshold(0.5);
        compare().compare();
        waitForComparison();
        r = batch({"--all", "--threshold", "0.5"});
        QCOMPARE(compare().summaryText() + u'\n', QString::fromUtf8(r.out));

        // The PDF report, and an export onto a data file refused with the file kept.
        exportTarget_ =
            CompareExportTarget{QString::fromStdString(work_->file("c.pdf")), OutputFormat::Pdf};
        compare().exportComparison();
        QVERIFY(messages_.all.isEmpty());
        QCOMPARE(fetaldose::testing::readBytes(work_->file("c.pdf")).substr(0, 5), "%PDF-");
        const std::string before = fetaldose::testing::readBytes(candidate_ + "Cs-137.dat");
        exportTarget_ = CompareExportTarget{QString::fromStdString(candidate_ + "Cs-137.dat"),
                                            OutputFormat::Pdf};
        compare().exportComparison();
        QCOMPARE(messages_.errors.size(), 1);
        QVERIFY(messages_.errors[0].contains(QStringLiteral("not written")));
        QCOMPARE(fetaldose::testing::readBytes(candidate_ + "Cs-137.dat"), before);
    }

    void filtersAndBothTablesSideBySide() {
        compareItem()->trigger();
        waitForComparison();
        const Comparison& c = *compare().comparison();
        QCOMPARE(compare().shownRows(), static_cast<int>(c.differences.size()));
        QVERIFY(c.cells.newCells == 1 && c.cells.goneCells == 1);

        compare().setDirectionFilter(4);  // gone
        QCOMPARE(compare().shownRows(), 1);
        QCOMPARE(compare().shownDifference(0)->status, CellStatus::Gone);
        compare().setDirectionFilter(3);  // new
        QCOMPARE(compare().shownRows(), 1);
        QCOMPARE(compare().shownDifference(0)->status, CellStatus::New);
        compare().setDirectionFilter(1);  // increase: the larger in-utero dose and its offspring
        QVERIFY(compare().shownRows() >= 1);
        for (int row = 0; row < compare().shownRows(); ++row)
            QVERIFY(compare().shownDifference(row)->ratio > 1);
        compare().setDirectionFilter(0);
        compare().setChangeFilter(1e9);  // only new and gone pass so large a change
        QCOMPARE(compare().shownRows(), 2);
        compare().setChangeFilter(0);
        compare().setTissueFilter(3);  // the third tissue, where the in-utero dose changed
        QVERIFY(compare().shownRows() >= 1);
        for (int row = 0; row < compare().shownRows(); ++row)
            QCOMPARE(compare().shownDifference(row)->row, 3);
        compare().setTissueFilter(0);
        compare().setNuclideFilter(1);  // Cs-137, the only one that differs
        QCOMPARE(compare().shownRows(), static_cast<int>(c.differences.size()));

        // The changed in-utero dose, both tables side by side, the cell marked on both.
        compare().setDirectionFilter(1);
        compare().setTissueFilter(3);
        int inUtero = -1;
        for (int row = 0; row < compare().shownRows(); ++row)
            if (compare().shownDifference(row)->quantity == CellQuantity::InUtero) inUtero = row;
        QVERIFY(inUtero >= 0);
        QTableView* table = compare().findChild<QTableView*>();
        QVERIFY(table);
        table->setFocus();
        table->setCurrentIndex(table->model()->index(inUtero, 0));
        QTest::keyClick(table, Qt::Key_Return);
        QDialog* both = compare().sideBySide();
        QVERIFY(both && both->isVisible());
        QList<QTableWidget*> grids = both->findChildren<QTableWidget*>();
        QCOMPARE(grids.size(), 2);
        // Spoken as the side they show: the reference first.
        if (grids[0]->accessibleName() != QStringLiteral("Reference")) grids.swapItemsAt(0, 1);
        QCOMPARE(grids[0]->accessibleName(), QStringLiteral("Reference"));
        QCOMPARE(grids[1]->accessibleName(), QStringLiteral("Candidate"));
        QCOMPARE(grids[1]->item(2, 1)->text(), QStringLiteral("9.9E-07"));
        QVERIFY(grids[0]->item(2, 1)->text() != QStringLiteral("9.9E-07"));
        QVERIFY(grids[0]->item(2, 1)->font().bold() && grids[1]->item(2, 1)->font().bold());
        QVERIFY(!grids[0]->item(1, 1)->font().bold());

        // Pictures of both windows, for people to look at.
        QDir().mkpath(QCoreApplication::applicationDirPath() + QStringLiteral("/screenshots"));
        compare().setDirectionFilter(0);
        compare().setTissueFilter(0);
        compare().setNuclideFilter(0);
        compare().resize(1100, 720);
        compare().grab().save(QCoreApplication::applicationDirPath() +
                              QStringLiteral("/screenshots/compare_window.png"));
        both->grab().save(QCoreApplication::applicationDirPath() +
                          QStringLiteral("/screenshots/side_by_side.png"));
    }

    void badInputIsAMessageNamingTheSide() {
        // The folder dialog cancelled: nothing happens.
        chosenFolder_.clear();
        compareItem()->trigger();
        QVERIFY(!compare().busy());
        QVERIFY(!compare().comparison());
        QVERIFY(messages_.all.isEmpty());

        std::filesystem::remove(candidate_ + "nuclides.txt");
        compare().setCandidateFolder(QString::fromStdString(candidate_));
        compare().compare();
        waitForComparison();
        QCOMPARE(messages_.errors.size(), 1);
        QCOMPARE(messages_.errors[0],
                 QString::fromStdString("Candidate data set " + candidate_ + ": " +
                                        kMissingCatalogueMessage + "."));
        QVERIFY(!compare().comparison());

        // A folder whose data/ holds the catalogue is taken as that data folder.
        compare().setCandidateFolder(QString::fromStdString(work_->slash()));
        messages_.clear();
        compare().compare();
        waitForComparison();
        QVERIFY2(messages_.all.isEmpty(), qPrintable(messages_.all.join(u'\n')));
        QVERIFY(compare().comparison() && compare().comparison()->valuesAgree());
    }
};

QTEST_MAIN(CompareWindowTest)
#include "compare_window_test.moc"
