// A run that takes a while: its progress dialog with Cancel, shown only once the run has gone on
// for the delay (here none, or never, so that no test waits); a cancelled run leaves the
// selection as it was and shows no viewer; a finished run gives the same tables and messages
// with or without the dialog; nothing starts a second run under the first, and the program's
// end stops a run.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

#include "app/window_set.h"
#include "core/options/options_file.h"
#include "core/run/run_result.h"
#include "core/selection/selection_model.h"
#include "gui/results/results_texts.h"
#include "gui/results/results_viewer.h"
#include "gui/selection/selection_window.h"
#include "recording_messages.h"
#include "viewer_fixture.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace std::chrono_literals;

namespace {

constexpr auto kNoDelay = 0ms;
constexpr auto kNever = std::chrono::milliseconds(std::chrono::hours(24));

// Messages recorded with whether a progress dialog was on show when each came.
class WatchedMessages final : public Messages {
  public:
    void inform(const QString& text) override { note(text); }
    void error(const QString& text) override { note(QStringLiteral("error: ") + text); }
    bool confirm(const QString& question, const QString&) override {
        note(QStringLiteral("question: ") + question);
        return true;
    }
    QStringList all;
    bool underProgress = false;

  private:
    void note(const QString& text) {
        all << text;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(window) && window->isVisible()) underProgress = true;
    }
};

// Every text of every table of a run, for comparing two runs.
QStringList everyText(const RunResult& run) {
    QStringList texts;
    for (int table = 1; table <= run.tableCount(); ++table) {
        for (std::string_view heading : {run.nuclideHeading(table), run.groupHeading(table),
                                         run.routeHeading(table), run.scenarioHeading(table)})
            texts << QString::fromLatin1(heading.data(), static_cast<int>(heading.size()));
        texts << QString::fromStdString(run.summary(table));
        for (int row = 1; row <= run.layout().rowCount(); ++row) {
            texts << QString::fromStdString(run.inUteroText(table, row));
            for (int period = 1; period <= run.layout().periodCount(); ++period)
                texts << QString::fromStdString(run.postNatalText(table, row, period))
                      << QString::fromStdString(run.offspringText(table, row, period));
        }
    }
    return texts;
}

}  // namespace

class RunProgressTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir work_;
    std::string data_;
    WatchedMessages messages_;
    std::unique_ptr<WindowSet> windows_;
    QTimer watch_;  // runs `onProgress` and `onViewer` whenever events are handled
    std::function<void(QProgressDialog&)> onProgress;
    int progressShowings_ = 0;
    QStringList progressTexts_;
    int viewerShowings_ = 0;
    std::shared_ptr<const RunResult> viewed_;

    void open(std::chrono::milliseconds delay) {
        Platform platform;
        platform.messages = &messages_;
        platform.decimalSeparator = [] { return '.'; };
        platform.runProgressDelay = delay;
        windows_ = std::make_unique<WindowSet>(std::move(platform));
        windows_->create();
        messages_.all.clear();
        messages_.underProgress = false;
    }

    // Each time a progress dialog is the active modal window, notes it and hands it to
    // onProgress; each time the viewer is, notes its run and returns to input.
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
            ++progressShowings_;
            progressTexts_ << progress->labelText();
            if (onProgress) std::exchange(onProgress, nullptr)(*progress);
        } else if (windows_ && modal == &windows_->viewer() && modal->isVisible()) {
            ++viewerShowings_;
            viewed_ = windows_->viewer().run();
            windows_->viewer().returnToInput();
        }
    }

    void reset() {
        progressShowings_ = viewerShowings_ = 0;
        progressTexts_.clear();
        viewed_.reset();
        messages_.all.clear();
        messages_.underProgress = false;
    }

    // Four nuclides, both groups, everything: 4 x 2 x 11 x (1 + 10 + 1) tables.
    static SelectionSnapshot fourNuclides() {
        SelectionSnapshot selection;
        selection.nuclides = {"Aa-1", "Bb-2", "Cc-3", "Dd-4"};
        selection.halfLives = {"1 d", "2 d", "3 d", "4 d"};
        selection.memberOfPublic = selection.occupational = true;
        selection.allRoutes = selection.allAerosol = selection.allAcutes = true;
        selection.allChronics = selection.allOrgans = selection.allPeriods = true;
        return selection;
    }

    void runWatched(const SelectionSnapshot& selection) {
        reset();
        watch_.start();
        windows_->run(selection);
        watch_.stop();
    }

  private slots:
    void initTestCase() {
        QVERIFY(work_.isValid());
        QVERIFY(QDir(work_.path()).mkpath(QStringLiteral("data")));
        QVERIFY(QDir::setCurrent(work_.path()));
        data_ = work_.filePath(QStringLiteral("data/")).toStdString();
        std::string catalogue = "4\r\n";
        for (const SelectionSnapshot selection = fourNuclides();
             const std::string& name : selection.nuclides) {
            test::writeFile(data_ + name + ".dat", test::dataFileText({1, 1, 1}, {1, 1, 1}));
            catalogue += name + "\r\n1 d\r\n";
        }
        test::writeFile(data_ + "nuclides.txt", catalogue);
        watch_.setInterval(0);
        connect(&watch_, &QTimer::timeout, this, [this] { tick(); });
    }
    void cleanup() {
        windows_.reset();
        onProgress = nullptr;
    }

    // Run pressed in the main window, Cancel pressed in the progress dialog: no viewer, no
    // message, no run kept, and the selection window holds what it held before.
    void cancelLeavesTheSelectionAndNoViewer() {
        open(kNoDelay);
        const std::string options = work_.filePath(QStringLiteral("four.opt")).toStdString();
        saveOptionsFile(options, fourNuclides());
        QCOMPARE(windows_->selectionModel().loadOptions(options), OptionsLoad::Completed);
        const SelectionSnapshot before = windows_->selection().snapshot();
        QCOMPARE(before.nuclides.size(), std::size_t{4});

        onProgress = [](QProgressDialog& progress) {
            QVERIFY(progress.isModal());
            for (QPushButton* button : progress.findChildren<QPushButton*>()) button->click();
        };
        reset();
        watch_.start();
        windows_->selection().findChild<QAbstractButton*>(QStringLiteral("BtnRun"))->click();
        watch_.stop();

        QCOMPARE(progressShowings_, 1);
        QCOMPARE(progressTexts_.value(0), results_texts::kRunProgressText.arg(1).arg(4));
        QCOMPARE(viewerShowings_, 0);
        QVERIFY(!windows_->viewer().run());
        QVERIFY(messages_.all.isEmpty());
        QVERIFY(windows_->selection().snapshot() == before);
        QVERIFY(windows_->selectionModel().snapshot() == before);
        // The window takes the next Run as ever.
        runWatched(before);
        QCOMPARE(viewerShowings_, 1);
        QVERIFY(viewed_ && viewed_->tableCount() == 4 * 2 * 11 * 12);
    }

    // The same run with the dialog from the first nuclide on and with none: the same tables;
    // a run that stops at a missing data file says so, the same way, once the dialog is gone.
    void finishedRunIsTheSameWithOrWithoutProgress() {
        open(kNever);
        runWatched(fourNuclides());
        QCOMPARE(progressShowings_, 0);  // shorter than the delay: no dialog at all
        QCOMPARE(viewerShowings_, 1);
        QVERIFY(viewed_);
        const QStringList quiet = everyText(*viewed_);
        const QStringList quietMessages = messages_.all;

        open(kNoDelay);
        runWatched(fourNuclides());
        QVERIFY(progressShowings_ >= 1);
        QCOMPARE(progressTexts_.last(), results_texts::kRunProgressText.arg(4).arg(4));
        QCOMPARE(viewerShowings_, 1);
        QVERIFY(viewed_);
        QCOMPARE(everyText(*viewed_), quiet);
        QCOMPARE(messages_.all, quietMessages);
        QVERIFY(messages_.all.isEmpty());

        SelectionSnapshot missing = fourNuclides();
        missing.nuclides.push_back("Zz-9");  // no data file
        missing.halfLives.push_back("9 d");
        QStringList stopMessages[2];
        for (const auto delay : {kNever, kNoDelay}) {
            open(delay);
            runWatched(missing);
            QCOMPARE(viewerShowings_, 0);
            QCOMPARE(progressShowings_ > 0, delay == kNoDelay);
            QVERIFY(!messages_.underProgress);
            stopMessages[delay == kNoDelay] = messages_.all;
        }
        QCOMPARE(stopMessages[1], stopMessages[0]);
        QCOMPARE(stopMessages[0].size(), 1);
    }

    // While the dialog is on show, a second Run is ignored and the first goes on to its
    // viewer; the program's end stops the run, with no viewer and no message.
    void noSecondRunAndTheProgramsEndStopsTheRun() {
        open(kNoDelay);
        SelectionSnapshot other = fourNuclides();
        other.occupational = false;
        onProgress = [&](QProgressDialog&) { windows_->run(other); };
        runWatched(fourNuclides());
        QCOMPARE(viewerShowings_, 1);
        QVERIFY(viewed_ && viewed_->selection() == fourNuclides());
        QVERIFY(messages_.all.isEmpty());

        onProgress = [&](QProgressDialog&) { windows_->quit(); };
        runWatched(fourNuclides());
        QVERIFY(windows_->quitting());
        QCOMPARE(progressShowings_, 1);
        QCOMPARE(viewerShowings_, 0);
        QVERIFY(!windows_->viewer().run());
        QVERIFY(messages_.all.isEmpty());
    }
};

QTEST_MAIN(RunProgressTest)
#include "run_progress_test.moc"
