#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "core/run/result_store.h"

namespace fetaldose::gui {

class WindowSet;

// The results viewer.
class TFrmDemo2 : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDemo2(WindowSet& windows, QWidget* parent = nullptr);

    // The result store of the last run.
    const ResultStore& Store() const { return store_; }
    ResultStore& Store() { return store_; }
    // Column 0, rows 1..RowCount of the offspring grid (the labels the run wrote there).
    std::vector<std::string> RowLabelTexts() const;
    // Row 0, columns 4..3+PeriodCount of the offspring grid.
    std::vector<std::string> PeriodHeadingTexts() const;

private:
    WindowSet& windows_;
    ResultStore store_;
};

}  // namespace fetaldose::gui
