#pragma once
// The dose assessment window: a grid of intakes (nuclide, exposure group, route entry, time,
// activity and unit, each chosen from what the catalogue and the nuclide's data file hold, or
// typed), the settings (dose unit, method, external dose, limit, tissues and periods shown), and
// the doses per intake and in total with the limit check, worked out again on every edit. The
// intakes are opened from and saved to an intakes file; the result is exported as CSV, XLSX or
// a PDF report, or printed. The window does not block the other windows.

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "core/assessment/assessment_report.h"
#include "core/assessment/intakes_file.h"
#include "gui/assessment/assessment_files.h"
#include "gui/assessment/intake_delegate.h"

QT_BEGIN_NAMESPACE
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
QT_END_NAMESPACE

namespace fetaldose::gui {

class DoseTableModel;
class IntakeTableModel;
class Messages;
class PrinterProvider;

// What the window needs of the program around it.
struct AssessmentCommands {
    AssessmentFileChooser chooseFile;  // default: the desktop's file dialogs
    // Throws OutputIsInput when a file the window would write is a file of the data set.
    std::function<void(const std::string& path)> refuseOutput;
};

class AssessmentWindow : public QWidget {
    Q_OBJECT
  public:
    // Assesses on `data` (the data folder the window keeps for its life). A top-level window of
    // its own (a child of `parent` for stacking, and so usable while `parent` is modal).
    AssessmentWindow(std::unique_ptr<assessment::AssessmentData> data, Messages& messages,
                     PrinterProvider& printers, AssessmentCommands commands,
                     QWidget* parent = nullptr);
    ~AssessmentWindow() override;

    // Shows the window in front, with the keyboard focus in it.
    void showInFront();
    // Adds the intake as the last row and puts the cursor on its activity.
    void addIntake(assessment::IntakeEntry entry);

    const assessment::IntakeList& intakes() const;
    const assessment::AssessmentResult& result() const { return result_; }
    // The settings the controls give (a dose that does not read is left out; see
    // settingsProblem).
    const assessment::AssessmentSettings& settings() const { return settings_; }
    // Why the settings cannot be used as they are ("" when they can).
    const QString& settingsProblem() const { return settingsProblem_; }
    // The intakes file the grid holds as it was read or saved; empty once it has changed.
    const QString& intakesFile() const { return intakesFile_; }

    // Whether the grid holds intakes changed since they were last opened or saved.
    bool hasUnsavedIntakes() const;
    // True when nothing unsaved would be lost, or the user chose to discard it.
    bool mayDiscardIntakes();

    // The commands without their dialogs; each fault shows in the error box.
    void openIntakesFile(const QString& path);
    void saveIntakesFile(const QString& path);
    void exportTo(const QString& path, OutputFormat format);

    // What the window shows, as a test or a screen reader reads it.
    QString limitText() const;
    QString warningText() const;

  public slots:
    void addIntakeAfterCurrent();
    void removeCurrentIntake();
    void openIntakes();
    void saveIntakes();
    void exportResult();
    void print();
    void setTimeFromDates();

  private:
    void buildControls();
    QWidget* buildSettingsPanel();
    QWidget* buildIntakesPanel();
    QWidget* buildResultsPanel();
    void readSettings();
    void recompute();
    void showLimitCheck();
    void showCurrentOutcome();
    void intakeEdited(int row, int column);
    void showFileState();
    std::vector<FieldChoice> choicesFor(int row, int column);
    std::vector<std::string> inputsOfOutputs();
    assessment::AssessmentReport report();
    void requireUsable() const;

    std::unique_ptr<assessment::AssessmentData> data_;
    Messages& messages_;
    PrinterProvider& printers_;
    AssessmentCommands commands_;
    assessment::AssessmentSettings settings_;
    assessment::AssessmentResult result_;
    QString settingsProblem_;
    QString intakesFile_;
    // The intakes file last read or saved, kept once the grid changes: outputs never replace it.
    QString lastIntakesFile_;
    bool unsaved_ = false;
    // The catalogue's nuclides that have a data file, as the nuclide lists offer them.
    std::vector<std::string> nuclides_;

    IntakeTableModel* intakeModel_ = nullptr;
    DoseTableModel* totalModel_ = nullptr;
    DoseTableModel* perIntakeModel_ = nullptr;

    QLabel* warning_ = nullptr;
    QTableView* intakeGrid_ = nullptr;
    QLabel* currentOutcome_ = nullptr;
    QLabel* fileState_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QPushButton* removeButton_ = nullptr;
    QPushButton* openButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QDateEdit* conceptionDate_ = nullptr;
    QDateEdit* intakeDate_ = nullptr;
    QPushButton* setTimeButton_ = nullptr;

    QComboBox* unitBox_ = nullptr;
    QComboBox* methodBox_ = nullptr;
    QLineEdit* externalEdit_ = nullptr;
    QComboBox* externalUnitBox_ = nullptr;
    QComboBox* limitBox_ = nullptr;
    QLabel* limitSource_ = nullptr;
    QLineEdit* customLimitEdit_ = nullptr;
    QComboBox* customUnitBox_ = nullptr;
    QLabel* settingsNote_ = nullptr;
    QListWidget* tissueList_ = nullptr;
    QListWidget* periodList_ = nullptr;

    QLabel* limitFlag_ = nullptr;
    QLabel* limitLines_ = nullptr;
    QLabel* resultsNote_ = nullptr;
    QTabWidget* resultTabs_ = nullptr;
    QTableView* totalTable_ = nullptr;
    QTableView* perIntakeTable_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

}  // namespace fetaldose::gui
