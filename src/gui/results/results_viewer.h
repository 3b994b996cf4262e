#pragma once
// The results viewer: the tables of the last run, one at a time, in the post-natal or the
// offspring view, with paging, printing and saving to a results file.

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "core/run/result_store.h"

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

class WindowSet;
class ResultGrid;

// The results viewer.
class TFrmDemo2 : public QDialog {
    Q_OBJECT
  public:
    explicit TFrmDemo2(WindowSet& windows, QWidget* parent = nullptr);
    ~TFrmDemo2() override;

    // The result store of the last run.
    const ResultStore& Store() const { return store_; }
    ResultStore& Store() { return store_; }
    // Column 0, rows 1..RowCount of the offspring grid (the labels the run wrote there).
    std::vector<std::string> RowLabelTexts() const;
    // Row 0, columns 4..3+PeriodCount of the offspring grid.
    std::vector<std::string> PeriodHeadingTexts() const;

    // The data file contents a run reads each nuclide into; one instance for the program.
    NuclideData& RunScratch();

    // The two grids: post-natal doses and offspring (total) doses.
    ResultGrid& PostNatalGrid() { return *postNatalGrid_; }
    ResultGrid& OffspringGrid() { return *offspringGrid_; }

    // Lays out both grids as far as the run's checks got: blanks every cell and gives both
    // paging buttons the unavailable look, then writes the row labels and period headings
    // the checks reached. An untouched stage changes nothing.
    void LayOutGrids(const RunCheck& check);

    // The paging buttons' look: available (window-text caption) or unavailable (grey
    // caption). The buttons always stay enabled.
    void SetPreviousAvailable(bool available);
    void SetNextAvailable(bool available);
    bool PreviousAvailable() const { return previousAvailable_; }
    bool NextAvailable() const { return nextAvailable_; }

    // Shows table 1 of the store, then whichever table paging leads to, modally, until
    // "Return to input".
    void ViewingLoop();

    // Copies table `table` of the store into the labels and the grids' dose cells (row labels
    // and period headings stay as the run wrote them). With no such table in this run the
    // header and the dose cells are blank.
    void ShowTable(int table);

    int CurrentTable() const { return currentTable_; }
    bool PostNatalViewShown() const { return postNatalInFront_; }

  public slots:
    void SpdBtnNextClick();
    void SpdBtnPreviousClick();
    void SpdBtnReturnClick();
    void SpdBtnPostnatalClick();
    void SpdBtnOffspringClick();
    void Button2Click();
    void Button3Click();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void FormCreate();
    void BuildControls();
    void PlaceControls();
    void PlaceCounter();
    void BringViewToFront(bool postNatal);

    WindowSet& windows_;
    ResultStore store_;
    std::unique_ptr<NuclideData> runScratch_;

    int currentTable_ = 1;
    bool returnToInput_ = false;
    bool postNatalInFront_ = false;
    bool previousAvailable_ = false;
    bool nextAvailable_ = false;

    QFrame* pnlHeaderInfo_ = nullptr;
    QFrame* panel2_ = nullptr;
    QFrame* panel1_ = nullptr;
    QLabel* lblNuclide_ = nullptr;
    QLabel* lblOccOrEnv_ = nullptr;
    QLabel* lblRoute_ = nullptr;
    QLabel* lblScenario_ = nullptr;
    QLabel* lblHOrg_ = nullptr;
    QLabel* lblTCount_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* lblTTotal_ = nullptr;
    QToolButton* spdBtnOffspring_ = nullptr;
    QToolButton* spdBtnPostnatal_ = nullptr;
    QToolButton* spdBtnPrevious_ = nullptr;
    QToolButton* spdBtnNext_ = nullptr;
    QToolButton* spdBtnReturn_ = nullptr;
    QPushButton* button2_ = nullptr;
    QPushButton* button3_ = nullptr;
    ResultGrid* postNatalGrid_ = nullptr;
    ResultGrid* offspringGrid_ = nullptr;
};

}  // namespace fetaldose::gui
