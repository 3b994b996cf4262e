// The selection window: its controls and menu, the enabling rules of the check boxes, and the
// selection as the run and the options loader see it.

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "gui/selection/selection_window.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

class SelectionWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;

    SelectionWindow& window() { return windows_->selection(); }
    template <class T>
    T* findControl(const char* name) {
        T* found = window().findChild<T*>(QString::fromLatin1(name));
        if (!found) qWarning("no control %s", name);
        return found;
    }
    QCheckBox* boxNamed(const char* name) { return findControl<QCheckBox>(name); }
    QListWidget* listNamed(const char* name) { return findControl<QListWidget>(name); }
    // A user's click on the box.
    void click(const char* name) {
        QCheckBox* box = boxNamed(name);
        QVERIFY2(box->isEnabled(), name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

  private slots:
    void init() {
        data_ = std::make_unique<WorkingDataSet>();
        data_->writeSmallDataSet();
        messages_.clear();
        windows_ = data_->openWindows(messages_);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    void everyControlIsThereForProgramsAndScreenReaders() {
        QCOMPARE(window().centralWidget()->size(), QSize(668, 439));
        QCOMPARE(window().minimumSize(), window().maximumSize());
        QVERIFY(messages_.all.isEmpty());

        // Boxes and buttons are spoken by their captions, the other controls by the texts that
        // label them on the screen.
        for (const char* name :
             {"chkbxMOP", "chkbxWKR", "ChkBxAllRoutes", "chkbxIng", "chkbxParticulates",
              "chkbxVapours", "ChkBxAllAerosol", "ChkBxAllAcutes", "ChkBxAllChronics",
              "ChkBxAllOrgans", "ChkBxAllPeriods"}) {
            QVERIFY2(boxNamed(name), name);
            QCOMPARE(boxNamed(name)->accessibleName(), boxNamed(name)->text());
        }
        for (const char* name : {"BtnLoad", "BtnSave", "BtnRun", "BtnExit"})
            QCOMPARE(findControl<QPushButton>(name)->accessibleName(),
                     findControl<QPushButton>(name)->text());
        const QList<std::pair<const char*, const char*>> labelled = {
            {"StringGrid1", "List"},
            {"LstBxNucsChosen", "Selected"},
            {"EdtFindNuc", "Select:"},
            {"chklstbxAerosol", "Aerosol sizes (um)"},
            {"ChkLstBxAScenarios", "Acute intakes"},
            {"ChkLstBxCScenarios", "Chronic intakes"},
            {"chklstbxTissues", "Organs or Tissues"},
            {"chklstbxTimes", "Post natal integration periods"}};
        for (const auto& [name, spoken] : labelled)
            QCOMPARE(findControl<QWidget>(name)->accessibleName(), QString::fromLatin1(spoken));
        QCOMPARE(findControl<QLineEdit>("EdtFindNuc")->accessibleDescription(),
                 findControl<QLineEdit>("EdtFindNuc")->toolTip());

        // The check lists hold unchecked, checkable items only.
        for (const char* name : {"chklstbxAerosol", "ChkLstBxAScenarios", "ChkLstBxCScenarios",
                                 "chklstbxTissues", "chklstbxTimes"}) {
            for (int i = 0; i < listNamed(name)->count(); ++i) {
                QVERIFY(listNamed(name)->item(i)->flags() & Qt::ItemIsUserCheckable);
                QCOMPARE(listNamed(name)->item(i)->checkState(), Qt::Unchecked);
            }
        }

        // The half-life twin is never seen, neither on screen nor by a screen reader.
        QListWidget* twin = listNamed("LstBxHalfLife");
        QVERIFY(twin && !twin->isVisible());
        QAccessibleInterface* client =
            QAccessible::queryAccessibleInterface(window().centralWidget());
        for (int i = 0; i < client->childCount(); ++i) {
            QAccessibleInterface* child = client->child(i);
            QVERIFY(child->object() != twin || child->state().invisible);
        }

        // The pdf note's menu item is kept but can never be reached.
        QAction* pdf = findControl<QAction>("pdfofVORQPublication471");
        QVERIFY(pdf);
        QVERIFY(!pdf->isVisible());
        QVERIFY(findControl<QAction>("Run1"));
    }

    void particulatesAndAllSizesGovernTheAerosolList() {
        QCheckBox* allSizes = boxNamed("ChkBxAllAerosol");
        QListWidget* sizes = listNamed("chklstbxAerosol");
        QVERIFY(!allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());

        click("chkbxParticulates");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(sizes->isEnabled());
        sizes->item(3)->setCheckState(Qt::Checked);

        click("ChkBxAllAerosol");
        QVERIFY(!sizes->isEnabled());

        // Turning the route off disables both; the checks stay as they were.
        click("chkbxParticulates");
        QVERIFY(!allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        QVERIFY(allSizes->isChecked());
        QCOMPARE(sizes->item(3)->checkState(), Qt::Checked);

        // On again with "All sizes" on: the box comes back, the list stays disabled.
        click("chkbxParticulates");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        click("ChkBxAllAerosol");
        QVERIFY(sizes->isEnabled());
        QCOMPARE(sizes->item(3)->checkState(), Qt::Checked);
    }

    void allRoutesOnAndOffAgain() {
        QCheckBox* allSizes = boxNamed("ChkBxAllAerosol");
        QListWidget* sizes = listNamed("chklstbxAerosol");
        const QList<QCheckBox*> routes = {boxNamed("chkbxIng"), boxNamed("chkbxParticulates"),
                                          boxNamed("chkbxVapours")};

        // With "Inhalation - particulates" off.
        click("chkbxIng");
        click("ChkBxAllRoutes");
        for (QCheckBox* route : routes) QVERIFY(!route->isEnabled());
        QVERIFY(routes[0]->isChecked());
        QVERIFY(allSizes->isEnabled());
        QVERIFY(sizes->isEnabled());
        click("ChkBxAllRoutes");
        for (QCheckBox* route : routes) QVERIFY(route->isEnabled());
        QVERIFY(routes[0]->isChecked());
        QVERIFY(!allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());

        // With it on: both enabled afterwards, or the list disabled while "All sizes" is on.
        click("chkbxParticulates");
        click("ChkBxAllRoutes");
        click("ChkBxAllRoutes");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(sizes->isEnabled());
        click("ChkBxAllAerosol");
        click("ChkBxAllRoutes");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        click("ChkBxAllRoutes");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        QVERIFY(allSizes->isChecked());
    }

    void selectAllBoxesDisableTheirListsAndKeepItsChecks() {
        const QList<std::pair<const char*, const char*>> pairs = {
            {"ChkBxAllAcutes", "ChkLstBxAScenarios"},
            {"ChkBxAllChronics", "ChkLstBxCScenarios"},
            {"ChkBxAllOrgans", "chklstbxTissues"},
            {"ChkBxAllPeriods", "chklstbxTimes"}};
        for (const auto& [boxName, listName] : pairs) {
            QListWidget* list = listNamed(listName);
            list->item(1)->setCheckState(Qt::Checked);
            click(boxName);
            QVERIFY2(!list->isEnabled(), listName);
            click(boxName);
            QVERIFY2(list->isEnabled(), listName);
            QCOMPARE(list->item(1)->checkState(), Qt::Checked);
            QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
        }
    }

    // A disabled list keeps no highlight bar on the item last clicked, and the menus are drawn
    // in the windows' face.
    void disabledListsAndMenusLook() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QListWidget* list = listNamed("ChkLstBxAScenarios");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(2)).center());
        QCOMPARE(list->currentRow(), 2);
        click("ChkBxAllAcutes");
        QVERIFY(!list->isEnabled());
        const QImage shown = list->viewport()->grab().toImage();
        const QRect row = list->visualItemRect(list->item(2));
        int dark = 0;
        for (int x = row.left(); x <= row.right(); ++x)
            if (QColor(shown.pixel(x, row.center().y())).lightness() < 160) ++dark;
        QVERIFY2(dark < row.width() / 4, qPrintable(QString::number(dark)));
        click("ChkBxAllAcutes");

        const QFont face = window().findChild<QCheckBox*>(QStringLiteral("chkbxMOP"))->font();
        for (QMenu* menu : window().findChildren<QMenu*>()) {
            QCOMPARE(menu->font().family(), face.family());
            QCOMPARE(menu->font().pointSize(), 8);
        }
        window().hide();
    }

    void boxesSetByTheOptionsLoaderRunTheirRulesOnlyOnAChange() {
        ControlsSink& sink = window();
        sink.setBox(SelectionBox::AllRoutes, true);
        QVERIFY(boxNamed("ChkBxAllRoutes")->isChecked());
        QVERIFY(!boxNamed("chkbxIng")->isEnabled());
        QVERIFY(!boxNamed("chkbxParticulates")->isEnabled());
        QVERIFY(!boxNamed("chkbxVapours")->isEnabled());
        QVERIFY(boxNamed("ChkBxAllAerosol")->isEnabled());

        // A disabled box set from code still runs its rule when its state changes...
        sink.setBox(SelectionBox::Particulates, true);
        sink.setBox(SelectionBox::Particulates, false);
        QVERIFY(!boxNamed("ChkBxAllAerosol")->isEnabled());
        // ...and nothing runs when a box is set to the state it has.
        sink.setBox(SelectionBox::AllRoutes, true);
        QVERIFY(!boxNamed("ChkBxAllAerosol")->isEnabled());

        sink.setBox(SelectionBox::AllOrgans, true);
        QVERIFY(!listNamed("chklstbxTissues")->isEnabled());

        // Setting an item runs no rule, in a disabled list too.
        sink.setItem(SelectionList::Tissues, 16, true);
        sink.setItem(SelectionList::Aerosol, 0, true);
        QVERIFY(!listNamed("chklstbxTissues")->isEnabled());
        QCOMPARE(listNamed("chklstbxTissues")->item(16)->checkState(), Qt::Checked);
        QCOMPARE(listNamed("chklstbxAerosol")->item(0)->checkState(), Qt::Checked);
        sink.setItem(SelectionList::Aerosol, 0, false);
        QCOMPARE(listNamed("chklstbxAerosol")->item(0)->checkState(), Qt::Unchecked);
    }

    void snapshotCopiesEveryStateEnabledOrNot() {
        ControlsSink& sink = window();
        sink.setBox(SelectionBox::Public, true);
        sink.setBox(SelectionBox::Particulates, true);
        sink.setBox(SelectionBox::Vapours, true);
        sink.setBox(SelectionBox::AllRoutes, true);  // the route boxes are now disabled
        sink.setBox(SelectionBox::AllAerosol, true);
        sink.setItem(SelectionList::Aerosol, 9, true);  // behind "All sizes", disabled
        sink.setItem(SelectionList::AcuteScenarios, 2, true);
        sink.setBox(SelectionBox::AllChronics, true);
        sink.setItem(SelectionList::ChronicScenarios, 0, true);
        sink.setItem(SelectionList::Tissues, 2, true);
        sink.setBox(SelectionBox::AllPeriods, true);
        sink.appendChosen("Pu-239", "24110 y");
        sink.appendChosen("Pu-239", "as in the file");

        SelectionSnapshot expected;
        expected.nuclides = {"Pu-239", "Pu-239"};
        expected.halfLives = {"24110 y", "as in the file"};
        expected.memberOfPublic = true;
        expected.allRoutes = true;
        expected.particulates = true;
        expected.vapours = true;
        expected.allAerosol = true;
        expected.aerosol[9] = true;
        expected.acuteScenarios[2] = true;
        expected.allChronics = true;
        expected.chronicScenarios[0] = true;
        expected.tissues[2] = true;
        expected.allPeriods = true;
        QVERIFY(window().snapshot() == expected);

        // Loading empties both lists together.
        sink.clearChosen();
        QVERIFY(window().snapshot().nuclides.empty());
        QVERIFY(window().snapshot().halfLives.empty());
        QCOMPARE(listNamed("LstBxHalfLife")->count(), 0);
    }

    void dataFilesAreLookedUpInTheDirectoryFixedAtStart() {
        ControlsSink& sink = window();
        QCOMPARE(QString::fromStdString(window().dataDirectory()),
                 QDir::currentPath() + QStringLiteral("/data/"));
        QVERIFY(sink.dataFileExists("Pu-239"));
        QVERIFY(!sink.dataFileExists("Pu-240"));
        QVERIFY(!sink.dataFileExists(""));

        // Moving the working directory later does not move the data directory.
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        QVERIFY(sink.dataFileExists("Pu-239"));
        QVERIFY(QDir::setCurrent(before));
    }
};

QTEST_MAIN(SelectionWindowTest)
#include "selection_window_test.moc"
