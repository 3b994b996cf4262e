#pragma once
// The selection window, the program's main window: the nuclide grid with its finder and the
// chosen list, the exposure, route, aerosol, scenario, tissue and period choices, and the
// commands. The window is a view of a SelectionModel: it shows the model's checks, enabled
// states and chosen nuclides, and turns clicks, keys and double clicks into the model's
// commands. The enabling rules are the model's; the window keeps none of its own.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/options/controls_sink.h"
#include "core/run/selection_snapshot.h"
#include "core/textio/source_file.h"

class QCheckBox;
class QEvent;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTableWidget;

namespace Ui {
class SelectionWindow;
}

namespace fetaldose {
class FileAttributes;
class SelectionModel;
struct SelectionChange;
}  // namespace fetaldose

namespace fetaldose::gui {

class Messages;

// What the selection window's commands do beyond the window itself; each is given by the
// program that owns the windows, and runs guarded (a fault shows in the error box).
struct SelectionCommands {
    std::function<void(const SelectionSnapshot&)> run;
    std::function<void()> loadOptions;
    std::function<void()> saveOptions;
    std::function<void()> quit;  // ends the program: every event loop returns
    // Asked before the program ends from this window: false keeps it running (work of a tool
    // that would be lost, kept at the user's word). Not given: the program ends.
    std::function<bool()> mayQuit;
    // The Help menus: the two help books and the information windows.
    std::function<void()> openGeneralInformation;
    std::function<void()> openPublication;
    std::function<void()> showInstructions;
    std::function<void()> showLicence;
    std::function<void()> showContactInformation;
    std::function<void()> showAbout;
    std::function<void()> showReferenceCd;
    std::function<void()> showReferencePublication;
    std::function<void()> showPdfNote;
    // The Tools menu, at the right end of the menu bar.
    std::function<void()> openDoseAssessment;
    std::function<void()> compareDataSets;
};

class SelectionWindow : public QMainWindow, public ControlsSink {
    Q_OBJECT
  public:
    // Shows `model`, which outlives the window. Loads the catalogue of the model's data
    // directory into the grid; its messages and faults are reported through `messages` before
    // the window shows.
    SelectionWindow(SelectionModel& model, Messages& messages, FileAttributes& fileAttributes,
                    SelectionCommands commands, QWidget* parent = nullptr);
    ~SelectionWindow() override;

    const SelectionModel& model() const { return model_; }
    // A copy of every check state (enabled or not) and of the chosen list and its twin.
    SelectionSnapshot snapshot() const;
    // The data directory the catalogue was read from.
    const std::string& dataDirectory() const;
    // The catalogue's bytes as the grid was filled from them; nothing when it could not be read.
    const std::optional<SourceFile>& catalogueSource() const { return catalogueSource_; }

    // Set the model, as the options loader does; the window shows the outcome.
    void clearChosen() override;
    void appendChosen(const std::string& name, const std::string& halfLife) override;
    void setBox(SelectionBox box, bool checked) override;
    void setItem(SelectionList list, int index, bool checked) override;
    bool dataFileExists(std::string_view nuclideName) override;

  public slots:
    // Commands (each button and its menu item share one).
    void run();
    void loadOptions();
    void saveOptions();
    void exitProgram();
    void openGeneralInformation();
    void openPublication();
    void showInstructions();
    void showLicence();
    void showContactInformation();
    void showAbout();
    void showReferenceCd();
    void showReferencePublication();
    void showPdfNote();
    void openDoseAssessment();
    void compareDataSets();

    // Nuclide grid, finder and chosen list.
    void selectGridCell(int column, int row);
    void addGridNuclide();
    void findNuclide();
    void removeChosenNuclide();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Builds every control at its place; the window's whole geometry and look are there.
    void buildControls();
    void buildMenu(const Ui::SelectionWindow& form);
    void connectHandlers();
    // Run once at creation: loads the catalogue into the grid.
    void fillNuclideGrid();

    // The model's side of the view: each change of the model shown on the controls.
    void showChange(const SelectionChange& change);
    void showChecks();
    void showChosenEntry(int index);
    // The user's side: a box or an item the user (or a program driving the controls) changed.
    void boxToggled(SelectionBox box, bool checked);
    void itemChanged(SelectionList list, const QListWidgetItem* item);

    // Key handlers; each returns whether it used the key.
    bool gridKeyPressed(int key);
    bool finderKeyPressed(int key);
    bool chosenListKeyPressed(int key);
    bool buttonKeyPressed(QPushButton* button, int key);

    QString gridName(int row) const;
    // The catalogue's own bytes of a grid cell (column 0 the name, 1 the half-life), which
    // the shown text need not keep (a byte of another code page is no valid UTF-8).
    std::string gridBytes(int row, int column) const;
    void chooseGridRow(int row);
    void moveGridTo(int row);
    void removeLowestSelectedChosen();
    QCheckBox* checkBox(SelectionBox box) const;
    QListWidget* checkList(SelectionList list) const;

    // Runs a command of `commands_`, its faults shown in the error box.
    void runCommand(const std::function<void()>& command);

    SelectionModel& model_;
    Messages& messages_;
    FileAttributes& fileAttributes_;
    SelectionCommands commands_;
    std::optional<SourceFile> catalogueSource_;
    // Set while the window shows a change of the model, so that the controls' own signals of
    // that change are not taken for the user's.
    bool showingModel_ = false;
    int currentGridRow_ = 0;
    int finderRow_ = 0;

    QTableWidget* nuclideGrid_ = nullptr;
    QLineEdit* finderBox_ = nullptr;
    QListWidget* chosenList_ = nullptr;
    QListWidget* halfLifeList_ = nullptr;

    QCheckBox* publicBox_ = nullptr;
    QCheckBox* occupationalBox_ = nullptr;
    QCheckBox* allRoutesBox_ = nullptr;
    QCheckBox* ingestionBox_ = nullptr;
    QCheckBox* particulatesBox_ = nullptr;
    QCheckBox* vapoursBox_ = nullptr;
    QCheckBox* allAerosolBox_ = nullptr;
    QCheckBox* allAcutesBox_ = nullptr;
    QCheckBox* allChronicsBox_ = nullptr;
    QCheckBox* allOrgansBox_ = nullptr;
    QCheckBox* allPeriodsBox_ = nullptr;

    QListWidget* aerosolList_ = nullptr;
    QListWidget* acuteList_ = nullptr;
    QListWidget* chronicList_ = nullptr;
    QListWidget* tissueList_ = nullptr;
    QListWidget* periodList_ = nullptr;

    QPushButton* loadButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* exitButton_ = nullptr;
};

}  // namespace fetaldose::gui
