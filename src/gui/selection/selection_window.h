#pragma once
#include <QMainWindow>
#include <string>

#include "core/options/controls_sink.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose::gui {

class WindowSet;

// The selection window, the program's main window.
class TDualListDlg : public QMainWindow, public ControlsSink {
    Q_OBJECT
public:
    explicit TDualListDlg(WindowSet& windows, QWidget* parent = nullptr);

    SelectionSnapshot Snapshot() const;
    // The data directory fixed when the window was created.
    const std::string& DataDirectory() const { return dataDirectory_; }

    void ClearChosen() override;
    void AppendChosen(const std::string& name, const std::string& halfLife) override;
    void SetBox(SelectionBox box, bool checked) override;
    void SetItem(SelectionList list, int index, bool checked) override;
    bool DataFileExists(std::string_view nuclideName) override;

private:
    WindowSet& windows_;
    std::string dataDirectory_;
};

}  // namespace fetaldose::gui
