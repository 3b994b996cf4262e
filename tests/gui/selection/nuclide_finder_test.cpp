// Choosing nuclides: the grid's current row, the finder box, and the chosen list with its
// half-life twin.

#include <sys/stat.h>

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <fstream>

#include "core/refdata/data_directory.h"
#include "gui/selection/selection_window.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

const QString kNotFound = QStringLiteral("Nuclide is not available - please reselect");
const QString kNoDataFile = QString::fromLatin1(kNuclideNotAvailableMessage);

QStringList textsOf(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

}  // namespace

class NuclideFinderTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;
    QTableWidget* grid_ = nullptr;
    QLineEdit* finder_ = nullptr;
    QListWidget* chosen_ = nullptr;
    QListWidget* halfLives_ = nullptr;

    void openWindowsOn(const std::function<void(WorkingDataSet&)>& writeData) {
        windows_.reset();
        data_.reset();
        data_ = std::make_unique<WorkingDataSet>();
        writeData(*data_);
        messages_.clear();
        windows_ = data_->openWindows(messages_);
        SelectionWindow& window = windows_->selection();
        grid_ = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        finder_ = window.findChild<QLineEdit*>(QStringLiteral("EdtFindNuc"));
        chosen_ = window.findChild<QListWidget*>(QStringLiteral("LstBxNucsChosen"));
        halfLives_ = window.findChild<QListWidget*>(QStringLiteral("LstBxHalfLife"));
        QVERIFY(grid_ && finder_ && chosen_ && halfLives_);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        messages_.clear();
    }

    void typeInFinder(const QString& text) {
        finder_->setFocus();
        QTest::keyClicks(finder_, text);
    }
    void doubleClickRow(int row) {
        const QRect cell = grid_->visualRect(grid_->model()->index(row, 0));
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(grid_->viewport(), Qt::LeftButton, {}, cell.center());
    }
    void selectChosen(std::initializer_list<int> rows) {
        chosen_->clearSelection();
        for (int row : rows) chosen_->item(row)->setSelected(true);
    }
    void expectChosen(const QStringList& names, const QStringList& halfLives) {
        QCOMPARE(textsOf(chosen_), names);
        QCOMPARE(textsOf(halfLives_), halfLives);
    }

  private slots:
    void init() {
        openWindowsOn([](WorkingDataSet& data) { data.writeSmallDataSet(); });
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    void typingMovesTheHighlightToTheFirstNameWithThatBeginning() {
        QCOMPARE(grid_->currentRow(), 0);
        typeInFinder(QStringLiteral("pu"));
        QCOMPARE(grid_->currentRow(), 5);  // Pu-238, the first of three
        QVERIFY(grid_->selectionModel()->isRowSelected(5, {}));

        // A text no name begins with leaves the highlight where it was.
        typeInFinder(QStringLiteral("x"));
        QCOMPARE(grid_->currentRow(), 5);

        // Only the first character is raised and the next seven lowered.
        finder_->clear();
        typeInFinder(QStringLiteral("cS-1"));
        QCOMPARE(grid_->currentRow(), 4);  // Cs-137
        finder_->setText(QStringLiteral("AM-241"));
        QCOMPARE(grid_->currentRow(), 8);

        // Emptying the box goes back to the top row.
        finder_->clear();
        QCOMPARE(grid_->currentRow(), 0);
        QVERIFY(messages_.all.isEmpty());
    }

    void enterInTheFinderNeedsTheWholeName() {
        typeInFinder(QStringLiteral("pu"));
        QTest::keyClick(finder_, Qt::Key_Return);
        QCOMPARE(messages_.informed, QStringList({kNotFound}));
        QCOMPARE(finder_->text(), QStringLiteral("pu"));
        QCOMPARE(chosen_->count(), 0);

        messages_.clear();
        finder_->clear();
        typeInFinder(QStringLiteral("PU-239"));
        QTest::keyClick(finder_, Qt::Key_Enter);
        QVERIFY(messages_.all.isEmpty());
        expectChosen({"Pu-239"}, {"24110 y"});
        QCOMPARE(finder_->text(), QString());
        QCOMPARE(grid_->currentRow(), 0);

        // Enter in the grid now adds the top row, the current one again.
        grid_->setFocus();
        QTest::keyClick(grid_, Qt::Key_Return);
        expectChosen({"Pu-239", "H-3"}, {"24110 y", "12.32 y"});
    }

    void enterInTheFinderLooksAtNoMoreThanEightCharacters() {
        // The key is cut to "Te-131m-": it still finds the name by its beginning...
        typeInFinder(QStringLiteral("te-131m-a"));
        QCOMPARE(grid_->currentRow(), 9);
        // ...but never equals the nine-character name.
        QTest::keyClick(finder_, Qt::Key_Return);
        QCOMPARE(messages_.informed, QStringList({kNotFound}));
        QCOMPARE(chosen_->count(), 0);
    }

    void enterInAnEmptyFinderAddsNothing() {
        QTest::keyClick(finder_, Qt::Key_Return);
        QCOMPARE(messages_.informed, QStringList({kNotFound}));
        QCOMPARE(chosen_->count(), 0);
        QCOMPARE(halfLives_->count(), 0);
    }

    void doubleClickAddsOnlyNuclidesWithADataFile() {
        doubleClickRow(6);
        doubleClickRow(6);
        expectChosen({"Pu-239", "Pu-239"}, {"24110 y", "24110 y"});
        QVERIFY(messages_.all.isEmpty());

        doubleClickRow(2);  // Sr-90 has no data file
        QCOMPARE(messages_.informed, QStringList({kNoDataFile}));
        expectChosen({"Pu-239", "Pu-239"}, {"24110 y", "24110 y"});

        // An empty row below the catalogue has no data file either.
        messages_.clear();
        doubleClickRow(12);
        QCOMPARE(messages_.informed, QStringList({kNoDataFile}));
        QCOMPARE(chosen_->count(), 2);
    }

    void enterInTheGridAddsTheCurrentRowWithoutTheCheck() {
        grid_->setFocus();
        QTest::keyClick(grid_, Qt::Key_Down);
        QTest::keyClick(grid_, Qt::Key_Down);
        QTest::keyClick(grid_, Qt::Key_Return);  // Sr-90, refused only by a run
        expectChosen({"Sr-90"}, {"28.79 y"});
        QVERIFY(messages_.all.isEmpty());

        // An empty row is no nuclide: nothing is added.
        grid_->setCurrentCell(40, 0);
        QTest::keyClick(grid_, Qt::Key_Enter);
        expectChosen({"Sr-90"}, {"28.79 y"});
    }

    void removalTakesTheLowestSelectedItemFromBothLists() {
        // Delete on an empty list changes nothing.
        chosen_->setFocus();
        QTest::keyClick(chosen_, Qt::Key_Delete);
        QCOMPARE(chosen_->count(), 0);

        ControlsSink& sink = windows_->selection();
        for (const char* name : {"H-3", "C-14", "I-131", "Cs-137", "Pu-239", "H-3"})
            sink.appendChosen(name, std::string("T ") + name);

        // Nothing selected: nothing removed.
        chosen_->clearSelection();
        QTest::keyClick(chosen_, Qt::Key_Delete);
        QCOMPARE(chosen_->count(), 6);

        selectChosen({5, 2});
        QTest::keyClick(chosen_, Qt::Key_Delete);
        expectChosen({"H-3", "C-14", "Cs-137", "Pu-239", "H-3"},
                     {"T H-3", "T C-14", "T Cs-137", "T Pu-239", "T H-3"});
        QVERIFY(chosen_->item(4)->isSelected());

        // A double-click removes the item clicked on.
        const QRect item = chosen_->visualItemRect(chosen_->item(1));
        QTest::mouseClick(chosen_->viewport(), Qt::LeftButton, {}, item.center());
        QTest::mouseDClick(chosen_->viewport(), Qt::LeftButton, {}, item.center());
        expectChosen({"H-3", "Cs-137", "Pu-239", "H-3"},
                     {"T H-3", "T Cs-137", "T Pu-239", "T H-3"});
        QVERIFY(messages_.all.isEmpty());
    }

    void aLongCatalogueCanBeFoundAndChosenToItsLastEntry() {
        openWindowsOn([](WorkingDataSet& data) {
            std::vector<Nuclide> entries;
            for (int i = 1; i <= 100; ++i)
                entries.push_back({"Nu-" + QByteArray::number(i), QByteArray::number(i) + " d"});
            data.writeCatalogue(entries);
            data.addDataFile("Nu-100");
        });
        QCOMPARE(grid_->rowCount(), 100);
        typeInFinder(QStringLiteral("nu-100"));
        QCOMPARE(grid_->currentRow(), 99);
        QTest::keyClick(finder_, Qt::Key_Return);
        expectChosen({"Nu-100"}, {"100 d"});

        doubleClickRow(99);
        expectChosen({"Nu-100", "Nu-100"}, {"100 d", "100 d"});
        QVERIFY(messages_.all.isEmpty());
    }

    void eightBitNamesAndHalfLivesReachTheSelectionAsRead() {
        // 0xB5 and 0xE9 are letters of an 8-bit code page and no valid UTF-8.
        const QByteArray name("Nu\xE9-1");
        const QByteArray halfLife("5 \xB5s");
        openWindowsOn([&](WorkingDataSet& data) {
            data.writeCatalogue({{name, halfLife}});
            // The data file's name holds the same bytes (a QString path would not keep them).
            const std::string path =
                QFile::encodeName(data.dataPath("")).toStdString() + name.toStdString() + ".dat";
            std::ofstream(path, std::ios::binary) << "1\r\n";
            ::chmod(path.c_str(), 0444);
        });
        doubleClickRow(0);
        grid_->setFocus();
        QTest::keyClick(grid_, Qt::Key_Return);
        const SelectionSnapshot selection = windows_->selection().snapshot();
        const std::string nameBytes = name.toStdString();
        const std::string halfLifeBytes = halfLife.toStdString();
        QCOMPARE(selection.nuclides, std::vector<std::string>({nameBytes, nameBytes}));
        QCOMPARE(selection.halfLives, std::vector<std::string>({halfLifeBytes, halfLifeBytes}));
        QVERIFY(messages_.all.isEmpty());
    }

    void onlyTheLeftButtonsDoubleClickAddsOrRemoves() {
        const QRect cell = grid_->visualRect(grid_->model()->index(6, 0));
        QTest::mouseDClick(grid_->viewport(), Qt::RightButton, {}, cell.center());
        QCOMPARE(chosen_->count(), 0);
        doubleClickRow(6);
        QCOMPARE(chosen_->count(), 1);
        const QRect item = chosen_->visualItemRect(chosen_->item(0));
        QTest::mouseDClick(chosen_->viewport(), Qt::RightButton, {}, item.center());
        QCOMPARE(chosen_->count(), 1);
        QVERIFY(messages_.all.isEmpty());
    }
};

QTEST_MAIN(NuclideFinderTest)
#include "nuclide_finder_test.moc"
