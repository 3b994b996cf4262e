#pragma once
// The help window: one help book (a Qt Help collection file) with its contents and index
// beside a page browser. It belongs to the main window, opens beside it and never blocks it.
// Opening another book replaces the one on show.

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QString>
#include <memory>

class QHelpEngine;
class QHelpContentWidget;
class QHelpIndexWidget;
class QLineEdit;
class QTabWidget;
class QTextBrowser;
class QUrl;

namespace fetaldose::gui {

class HelpPageBrowser;

// The outer rectangle of the help window (at most `preferred`) beside the owner's frame
// `owner` where the screen's available area has room for it; otherwise over the owner at a
// screen edge, on the side that covers the fewest of `controls` and none of `keepClear`.
QRect helpWindowFrame(const QRect& available, const QRect& owner, const QList<QRect>& controls,
                      const QList<QRect>& keepClear, const QSize& preferred);

class HelpWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* owner);
    ~HelpWindow() override;

    // Opens the collection file at its contents. A relative path is taken from the working
    // directory as it is now. A file that cannot be opened is reported in this window.
    void openBook(const QString& collectionPath);

    // The absolute path of the last book asked for, whether it opened or not.
    QString bookFile() const { return bookFile_; }
    // The engine of the book on show, or nullptr when the last book could not be opened.
    QHelpEngine* engine() const { return engine_.get(); }
    QTextBrowser* browser() const;
    QTabWidget* navigation() const { return navigation_; }

  private:
    void closeBook();
    void showProblem(const QString& title, const QString& explanation);
    void contentsReady();
    void showPage(const QUrl& url);
    void placeBesideOwner();

    QString bookFile_;
    std::unique_ptr<QHelpEngine> engine_;
    QPointer<QHelpContentWidget> contents_;
    QPointer<QHelpIndexWidget> index_;
    QTabWidget* navigation_;
    QWidget* contentsPage_;
    QWidget* indexPage_;
    QLineEdit* lookFor_;
    HelpPageBrowser* browser_;
    bool placed_ = false;
    bool atContents_ = false;  // the book on show has been opened at its first page
};

}  // namespace fetaldose::gui
