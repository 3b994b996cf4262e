#pragma once
// The selection window, the program's main window: the nuclide grid with its finder and the
// chosen list, the exposure, route, aerosol, scenario, tissue and period choices, and the
// commands. The selection lives in the controls themselves; the run and the options file read
// and set them through Snapshot() and the ControlsSink overrides.

#include <QMainWindow>
#include <QString>
#include <string>

#include "core/options/controls_sink.h"
#include "core/run/selection_snapshot.h"

class QCheckBox;
class QEvent;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace fetaldose::gui {

class WindowSet;

class TDualListDlg : public QMainWindow, public ControlsSink {
    Q_OBJECT
  public:
    explicit TDualListDlg(WindowSet& windows, QWidget* parent = nullptr);
    ~TDualListDlg() override;

    // A copy of every check state (enabled or not) and of the chosen list and its twin.
    SelectionSnapshot Snapshot() const;
    // The data directory fixed when the window was created.
    const std::string& DataDirectory() const { return dataDirectory_; }

    void ClearChosen() override;
    void AppendChosen(const std::string& name, const std::string& halfLife) override;
    void SetBox(SelectionBox box, bool checked) override;
    void SetItem(SelectionList list, int index, bool checked) override;
    bool DataFileExists(std::string_view nuclideName) override;

  public slots:
    // Commands (each button and its menu item share one).
    void BtnRunClick();
    void BtnLoadClick();
    void BtnSaveClick();
    void BtnExitClick();
    void Contents1Click();
    void Contents2Click();
    void Instructions1Click();
    void Licence1Click();
    void ContactInformation1Click();
    void About1Click();
    void HowtoreferencethisCD1Click();
    void HowtoreferenceVORQ471Click();
    void pdfofVORQPublication471Click();

    // Enabling rules, run on every real change of the box's checked state.
    void ChkBxAllRoutesClick();
    void chkbxParticulatesClick();
    void ChkBxAllAerosolClick();
    void ChkBxAllAcutesClick();
    void ChkBxAllChronicsClick();
    void ChkBxAllOrgansClick();
    void ChkBxAllPeriodsClick();

    // Nuclide grid, finder and chosen list.
    void StringGrid1SelectCell(int column, int row);
    void StringGrid1DblClick();
    void EdtFindNucChange();
    void LstBxNucsChosenDblClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Builds every control at its place; the window's whole geometry and look are there.
    void BuildControls();
    void BuildMenu();
    void ConnectHandlers();
    // The creation handler: fixes the data directory and loads the catalogue into the grid.
    void FormCreate();

    // Key handlers; each returns whether it used the key.
    bool StringGrid1KeyDown(int key);
    bool EdtFindNucKeyDown(int key);
    bool LstBxNucsChosenKeyDown(int key);

    QString GridName(int row) const;
    // The catalogue's own bytes of a grid cell (column 0 the name, 1 the half-life), which
    // the shown text need not keep (a byte of another code page is no valid UTF-8).
    std::string GridBytes(int row, int column) const;
    void AddGridRow(int row);
    void AppendChosenTexts(const std::string& name, const std::string& halfLife);
    void MoveGridTo(int row);
    void RemoveLowestSelectedChosen();
    QCheckBox* Box(SelectionBox box) const;
    QListWidget* List(SelectionList list) const;

    WindowSet& windows_;
    std::string dataDirectory_;
    int currentGridRow_ = 0;
    int finderRow_ = 0;

    QTableWidget* StringGrid1 = nullptr;
    QLineEdit* EdtFindNuc = nullptr;
    QListWidget* LstBxNucsChosen = nullptr;
    QListWidget* LstBxHalfLife = nullptr;

    QCheckBox* chkbxMOP = nullptr;
    QCheckBox* chkbxWKR = nullptr;
    QCheckBox* ChkBxAllRoutes = nullptr;
    QCheckBox* chkbxIng = nullptr;
    QCheckBox* chkbxParticulates = nullptr;
    QCheckBox* chkbxVapours = nullptr;
    QCheckBox* ChkBxAllAerosol = nullptr;
    QCheckBox* ChkBxAllAcutes = nullptr;
    QCheckBox* ChkBxAllChronics = nullptr;
    QCheckBox* ChkBxAllOrgans = nullptr;
    QCheckBox* ChkBxAllPeriods = nullptr;

    QListWidget* chklstbxAerosol = nullptr;
    QListWidget* ChkLstBxAScenarios = nullptr;
    QListWidget* ChkLstBxCScenarios = nullptr;
    QListWidget* chklstbxTissues = nullptr;
    QListWidget* chklstbxTimes = nullptr;

    QPushButton* BtnLoad = nullptr;
    QPushButton* BtnSave = nullptr;
    QPushButton* BtnRun = nullptr;
    QPushButton* BtnExit = nullptr;
};

}  // namespace fetaldose::gui
