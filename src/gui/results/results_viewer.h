#pragma once
// The results viewer: the tables of the last run, one at a time, in the post-natal or the
// offspring view, with paging, printing and saving to a results file.

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/run/run_result.h"

class QAbstractButton;
class QFrame;
class QLabel;
class QPushButton;
class QToolButton;

namespace fetaldose {
struct NuclideData;
struct RunCheck;
}  // namespace fetaldose

namespace fetaldose::gui {

class Messages;
class PrinterProvider;
class ResultGrid;

// What the viewer needs of the program around it.
struct ViewerCommands {
    std::function<void()> saveToFile;  // "Save to file": opens the window that saves results
    std::function<bool()> quitting;    // true once the program is ending

    // The grids' context menu, each command also on its keyboard shortcut; a command not
    // given is left out of the menu.
    std::function<void()> copyTable;     // "Copy table" (Ctrl+C): the table and view on show
    std::function<void()> exportTables;  // "Export all tables..." (Ctrl+E)
    std::function<void()> printTables;   // "Print all tables..."
    std::function<void()> openChart;     // "Chart..." (Ctrl+G)
    std::function<void()> assessTable;   // "Assess an intake with this table..."
    std::function<void()> goToTable;     // "Go to table…" (Ctrl+T)
    // Told the number of the table each time one is put on show.
    std::function<void(int table)> tableShown;
};

// The results viewer.
class ResultsViewer : public QDialog {
    Q_OBJECT
  public:
    ResultsViewer(Messages& messages, PrinterProvider& printers, ViewerCommands commands,
                  QWidget* parent = nullptr);
    ~ResultsViewer() override;

    // The run whose tables the viewer shows; nothing before the first complete run and while
    // a run is being made.
    const std::shared_ptr<const RunResult>& run() const { return run_; }
    void setRun(std::shared_ptr<const RunResult> run);
    int tableCount() const { return run_ ? run_->tableCount() : 0; }

    // The data file contents a run reads each nuclide into; one instance for the program.
    NuclideData& runScratch();

    // The two grids: post-natal doses and offspring (total) doses.
    ResultGrid& postNatalGrid() { return *postNatalGrid_; }
    ResultGrid& offspringGrid() { return *offspringGrid_; }

    // Lays out both grids as far as the run's checks got: blanks every cell and gives both
    // paging buttons the unavailable look, then writes the row labels and period headings
    // the checks reached. An untouched stage changes nothing.
    void layOutGrids(const RunCheck& check);

    // The paging buttons' look: available (window-text caption) or unavailable (grey
    // caption). The buttons always stay enabled.
    void setPreviousAvailable(bool available);
    void setNextAvailable(bool available);
    bool previousAvailable() const { return previousAvailable_; }
    bool nextAvailable() const { return nextAvailable_; }

    // Shows table 1 of the run, then whichever table paging leads to, modally, until
    // "Return to input". Paging changes the open window; it is never hidden in between.
    void viewingLoop();

    // Copies table `table` of the run into the labels and the grids' dose cells (row labels
    // and period headings stay as the run wrote them). With no such table in this run the
    // header and the dose cells are blank.
    void showTable(int table);

    int currentTable() const { return currentTable_; }
    // Shows table `table` of the run with the paging looks that paging to it gives; a number
    // that is none of the run's tables changes nothing.
    void goToTable(int table);
    bool postNatalViewShown() const { return postNatalInFront_; }

  public slots:
    void showNextTable();
    void showPreviousTable();
    void returnToInput();
    void showPostNatalView();
    void showOffspringView();
    void saveToFile();
    void print();
    // Refused while viewing: only "Return to input" leaves the viewer.
    void reject() override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void showInitialState();
    void buildControls();
    void placeControls();
    void placeCounter();
    void bringViewToFront(bool postNatal);
    void installTableCommands();

    Messages& messages_;
    PrinterProvider& printers_;
    ViewerCommands commands_;
    std::shared_ptr<const RunResult> run_;
    std::unique_ptr<NuclideData> runScratch_;

    int currentTable_ = 1;
    bool returnToInput_ = false;
    bool postNatalInFront_ = false;
    bool previousAvailable_ = false;
    bool nextAvailable_ = false;

    QFrame* headerPanel_ = nullptr;
    QFrame* gridPanel_ = nullptr;
    QFrame* commandPanel_ = nullptr;
    QLabel* nuclideLabel_ = nullptr;
    QLabel* groupLabel_ = nullptr;
    QLabel* scenarioLabel_ = nullptr;
    QLabel* routeLabel_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QLabel* tableNumberLabel_ = nullptr;
    QLabel* ofLabel_ = nullptr;
    QLabel* tableCountLabel_ = nullptr;
    QToolButton* offspringButton_ = nullptr;
    QToolButton* postNatalButton_ = nullptr;
    QToolButton* previousButton_ = nullptr;
    QToolButton* nextButton_ = nullptr;
    QToolButton* returnButton_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    ResultGrid* postNatalGrid_ = nullptr;
    ResultGrid* offspringGrid_ = nullptr;
};

}  // namespace fetaldose::gui
