#pragma once
// The comparison window: the program's data set (the reference) compared with a candidate data
// folder, for the current selection or everything the two hold. It shows the summary a reviewer
// reads first and a sortable, filterable table of the cells that differ beyond the threshold;
// a double click shows both tables of a row side by side. The comparison runs beside the event
// loop, so that the other windows stay usable, with progress and Cancel; it is exported as CSV,
// XLSX or PDF with the provenance of both folders.

#include <QString>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/compare/comparison.h"
#include "core/run/output_format.h"
#include "core/run/selection_snapshot.h"

class QComboBox;
class QDialog;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressDialog;
class QPushButton;
class QTableView;
class QTimer;

namespace fetaldose::gui {

class Messages;
class DifferenceModel;
class DifferenceFilter;

struct CompareExportTarget {
    QString path;
    OutputFormat format = OutputFormat::Csv;  // CSV, XLSX or PDF
};

using FolderChooser =
    std::function<QString(QWidget* parent, const QString& caption, const QString& start)>;
using CompareExportChooser = std::function<std::optional<CompareExportTarget>(QWidget* parent)>;

// The desktop's folder dialog; an empty text when cancelled.
QString askFolder(QWidget* parent, const QString& caption, const QString& start);
// The desktop's save dialog with the CSV, XLSX and PDF types: the kind of file is the name's
// extension where it names one, else the type picked. Nothing when cancelled.
std::optional<CompareExportTarget> askComparisonExportTarget(QWidget* parent);

// What the window needs from the rest of the program; tests replace any part of it.
struct CompareWindowSetup {
    std::string referenceDirectory;                // the program's data folder, ending with '/'
    std::function<SelectionSnapshot()> selection;  // the main window's selection now
    std::function<char()> decimalSeparator;        // the runs'
    FolderChooser chooseFolder = askFolder;
    CompareExportChooser chooseExportTarget = askComparisonExportTarget;
};

class CompareWindow : public QWidget {
    Q_OBJECT
  public:
    CompareWindow(Messages& messages, CompareWindowSetup setup, QWidget* parent = nullptr);
    ~CompareWindow() override;

    // "Compare with another data set…": shows the window; without a candidate yet, asks for one
    // in the folder dialog and compares when one is chosen.
    void open();

    // The comparison on show; nothing before the first one completes.
    const std::shared_ptr<const Comparison>& comparison() const { return comparison_; }
    bool busy() const { return worker_.joinable(); }
    QString summaryText() const;
    void setCandidateFolder(const QString& folder);
    void setEverything(bool everything);
    void setThreshold(double threshold);

    // The filters of the table (0 in a combo box is "All").
    void setNuclideFilter(int index);
    void setTissueFilter(int index);
    void setDirectionFilter(int index);
    void setChangeFilter(double relativeChange);
    // Rows the table shows now, and the listed difference of a shown row.
    int shownRows() const;
    const CellDifference* shownDifference(int row) const;
    // The tables of a shown row side by side (a double click does it); the dialog stays open
    // beside the window.
    void showSideBySide(int row);
    QDialog* sideBySide() const { return sideBySide_; }

  public slots:
    // Asks for the candidate folder in the folder dialog; returns whether one was chosen.
    bool chooseCandidate();
    // Starts the comparison with the choices on show.
    void compare();
    // Asks where, then writes the comparison there.
    void exportComparison();

  private:
    void buildControls();
    void startWorker(CompareRequest request);
    void pollWorker();
    void finishWorker();
    void showComparison();
    void refreshFilter();
    // The folder holding the catalogue: the chosen one, or its data/ when that holds it.
    std::string candidateDirectory() const;

    Messages& messages_;
    CompareWindowSetup setup_;
    std::shared_ptr<const Comparison> comparison_;

    // The comparison under way, on a thread of its own.
    std::thread worker_;
    std::atomic<long long> done_{0};
    std::atomic<long long> total_{0};
    std::atomic<bool> cancel_{false};
    std::atomic<bool> finished_{false};
    CompareOutcome outcome_;
    QTimer* poll_ = nullptr;
    QProgressDialog* progress_ = nullptr;

    QLabel* referenceFolder_ = nullptr;
    QLineEdit* candidateFolder_ = nullptr;
    QPushButton* chooseButton_ = nullptr;
    QComboBox* scopeBox_ = nullptr;
    QDoubleSpinBox* thresholdBox_ = nullptr;
    QPushButton* compareButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    QPlainTextEdit* summary_ = nullptr;
    QComboBox* nuclideFilter_ = nullptr;
    QComboBox* tissueFilter_ = nullptr;
    QComboBox* directionFilter_ = nullptr;
    QDoubleSpinBox* changeFilter_ = nullptr;
    QLabel* shownCount_ = nullptr;
    QTableView* table_ = nullptr;
    DifferenceModel* model_ = nullptr;
    DifferenceFilter* filter_ = nullptr;
    QDialog* sideBySide_ = nullptr;
};

}  // namespace fetaldose::gui
