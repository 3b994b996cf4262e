#pragma once
// "Go to table…": asks which table of the run to show, by its number or as the first table of
// a nuclide, exposure group, route entry and scenario. Each list offers only what the run holds
// under the choices above it, so a choice always leads to a table.

#include <QDialog>
#include <optional>

#include "core/run/table_search.h"

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace fetaldose::gui {

class Messages;

class GoToTableDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens on `currentTable` of `run`: its number and its key are what the dialog offers first.
    GoToTableDialog(const RunResult& run, int currentTable, Messages& messages,
                    QWidget* parent = nullptr);

    // Shows the dialog modally over `parent`; the table chosen, nothing when cancelled. A run
    // without tables has none to offer: a message says so instead.
    static std::optional<int> ask(const RunResult& run, int currentTable, Messages& messages,
                                  QWidget* parent);

    // The table chosen, once accepted.
    int chosenTable() const { return chosen_; }

  public slots:
    // Takes the choice; a table number that is none of the run's is refused with a message
    // and the dialog stays open with the text as typed.
    void accept() override;

  private:
    enum Level { kNuclide, kGroup, kRouteEntry, kScenario, kLevels };

    // The choices of the lists above `level`, as a pattern.
    TablePattern patternAbove(int level) const;
    // Fills the lists from `level` down, each keeping its choice where the run still offers it.
    void fillFrom(int level);
    void chooseByKey();
    std::optional<int> tableOfNumber();

    const RunResult& run_;
    Messages& messages_;
    int chosen_ = 0;
    QRadioButton* byNumber_ = nullptr;
    QRadioButton* byKey_ = nullptr;
    QLineEdit* number_ = nullptr;
    QComboBox* lists_[kLevels] = {};
    // The value each list stood at before it was filled again, so that a choice survives a
    // change above it where it can.
    std::optional<TableKey> keyShown_;
};

}  // namespace fetaldose::gui
