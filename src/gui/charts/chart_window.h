#pragma once
// The chart window: the last run's tables as a chart of dose against the time of intake,
// against the integration period, or nuclides side by side, on a logarithmic or a linear dose
// axis, with the plotted values as a table beside it (copied or exported as CSV), and the
// chart saved as PNG or SVG or copied as an image.

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/charts/chart_series.h"
#include "core/run/run_result.h"

QT_BEGIN_NAMESPACE
class QComboBox;
class QScrollArea;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableWidget;
QT_END_NAMESPACE

namespace fetaldose::gui {

class ChartCanvas;

class ChartWindow : public QWidget {
    Q_OBJECT
  public:
    // The window is a top-level window of its own (a child of `parent` for stacking).
    explicit ChartWindow(QWidget* parent = nullptr);
    ~ChartWindow() override;

    // The run whose tables are charted, read on every change of table or choice; nothing while
    // a run is being made. Keeps the tissues and period chosen so far where the new run has them.
    void setRun(std::shared_ptr<const RunResult> run);
    // Charts table `slot` of the run (called as the viewer pages).
    void showForTable(int slot);
    int table() const { return slot_; }

    // The choices the controls make.
    void setChartKind(charts::ChartKind kind);
    charts::ChartKind chartKind() const;
    void setDose(charts::DoseView dose, int period);
    // Logarithmic (the nuclides as dots) or linear (the nuclides as bars), for every chart.
    void setDoseScale(charts::DoseScale scale);
    // Tissue rows 1..rowCount for the lines; the bars take `barRow`.
    void setTissues(const std::vector<int>& rows, int barRow);

    // What the chart shows, its notes as shown under it, and the text of the last point the
    // pointer went over.
    const charts::ChartData& chartData() const { return data_; }
    QString noteText() const;
    QString hoverText() const { return hoverText_; }

    // The plotted values as tab-separated text, as the Values tab lists them (title lines
    // first), and copied to the clipboard; written as CSV by the safe save, under the same
    // check as the image (the message function says why nothing was written).
    QString valuesText() const;
    void copyValues();
    bool saveValues(const QString& path);

    // The chart as drawn on screen, at its size on screen.
    QImage chartImage() const;
    QSize chartSize() const;
    // Writes the chart as SVG when the name ends in ".svg", otherwise as PNG. A failure is
    // reported through the message function and returns false; no partial file is left.
    bool saveImage(const QString& path);
    void copyImage();

    // Where failure messages go; a warning box by default.
    void setMessageFunction(std::function<void(const QString&)> message);
    // Called with the chosen image path before anything is written; a Fault it throws (an
    // input of the run in that place) is shown through the message function instead.
    void setSaveCheck(std::function<void(const std::string&)> check);

  public slots:
    // Asks for a file name in the desktop's file dialog, then saves.
    void saveImageAs();
    void saveValuesAs();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void fillLayoutControls();
    void updateControlStates();
    void rebuild();
    void redraw();
    void fillValuesTable();
    bool checkOutput(const QString& path);
    void showHover(int seriesIndex, int category, bool entered);
    charts::ChartRequest request() const;

    std::shared_ptr<const RunResult> run_;
    charts::ChartData data_;
    int slot_ = 1;
    bool stale_ = true;  // a change not drawn yet, because the window is hidden
    QString hoverText_;
    std::function<void(const QString&)> message_;
    std::function<void(const std::string&)> saveCheck_;

    QComboBox* kindBox_ = nullptr;
    QComboBox* doseBox_ = nullptr;
    QComboBox* periodBox_ = nullptr;
    QLabel* tissuesLabel_ = nullptr;
    QListWidget* tissueList_ = nullptr;
    QLabel* barTissueLabel_ = nullptr;
    QComboBox* barTissueBox_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QScrollArea* chartScroll_ = nullptr;
    ChartCanvas* canvas_ = nullptr;
    QComboBox* scaleBox_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* valuesCaption_ = nullptr;
    QTableWidget* valuesTable_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* copyButton_ = nullptr;
    QPushButton* copyValuesButton_ = nullptr;
    QPushButton* exportValuesButton_ = nullptr;
};

}  // namespace fetaldose::gui
