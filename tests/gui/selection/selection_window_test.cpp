// The selection window: its controls and menu, the enabling rules of the check boxes, and the
// selection as the run and the options loader see it.

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "../app/working_data_set.h"
#include "gui/selection/selection_window.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

class SelectionWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;

    TDualListDlg& Window() { return windows_->selection(); }
    template <class T>
    T* Find(const char* name) {
        T* found = Window().findChild<T*>(QString::fromLatin1(name));
        if (!found) qWarning("no control %s", name);
        return found;
    }
    QCheckBox* Box(const char* name) { return Find<QCheckBox>(name); }
    QListWidget* List(const char* name) { return Find<QListWidget>(name); }
    // A user's click on the box.
    void Click(const char* name) {
        QCheckBox* box = Box(name);
        QVERIFY2(box->isEnabled(), name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

  private slots:
    void init() {
        data_ = std::make_unique<WorkingDataSet>();
        data_->WriteSmallDataSet();
        messages_.Clear();
        windows_ = data_->OpenWindows(messages_);
        Window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&Window()));
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    void everyControlIsThereForProgramsAndScreenReaders() {
        QCOMPARE(Window().centralWidget()->size(), QSize(668, 439));
        QCOMPARE(Window().minimumSize(), Window().maximumSize());
        QVERIFY(messages_.all.isEmpty());

        // Boxes and buttons are spoken by their captions, the other controls by the texts that
        // label them on the screen.
        for (const char* name :
             {"chkbxMOP", "chkbxWKR", "ChkBxAllRoutes", "chkbxIng", "chkbxParticulates",
              "chkbxVapours", "ChkBxAllAerosol", "ChkBxAllAcutes", "ChkBxAllChronics",
              "ChkBxAllOrgans", "ChkBxAllPeriods"}) {
            QVERIFY2(Box(name), name);
            QCOMPARE(Box(name)->accessibleName(), Box(name)->text());
        }
        for (const char* name : {"BtnLoad", "BtnSave", "BtnRun", "BtnExit"})
            QCOMPARE(Find<QPushButton>(name)->accessibleName(), Find<QPushButton>(name)->text());
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
            QCOMPARE(Find<QWidget>(name)->accessibleName(), QString::fromLatin1(spoken));
        QCOMPARE(Find<QLineEdit>("EdtFindNuc")->accessibleDescription(),
                 Find<QLineEdit>("EdtFindNuc")->toolTip());

        // The check lists hold unchecked, checkable items only.
        for (const char* name : {"chklstbxAerosol", "ChkLstBxAScenarios", "ChkLstBxCScenarios",
                                 "chklstbxTissues", "chklstbxTimes"}) {
            for (int i = 0; i < List(name)->count(); ++i) {
                QVERIFY(List(name)->item(i)->flags() & Qt::ItemIsUserCheckable);
                QCOMPARE(List(name)->item(i)->checkState(), Qt::Unchecked);
            }
        }

        // The half-life twin is never seen, neither on screen nor by a screen reader.
        QListWidget* twin = List("LstBxHalfLife");
        QVERIFY(twin && !twin->isVisible());
        QAccessibleInterface* client =
            QAccessible::queryAccessibleInterface(Window().centralWidget());
        for (int i = 0; i < client->childCount(); ++i) {
            QAccessibleInterface* child = client->child(i);
            QVERIFY(child->object() != twin || child->state().invisible);
        }

        // The pdf note's menu item is kept but can never be reached.
        QAction* pdf = Find<QAction>("pdfofVORQPublication471");
        QVERIFY(pdf);
        QVERIFY(!pdf->isVisible());
        QVERIFY(Find<QAction>("Run1"));
    }

    void particulatesAndAllSizesGovernTheAerosolList() {
        QCheckBox* allSizes = Box("ChkBxAllAerosol");
        QListWidget* sizes = List("chklstbxAerosol");
        QVERIFY(!allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());

        Click("chkbxParticulates");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(sizes->isEnabled());
        sizes->item(3)->setCheckState(Qt::Checked);

        Click("ChkBxAllAerosol");
        QVERIFY(!sizes->isEnabled());

        // Turning the route off disables both; the checks stay as they were.
        Click("chkbxParticulates");
        QVERIFY(!allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        QVERIFY(allSizes->isChecked());
        QCOMPARE(sizes->item(3)->checkState(), Qt::Checked);

        // On again with "All sizes" on: the box comes back, the list stays disabled.
        Click("chkbxParticulates");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        Click("ChkBxAllAerosol");
        QVERIFY(sizes->isEnabled());
        QCOMPARE(sizes->item(3)->checkState(), Qt::Checked);
    }

    void allRoutesOnAndOffAgain() {
        QCheckBox* allSizes = Box("ChkBxAllAerosol");
        QListWidget* sizes = List("chklstbxAerosol");
        const QList<QCheckBox*> routes = {Box("chkbxIng"), Box("chkbxParticulates"),
                                          Box("chkbxVapours")};

        // With "Inhalation - particulates" off.
        Click("chkbxIng");
        Click("ChkBxAllRoutes");
        for (QCheckBox* route : routes) QVERIFY(!route->isEnabled());
        QVERIFY(routes[0]->isChecked());
        QVERIFY(allSizes->isEnabled());
        QVERIFY(sizes->isEnabled());
        Click("ChkBxAllRoutes");
        for (QCheckBox* route : routes) QVERIFY(route->isEnabled());
        QVERIFY(routes[0]->isChecked());
        QVERIFY(!allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());

        // With it on: both enabled afterwards, or the list disabled while "All sizes" is on.
        Click("chkbxParticulates");
        Click("ChkBxAllRoutes");
        Click("ChkBxAllRoutes");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(sizes->isEnabled());
        Click("ChkBxAllAerosol");
        Click("ChkBxAllRoutes");
        QVERIFY(allSizes->isEnabled());
        QVERIFY(!sizes->isEnabled());
        Click("ChkBxAllRoutes");
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
            QListWidget* list = List(listName);
            list->item(1)->setCheckState(Qt::Checked);
            Click(boxName);
            QVERIFY2(!list->isEnabled(), listName);
            Click(boxName);
            QVERIFY2(list->isEnabled(), listName);
            QCOMPARE(list->item(1)->checkState(), Qt::Checked);
            QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
        }
    }

    void boxesSetByTheOptionsLoaderRunTheirRulesOnlyOnAChange() {
        ControlsSink& sink = Window();
        sink.SetBox(SelectionBox::AllRoutes, true);
        QVERIFY(Box("ChkBxAllRoutes")->isChecked());
        QVERIFY(!Box("chkbxIng")->isEnabled());
        QVERIFY(!Box("chkbxParticulates")->isEnabled());
        QVERIFY(!Box("chkbxVapours")->isEnabled());
        QVERIFY(Box("ChkBxAllAerosol")->isEnabled());

        // A disabled box set from code still runs its rule when its state changes...
        sink.SetBox(SelectionBox::Particulates, true);
        sink.SetBox(SelectionBox::Particulates, false);
        QVERIFY(!Box("ChkBxAllAerosol")->isEnabled());
        // ...and nothing runs when a box is set to the state it has.
        sink.SetBox(SelectionBox::AllRoutes, true);
        QVERIFY(!Box("ChkBxAllAerosol")->isEnabled());

        sink.SetBox(SelectionBox::AllOrgans, true);
        QVERIFY(!List("chklstbxTissues")->isEnabled());

        // Setting an item runs no rule, in a disabled list too.
        sink.SetItem(SelectionList::Tissues, 16, true);
        sink.SetItem(SelectionList::Aerosol, 0, true);
        QVERIFY(!List("chklstbxTissues")->isEnabled());
        QCOMPARE(List("chklstbxTissues")->item(16)->checkState(), Qt::Checked);
        QCOMPARE(List("chklstbxAerosol")->item(0)->checkState(), Qt::Checked);
        sink.SetItem(SelectionList::Aerosol, 0, false);
        QCOMPARE(List("chklstbxAerosol")->item(0)->checkState(), Qt::Unchecked);
    }

    void snapshotCopiesEveryStateEnabledOrNot() {
        ControlsSink& sink = Window();
        sink.SetBox(SelectionBox::Public, true);
        sink.SetBox(SelectionBox::Particulates, true);
        sink.SetBox(SelectionBox::Vapours, true);
        sink.SetBox(SelectionBox::AllRoutes, true);  // the route boxes are now disabled
        sink.SetBox(SelectionBox::AllAerosol, true);
        sink.SetItem(SelectionList::Aerosol, 9, true);  // behind "All sizes", disabled
        sink.SetItem(SelectionList::AcuteScenarios, 2, true);
        sink.SetBox(SelectionBox::AllChronics, true);
        sink.SetItem(SelectionList::ChronicScenarios, 0, true);
        sink.SetItem(SelectionList::Tissues, 2, true);
        sink.SetBox(SelectionBox::AllPeriods, true);
        sink.AppendChosen("Pu-239", "24110 y");
        sink.AppendChosen("Pu-239", "as in the file");

        SelectionSnapshot expected;
        expected.Nuclides = {"Pu-239", "Pu-239"};
        expected.HalfLives = {"24110 y", "as in the file"};
        expected.Public = true;
        expected.AllRoutes = true;
        expected.Particulates = true;
        expected.Vapours = true;
        expected.AllAerosol = true;
        expected.Aerosol[9] = true;
        expected.AcuteScenarios[2] = true;
        expected.AllChronics = true;
        expected.ChronicScenarios[0] = true;
        expected.Tissues[2] = true;
        expected.AllPeriods = true;
        QVERIFY(Window().Snapshot() == expected);

        // Loading empties both lists together.
        sink.ClearChosen();
        QVERIFY(Window().Snapshot().Nuclides.empty());
        QVERIFY(Window().Snapshot().HalfLives.empty());
        QCOMPARE(List("LstBxHalfLife")->count(), 0);
    }

    void dataFilesAreLookedUpInTheDirectoryFixedAtStart() {
        ControlsSink& sink = Window();
        QCOMPARE(QString::fromStdString(Window().DataDirectory()),
                 QDir::currentPath() + QStringLiteral("/data/"));
        QVERIFY(sink.DataFileExists("Pu-239"));
        QVERIFY(!sink.DataFileExists("Pu-240"));
        QVERIFY(!sink.DataFileExists(""));

        // Moving the working directory later does not move the data directory.
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        QVERIFY(sink.DataFileExists("Pu-239"));
        QVERIFY(QDir::setCurrent(before));
    }
};

QTEST_MAIN(SelectionWindowTest)
#include "selection_window_test.moc"
