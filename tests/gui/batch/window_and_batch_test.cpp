// The selection window beside the core's selection model and the batch tool: the model shows
// the states the window shows for the same clicks and loads, and for every options file the
// batch tool writes the results file the window's "Save to file" writes, byte for byte (or
// stops with the message the window shows). The window is reached through its controls'
// object names only.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <random>

#include "../../batch/batch_runner.h"
#include "core/options/options_file.h"
#include "core/selection/selection_model.h"
#include "gui/app/display_text.h"
#include "gui/selection/selection_window.h"
#include "viewer_fixture.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

// Object names of the boxes in the order of SelectionBox, and of the lists in the order of
// SelectionList.
const char* const kBoxNames[] = {"chkbxMOP",        "chkbxWKR",          "ChkBxAllRoutes",
                                 "chkbxIng",        "chkbxParticulates", "chkbxVapours",
                                 "ChkBxAllAerosol", "ChkBxAllAcutes",    "ChkBxAllChronics",
                                 "ChkBxAllOrgans",  "ChkBxAllPeriods"};
const char* const kListNames[] = {"chklstbxAerosol", "ChkLstBxAScenarios", "ChkLstBxCScenarios",
                                  "chklstbxTissues", "chklstbxTimes"};

// The catalogue of the test's data set; Sr-90 has no data file.
const std::vector<std::pair<std::string, std::string>> kCatalogue = {{"Cs-137", "30.0y"},
                                                                     {"I-131", "8.04d"},
                                                                     {"Pu-239", "24110 y"},
                                                                     {"H-3", "12.32 y"},
                                                                     {"Sr-90", "28.8y"}};

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

template <class T>
T* child(QWidget* parent, const char* name) {
    return parent ? parent->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// Works the modal windows a load or a run opens, as a person would: types the options file's
// name into the load window and presses its button (or closes it when the load failed); in
// the viewer presses "Save to file", types the results file's name and saves, then "Return to
// input". Actions run from the event loop, so a window they open can be worked in turn.
class ModalDriver {
  public:
    ModalDriver(QString optionsName, QString resultsName)
        : optionsName_(std::move(optionsName)), resultsName_(std::move(resultsName)) {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
        timer_.start();
    }

  private:
    void later(std::function<void()> action) { QTimer::singleShot(0, &timer_, std::move(action)); }
    static void press(QAbstractButton* button) {
        if (button) button->click();
    }
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        if (++ticks_ > 20000) {  // a window that never closes is a failure, not a hang
            modal->close();
            return;
        }
        if (modal->objectName() == QLatin1String("FrmDemo2")) {
            if (saveStep_ == 0) {
                saveStep_ = 1;
                later([modal] { press(child<QPushButton>(modal, "Button2")); });
            } else if (saveStep_ == 2) {
                saveStep_ = 3;
                later([modal] { press(child<QToolButton>(modal, "SpdBtnReturn")); });
            }
        } else if (auto* name = child<QLineEdit>(modal, "FileEdit")) {
            if (saveStep_ == 1) {
                saveStep_ = 2;
                later([this, modal, name] {
                    name->setText(resultsName_);
                    press(child<QPushButton>(modal, "BtnSave"));
                });
            }
        } else if (auto* name = child<QLineEdit>(modal, "Edit1")) {
            if (!loadPressed_) {
                loadPressed_ = true;
                later([this, modal, name] {
                    name->setText(optionsName_);
                    press(child<QPushButton>(modal, "Button2"));
                });
            } else if (!loadClosed_) {  // the load failed and its window stayed open
                loadClosed_ = true;
                later([modal] { press(child<QPushButton>(modal, "Button1")); });
            }
        }
    }

    QString optionsName_;
    QString resultsName_;
    QTimer timer_;
    int ticks_ = 0;
    int saveStep_ = 0;
    bool loadPressed_ = false;
    bool loadClosed_ = false;
};

}  // namespace

class WindowAndBatchTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<WorkingDataSet> data_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;

    QWidget& window() { return windows_->selection(); }
    ControlsSink& sink() { return windows_->selection(); }
    QCheckBox* checkBox(SelectionBox box) {
        return child<QCheckBox>(&window(), kBoxNames[int(box)]);
    }
    QListWidget* listWidget(SelectionList list) {
        return child<QListWidget>(&window(), kListNames[int(list)]);
    }
    QString home() const { return QDir::currentPath(); }

    // Every check and enabled state the window shows equals the model's, and so do the chosen
    // list and its twin.
    void compareStates(const SelectionModel& model, const char* step) {
        QListWidget* chosen = child<QListWidget>(&window(), "LstBxNucsChosen");
        QListWidget* twin = child<QListWidget>(&window(), "LstBxHalfLife");
        QCOMPARE(std::size_t(chosen->count()), model.chosenNames().size());
        QCOMPARE(std::size_t(twin->count()), model.chosenHalfLives().size());
        for (int i = 0; i < chosen->count(); ++i) {
            QVERIFY2(chosen->item(i)->text() == displayText(model.chosenNames()[std::size_t(i)]),
                     step);
            QVERIFY2(twin->item(i)->text() == displayText(model.chosenHalfLives()[std::size_t(i)]),
                     step);
        }
        for (int b = 0; b < kSelectionBoxCount; ++b) {
            QCheckBox* box = checkBox(SelectionBox(b));
            QVERIFY2(box->isChecked() == model.isChecked(SelectionBox(b)), step);
            QVERIFY2(box->isEnabled() == model.isEnabled(SelectionBox(b)), step);
        }
        for (int l = 0; l < kSelectionListCount; ++l) {
            QListWidget* list = listWidget(SelectionList(l));
            QVERIFY2(list->isEnabled() == model.isEnabled(SelectionList(l)), step);
            QCOMPARE(list->count(), SelectionModel::itemCount(SelectionList(l)));
            for (int i = 0; i < list->count(); ++i)
                QVERIFY2((list->item(i)->checkState() == Qt::Checked) ==
                             model.isChecked(SelectionList(l), i),
                         step);
        }
    }

    // The end-to-end session's two nuclides with their data files, two more written for the
    // test, and a catalogue naming them and one without a data file.
    void writeDataSet() {
        const QString e2e = QStringLiteral(FETALDOSE_SOURCE "/tests/e2e/data/");
        for (const char* name : {"Cs-137.dat", "I-131.dat"})
            writeAll(data_->dataPath(name), readAll(e2e + QLatin1String(name)));
        writeAll(data_->dataPath("Pu-239.dat"),
                 QByteArray::fromStdString(test::dataFileText({1, 3, 1}, {2, 2, 1})));
        writeAll(data_->dataPath("H-3.dat"),
                 QByteArray::fromStdString(test::dataFileText({2, 0, 3}, {0, 1, 0})));
        for (const char* name : {"Cs-137.dat", "I-131.dat", "Pu-239.dat", "H-3.dat"})
            QFile::setPermissions(data_->dataPath(name),
                                  QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        std::vector<Nuclide> entries;
        for (const auto& [name, halfLife] : kCatalogue)
            entries.push_back(
                {QByteArray::fromStdString(name), QByteArray::fromStdString(halfLife)});
        data_->writeCatalogue(entries);
    }

    // The options files: those of the end-to-end session and the fuzzing seeds, and files as
    // the options tests write them (saved by the program, cut short, hand-written).
    QStringList writeOptionsFiles() {
        const QString source = QStringLiteral(FETALDOSE_SOURCE);
        writeAll(home() + "/session.opt", readAll(source + "/tests/e2e/session.opt"));
        for (const char* seed : {"select_all.opt", "two_nuclides.opt"})
            writeAll(home() + "/" + seed,
                     readAll(source + "/fuzz/seeds/options/" + QLatin1String(seed)));

        SelectionSnapshot all;
        all.nuclides = {"Cs-137", "Pu-239", "H-3", "I-131", "Pu-239"};
        all.halfLives = {"30.0y", "24110 y", "", "8.04d", "as typed"};
        all.memberOfPublic = all.occupational = all.allRoutes = all.allAerosol = all.allAcutes =
            true;
        all.allChronics = all.allOrgans = all.allPeriods = true;
        saveOptionsFile((home() + "/everything.opt").toStdString(), all);

        SelectionSnapshot some;
        some.nuclides = {"pu-239", "H-3"};  // a data file found without regard to case
        some.halfLives = {"24110 y", "12.32 y"};
        some.occupational = some.particulates = some.vapours = true;
        some.aerosol[0] = some.aerosol[9] = some.acuteScenarios[7] = true;
        some.chronicScenarios[1] = some.tissues[2] = some.tissues[16] = some.periods[3] = true;
        saveOptionsFile((home() + "/some.opt").toStdString(), some);

        const QByteArray everything = readAll(home() + "/everything.opt");
        writeAll(home() + "/cut.opt", everything.left(everything.indexOf("Tissues")));
        QByteArray lfOnly = readAll(home() + "/some.opt");
        lfOnly.replace("\r\n", "\n");
        writeAll(home() + "/lf.opt", lfOnly);
        writeAll(home() + "/unavailable.opt", "2\r\nCs-137\r\n30.0y\r\nSr-90\r\n28.8y\r\n");
        writeAll(home() + "/words.opt", "two\r\nCs-137\r\n");
        return {"session.opt", "select_all.opt", "two_nuclides.opt", "everything.opt", "some.opt",
                "cut.opt",     "lf.opt",         "unavailable.opt",  "words.opt"};
    }

    static QString firstLine(const std::string& text) {
        return QString::fromLocal8Bit(text.substr(0, text.find('\n')));
    }

  private slots:
    void init() {
        data_ = std::make_unique<WorkingDataSet>();
        writeDataSet();
        messages_.clear();
        windows_ = data_->openWindows(messages_);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() {
        windows_.reset();
        data_.reset();
    }

    // Clicks on enabled boxes and items, boxes set by code, options files loaded, nuclides
    // chosen by a double click in the grid and removed with Delete, in a random order: after
    // each step an independent model given the same steps holds what the window shows.
    void modelShowsTheWindowsStatesStepByStep() {
        SelectionModel model(data_->dataPath("").toStdString());
        const QStringList files = writeOptionsFiles();
        compareStates(model, "start");
        std::mt19937 random(15);
        auto* grid = child<QTableWidget>(&window(), "StringGrid1");
        auto* chosen = child<QListWidget>(&window(), "LstBxNucsChosen");
        for (int step = 0; step < 1500; ++step) {
            const unsigned kind = random() % 12;
            if (kind < 5) {
                const auto box = SelectionBox(random() % kSelectionBoxCount);
                QCheckBox* widget = checkBox(box);
                const bool enabled = widget->isEnabled();
                if (enabled)
                    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
                QCOMPARE(model.userToggled(box), enabled);
            } else if (kind < 7) {
                const auto list = SelectionList(random() % kSelectionListCount);
                const int index = int(random() % unsigned(SelectionModel::itemCount(list)));
                QListWidgetItem* item = listWidget(list)->item(index);
                const bool enabled = listWidget(list)->isEnabled();
                if (enabled)
                    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked
                                                                          : Qt::Checked);
                QCOMPARE(model.userToggledItem(list, index), enabled);
            } else if (kind < 9) {
                const auto box = SelectionBox(random() % kSelectionBoxCount);
                const bool checked = random() % 2;
                sink().setBox(box, checked);
                model.setBox(box, checked);
            } else if (kind == 10) {
                const int row = int(random() % kCatalogue.size());
                const QRect cell = grid->visualRect(grid->model()->index(row, 0));
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
                model.chooseAvailable(kCatalogue[std::size_t(row)].first,
                                      kCatalogue[std::size_t(row)].second);
            } else if (kind == 11 && chosen->count() > 0) {
                const int index = int(random() % unsigned(chosen->count()));
                chosen->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
                QTest::keyClick(chosen, Qt::Key_Delete);
                model.removeChosen(index);
            } else if (kind == 9) {
                const std::string path =
                    (home() + "/" + files[int(random() % unsigned(files.size()))]).toStdString();
                OptionsLoad windowLoad{}, modelLoad{};
                QString windowFault, modelFault;
                try {
                    windowLoad = loadOptionsFile(path, sink());
                } catch (const IoError& e) {
                    windowFault = e.what();
                }
                try {
                    modelLoad = model.loadOptions(path);
                } catch (const IoError& e) {
                    modelFault = e.what();
                }
                QCOMPARE(int(modelLoad), int(windowLoad));
                QCOMPARE(modelFault, windowFault);
            }
            compareStates(model, qPrintable(QString::number(step)));
            if (QTest::currentTestFailed()) return;
        }
        QVERIFY(model.snapshot() == windows_->selection().snapshot());
    }

    // Each options file loaded with "Load options", run with "Run" and saved with "Save to
    // file" in the window, and given to the batch tool: the same bytes, or the same stop.
    void batchToolWritesWhatTheWindowSaves() {
        const QStringList files = writeOptionsFiles();
        int compared = 0;
        for (const QString& file : files) {
            // A fresh window set for each file: the batch tool starts from nothing too.
            windows_.reset();
            messages_.clear();
            windows_ = data_->openWindows(messages_);
            const QString windowResults = home() + "/window-" + file + ".dos";
            const QString batchResults = home() + "/batch-" + file + ".dos";
            {
                ModalDriver driver(file, QFileInfo(windowResults).fileName());
                child<QPushButton>(&window(), "BtnLoad")->click();
                if (messages_.all.isEmpty()) child<QPushButton>(&window(), "BtnRun")->click();
            }
            const QStringList windowMessages = messages_.all;

            const fetaldose::testing::BatchResult batch = fetaldose::testing::runBatchTool(
                FETALDOSE_BATCH,
                {"--options", file.toStdString(), "--out",
                 QFileInfo(batchResults).fileName().toStdString()},
                home().toStdString(), (home() + "/").toStdString());
            const QByteArray context = (file + ": " + QString::fromStdString(batch.err)).toUtf8();
            if (windowMessages.isEmpty()) {
                QVERIFY2(QFile::exists(windowResults), context);
                QVERIFY2(batch.status == 0, context);
                QVERIFY2(readAll(batchResults) == readAll(windowResults), context);
                ++compared;
            } else {
                QVERIFY2(!QFile::exists(batchResults), context);
                QVERIFY2(batch.status == 1 || batch.status == 3, context);
                // The window's message as the batch tool says it: the run's stop exactly, a
                // load fault with the file's name and without the error box's full stop.
                const QString message = windowMessages.last();
                if (batch.status == 1)
                    QCOMPARE(firstLine(batch.err), message);
                else
                    QVERIFY2(firstLine(batch.err).endsWith(file + ": " + message.chopped(1)),
                             context);
            }
        }
        QCOMPARE(compared, 4);
    }
};

QTEST_MAIN(WindowAndBatchTest)
#include "window_and_batch_test.moc"
