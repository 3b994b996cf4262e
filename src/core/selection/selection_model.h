#pragma once
// The selection the main window shows, as plain data: every box and list item with its check
// and enabled state, and the chosen nuclides with their half-lives. The enabling rules live
// here; the window shows this model and turns the user's clicks into its commands.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/options/controls_sink.h"
#include "core/options/options_file.h"
#include "core/run/selection_snapshot.h"

namespace fetaldose {

inline constexpr int kSelectionBoxCount = 11;
inline constexpr int kSelectionListCount = 5;

// What one change of the model touched, so that a view can follow it step by step (a list
// on screen keeps its selection when one entry goes).
struct SelectionChange {
    enum class Kind {
        Checks,          // a check mark, and the enabled states its rule set
        ChosenCleared,   // both chosen lists emptied
        ChosenAppended,  // an entry added at the end of both chosen lists
        ChosenRemoved,   // entry `index` taken from both chosen lists
    };
    Kind kind = Kind::Checks;
    int index = -1;  // the chosen entry appended or removed
};

class SelectionModel : public ControlsSink {
  public:
    // The state at start: nothing checked or chosen; only "All sizes" and the aerosol list
    // are disabled, as no particulate route is chosen yet.
    explicit SelectionModel(std::string dataDirectory = {});

    // --- State -------------------------------------------------------------------------
    bool isChecked(SelectionBox box) const;
    bool isEnabled(SelectionBox box) const;
    // Items are enabled and disabled with their list.
    bool isEnabled(SelectionList list) const;
    bool isChecked(SelectionList list, int index) const;
    static int itemCount(SelectionList list);

    // LstBxNucsChosen and its twin LstBxHalfLife, index-parallel.
    const std::vector<std::string>& chosenNames() const { return chosenNames_; }
    const std::vector<std::string>& chosenHalfLives() const { return chosenHalfLives_; }

    // What the run and the options file read: every check state, enabled or not.
    SelectionSnapshot snapshot() const;

    // The data directory in which dataFileExists looks.
    const std::string& dataDirectory() const { return dataDirectory_; }
    void setDataDirectory(std::string dataDirectory);

    // Called after every change of a check, an enabled state or the chosen lists (once per
    // command; a load calls it for each step), with what changed. A view shows the change
    // from the state queries.
    using ChangeListener = std::function<void(const SelectionChange&)>;
    void setChangeListener(ChangeListener listener);

    // --- Commands ----------------------------------------------------------------------
    // A click on a box: ignored (false) while the box is disabled, otherwise the box flips
    // and its enabling rule runs.
    bool userToggled(SelectionBox box);
    // A click on a list item: ignored (false) while its list is disabled or the index is out
    // of range; runs no rule.
    bool userToggledItem(SelectionList list, int index);
    // Appends a nuclide to the chosen list only when its data file exists (a double click
    // in the grid); false when it does not, and the window says kNuclideNotAvailableMessage.
    bool chooseAvailable(const std::string& name, const std::string& halfLife);
    // Removes entry `index` of both lists; an index out of range is ignored.
    void removeChosen(int index);

    // Loads an options file step by step, exactly as the window does (see loadOptionsFile):
    // it stops at the first nuclide without a data file, and throws IoError as the loader.
    OptionsLoad loadOptions(const std::string& path, OptionsLoadTrace* trace = nullptr);

    // --- Commands shared with the options loader (ControlsSink) ---------------------------
    // Empties the chosen list and its twin.
    void clearChosen() override;
    // Appends a nuclide without looking for its data file (Enter in the grid or the finder).
    void appendChosen(const std::string& name, const std::string& halfLife) override;
    // Sets a box as code does: enabled or not, its rule runs on a real change only.
    void setBox(SelectionBox box, bool checked) override;
    // Sets an item as code does (enabled or not); runs no rule; an index out of range is
    // ignored.
    void setItem(SelectionList list, int index, bool checked) override;
    // Whether the nuclide's data file is in the data directory (exact name, else any case).
    bool dataFileExists(std::string_view nuclideName) override;

  private:
    struct Box {
        bool checked = false;
        bool enabled = true;
    };
    struct List {
        bool enabled = true;
        std::vector<bool> items;
    };

    Box& box(SelectionBox which) { return boxes_[static_cast<std::size_t>(which)]; }
    const Box& box(SelectionBox which) const { return boxes_[static_cast<std::size_t>(which)]; }
    List& list(SelectionList which) { return lists_[static_cast<std::size_t>(which)]; }
    const List& list(SelectionList which) const { return lists_[static_cast<std::size_t>(which)]; }
    // The enabling rule a box runs on every real change of its checked state.
    void runRule(SelectionBox changed);
    void changed(SelectionChange change = {});

    std::array<Box, kSelectionBoxCount> boxes_{};
    std::array<List, kSelectionListCount> lists_{};
    std::vector<std::string> chosenNames_;
    std::vector<std::string> chosenHalfLives_;
    std::string dataDirectory_;
    ChangeListener listener_;
};

}  // namespace fetaldose
