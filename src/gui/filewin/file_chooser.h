#pragma once
// The three modal windows in which the user names a file to save or load: "Save results to
// file" (SaveResultsWindow), "Save options to a file" (SaveOptionsWindow) and "Load options from a
// file" (LoadOptionsWindow). They share one make-up: a drive list driving a directory tree driving
// a file list filtered by the window's mask, which writes into the file-name box; and an "Exit" and
// an action button. The action button hands the path named in the box to the results file writer or
// the options file saver or loader.

#include <QDialog>
#include <QRect>
#include <QString>
#include <string>
#include <vector>

#include "gui/filewin/volumes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fetaldose::gui {

class WindowSet;
class DirectoryTreeList;

// How one chooser window differs from the others: texts, control names and the places of
// the controls that move.
struct ChooserMakeup {
    enum class TabOrder {
        DrivesFirstActionBeforeExit,  // drives, tree, files, name box, action, Exit
        DrivesFirstExitBeforeAction,  // drives, tree, files, name box, Exit, action
        NameBoxFirst,                 // name box, drives, tree, files, Exit, action
    };

    const char* caption;
    const char* mask;
    const char* actionCaption;
    const char* driveListName;
    const char* directoryTreeName;
    const char* fileListName;
    const char* fileNameBoxName;
    const char* actionButtonName;
    const char* exitButtonName;
    QRect fileListPlace;
    QRect exitButtonPlace;
    QRect actionButtonPlace;
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

  protected:
    FileChooserWindow(WindowSet& windows, const ChooserMakeup& makeup, QWidget* parent);

    // Runs the window's action on the chosen path. Returns true when it completed (the window
    // then closes), false when it reported a failure of its own; a fault it throws is shown in
    // the error box. Either way the window stays open after a failure.
    virtual bool runAction(const std::string& path) = 0;

    // The action button: the typed name is checked, joined to the directory shown and handed
    // to RunAction.
    void pressAction();

    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    WindowSet& windows_;

  private:
    void buildControls(const ChooserMakeup& makeup);
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

    QString mask_;
    QString directory_;
    bool listRead_ = false;
    bool focusPlaced_ = false;
    std::vector<Volume> volumes_;

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

// "Save results to file", opened from the results viewer: writes every table of the last run.
class SaveResultsWindow : public FileChooserWindow {
    Q_OBJECT
  public:
    explicit SaveResultsWindow(WindowSet& windows, QWidget* parent = nullptr);

  public slots:
    void act();
    void exitWindow();

  protected:
    bool runAction(const std::string& path) override;
};

// "Save options to a file": writes the selection window's state.
class SaveOptionsWindow : public FileChooserWindow {
    Q_OBJECT
  public:
    explicit SaveOptionsWindow(WindowSet& windows, QWidget* parent = nullptr);

  public slots:
    void act();
    void exitWindow();

  protected:
    bool runAction(const std::string& path) override;
};

// "Load options from a file": sets the selection window's controls from a saved file.
class LoadOptionsWindow : public FileChooserWindow {
    Q_OBJECT
  public:
    explicit LoadOptionsWindow(WindowSet& windows, QWidget* parent = nullptr);

  public slots:
    void act();
    void exitWindow();

  protected:
    bool runAction(const std::string& path) override;
};

}  // namespace fetaldose::gui
