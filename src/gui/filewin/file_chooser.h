#pragma once
// The modal windows in which the user names a file to save or load: "Save results to file",
// "Save options to a file" and "Load options from a file". They share one make-up: a drive list
// driving a directory tree driving a file list filtered by the window's mask, which writes into
// the file-name box; and an "Exit" and an action button. The action button hands the path named
// in the box to the window's action. A window differs from the others only by its row of the
// table below and by its action.

#include <QDialog>
#include <QRect>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "gui/filewin/volumes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fetaldose::gui {

class Messages;
class DirectoryTreeList;

// The controls every chooser form holds, each taken from the form's own member.
struct ChooserControls {
    QLabel* saveInLabel = nullptr;  // "Save in:", before the drive list
    QComboBox* driveList = nullptr;
    DirectoryTreeList* directoryTree = nullptr;
    QLabel* fileNameLabel = nullptr;  // "File name:", before the name box
    QLineEdit* fileNameBox = nullptr;
    QListWidget* fileList = nullptr;
    QPushButton* exitButton = nullptr;
    QPushButton* actionButton = nullptr;
};

// How one chooser window differs from the others: its form (places, captions and control
// names, in a .ui file), the mask its file list is filtered by, and its tab order.
struct ChooserMakeup {
    enum class TabOrder {
        DrivesFirstActionBeforeExit,  // drives, tree, files, name box, action, Exit
        DrivesFirstExitBeforeAction,  // drives, tree, files, name box, Exit, action
        NameBoxFirst,                 // name box, drives, tree, files, Exit, action
    };

    // Builds the form's controls on the window and hands them over.
    ChooserControls (*setUpForm)(QDialog* window);
    const char* mask;
    TabOrder tabOrder;
};

class FileChooserWindow : public QDialog {
    Q_OBJECT
  public:
    // Shows the window modally; returns when it is closed. The first opening reads the
    // directory the program started in; later openings show what the window last showed.
    void openModally();

    // The directory the window shows; a name typed into the box is taken relative to it.
    const QString& directory() const { return directory_; }
    // The mask the file list is filtered by.
    QString mask() const;

    // The action on the chosen path. Returns true when it completed (the window then closes),
    // false when it reported a failure of its own; a fault it throws is shown in the error box.
    // Either way the window stays open after a failure.
    using Action = std::function<bool(const std::string& path)>;

    // The window first opens in `startDirectory`, the directory the program started in.
    FileChooserWindow(const ChooserMakeup& makeup, Action action, Messages& messages,
                      VolumeProvider& volumes, const QString& startDirectory,
                      QWidget* parent = nullptr);

  public slots:
    // The action button: the typed name is checked, joined to the directory shown and handed
    // to the action.
    void pressAction();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

  private:
    void buildControls(const ChooserMakeup& makeup);  // the form, then faces and handlers
    void arrangeTabOrder(ChooserMakeup::TabOrder order);

    // Runs `body` with faults shown in the error box; returns whether it completed.
    template <class Body>
    bool guarded(Body&& body);

    // Makes `directory` the one shown: enters it (the process's working directory follows),
    // rebuilds the tree, re-reads the file list and selects its drive. Throws IoError when it
    // cannot be entered, with everything left as it was.
    void moveTo(const QString& directory);
    void rebuildTree();
    void readFileList();
    void refreshDriveList();
    void selectDriveOfDirectory();

    void driveChosen(int index);
    void treeEntryEntered(int row);
    void fileSelectionChanged();

    Action action_;
    Messages& messages_;
    VolumeProvider& volumes_;
    QString mask_;
    QString directory_;
    bool listRead_ = false;
    bool focusPlaced_ = false;
    bool selectMaskOnActivation_ = false;
    std::vector<Volume> volumeList_;

    QLabel* saveInLabel_ = nullptr;
    QComboBox* driveList_ = nullptr;
    DirectoryTreeList* directoryTree_ = nullptr;
    QLabel* fileNameLabel_ = nullptr;
    QLineEdit* fileNameBox_ = nullptr;
    QListWidget* fileList_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QPushButton* actionButton_ = nullptr;
    QWidget* firstControl_ = nullptr;
};

// The rows of the three windows.
extern const ChooserMakeup kSaveResultsChooser;  // writes every table of the last run
extern const ChooserMakeup kSaveOptionsChooser;  // writes the selection window's state
extern const ChooserMakeup kLoadOptionsChooser;  // sets the selection window from a file

}  // namespace fetaldose::gui
