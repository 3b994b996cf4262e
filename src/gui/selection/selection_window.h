#pragma once
// The selection window, the program's main window: the nuclide grid with its finder and the
// chosen list, the exposure, route, aerosol, scenario, tissue and period choices, and the
// commands. The selection lives in the controls themselves; the run and the options file read
// and set them through snapshot() and the ControlsSink overrides.

#include <QMainWindow>
#include <QString>
#include <functional>
#include <string>

#include "core/options/controls_sink.h"
#include "core/run/selection_snapshot.h"

class QCheckBox;
class QEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace fetaldose {
class FileAttributes;
}

namespace fetaldose::gui {

class Messages;

// What the selection window's commands do beyond the window itself; each is given by the
// program that owns the windows, and runs guarded (a fault shows in the error box).
struct SelectionCommands {
    std::function<void(const SelectionSnapshot&)> run;
    std::function<void()> loadOptions;
    std::function<void()> saveOptions;
    std::function<void()> quit;  // ends the program: every event loop returns
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
};

class SelectionWindow : public QMainWindow, public ControlsSink {
    Q_OBJECT
  public:
    // Loads the catalogue of the data directory below the working directory into the grid;
    // its messages and faults are reported through `messages` before the window shows.
    SelectionWindow(Messages& messages, FileAttributes& fileAttributes, SelectionCommands commands,
                    QWidget* parent = nullptr);
    ~SelectionWindow() override;

    // A copy of every check state (enabled or not) and of the chosen list and its twin.
    SelectionSnapshot snapshot() const;
    // The data directory fixed when the window was created.
    const std::string& dataDirectory() const { return dataDirectory_; }

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

    // Enabling rules, run on every real change of the box's checked state.
    void applyAllRoutesRule();
    void applyParticulatesRule();
    void applyAllAerosolRule();
    void applyAllAcutesRule();
    void applyAllChronicsRule();
    void applyAllOrgansRule();
    void applyAllPeriodsRule();

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
    void buildMenu();
    void connectHandlers();
    // Run once at creation: fixes the data directory and loads the catalogue into the grid.
    void fillNuclideGrid();

    // Key handlers; each returns whether it used the key.
    bool gridKeyPressed(int key);
    bool finderKeyPressed(int key);
    bool chosenListKeyPressed(int key);

    QString gridName(int row) const;
    // The catalogue's own bytes of a grid cell (column 0 the name, 1 the half-life), which
    // the shown text need not keep (a byte of another code page is no valid UTF-8).
    std::string gridBytes(int row, int column) const;
    void addGridRow(int row);
    void appendChosenTexts(const std::string& name, const std::string& halfLife);
    void moveGridTo(int row);
    void removeLowestSelectedChosen();
    QCheckBox* checkBox(SelectionBox box) const;
    QListWidget* checkList(SelectionList list) const;

    // Runs a command of `commands_`, its faults shown in the error box.
    void runCommand(const std::function<void()>& command);

    Messages& messages_;
    FileAttributes& fileAttributes_;
    SelectionCommands commands_;
    std::string dataDirectory_;
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
