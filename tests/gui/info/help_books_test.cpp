// The help books: the menu commands open the right collection in the help window beside the
// program, without blocking it, from the folder "help" beside the executable whatever the
// working directory is (the file windows move it).

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHelpContentItem>
#include <QHelpContentModel>
#include <QHelpEngine>
#include <QHelpIndexModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <QHeaderView>
#include <QTreeView>
#include "app/window_set.h"
#include "gui/info/help_books.h"
#include "gui/info/help_window.h"
#include "gui/selection/selection_window.h"
#include "recording_messages.h"

using namespace fetaldose::gui;

namespace {

// Runs the help command and tells whether it returned without running an event loop of its
// own (a modal or waiting command would spin one, and the zero timer would fire inside it).
bool opensWithoutBlocking(WindowSet& windows, HelpBook book) {
    bool ranInside = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        ranInside = true;
        if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    });
    watchdog.start(0);
    openHelpBook(windows.selection(), book);
    watchdog.stop();
    return !ranInside;
}

QString topTitle(QHelpEngine* engine) {
    QHelpContentModel* model = engine->contentModel();
    QHelpContentItem* item = model->contentItemAt(model->index(0, 0));
    return item != nullptr ? item->title() : QString();
}

// No box of any kind (ours or the toolkit's) was left open over the program.
bool noMessageBoxShown() {
    return QApplication::activeModalWidget() == nullptr;
}

}  // namespace

class HelpBooksTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(root_.isValid());
        start_ = root_.filePath(QStringLiteral("start"));
        elsewhere_ = root_.filePath(QStringLiteral("elsewhere"));
        QVERIFY(QDir().mkpath(start_));
        // The working directory of the commands holds a broken book of the same name.
        QVERIFY(QDir().mkpath(elsewhere_ + QStringLiteral("/help")));
        QFile broken(elsewhere_ + QStringLiteral("/help/p47.qhc"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("this is not a help collection");
        broken.close();
        books_ = QCoreApplication::applicationDirPath() + QStringLiteral("/help/");
        QVERIFY(QDir::setCurrent(start_));
        Platform platform;
        platform.messages = &messages_;
        windows_ = std::make_unique<WindowSet>(platform);
        windows_->create();
        windows_->selection().show();
        messages_.clear();
    }

    void cleanupTestCase() { windows_.reset(); }

    // Every command comes after the working directory has moved to a folder with no books, as
    // a Save or Load window moves it.
    void init() { QVERIFY(QDir::setCurrent(elsewhere_)); }

    void generalInformationOpensAtItsContentsBesideTheProgram() {
        QVERIFY(opensWithoutBlocking(*windows_, HelpBook::GeneralInformation));
        HelpWindow& help = helpWindowOf(windows_->selection());
        QVERIFY(help.isVisible());
        QCOMPARE(help.windowModality(), Qt::NonModal);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QCOMPARE(help.parentWidget(), &windows_->selection());

        QVERIFY(help.engine() != nullptr);
        QCOMPARE(QFileInfo(help.engine()->collectionFile()).canonicalFilePath(),
                 QFileInfo(books_ + "generalhelp.qhc").canonicalFilePath());
        QTRY_COMPARE(topTitle(help.engine()), QStringLiteral("General information"));
        QCOMPARE(help.navigation()->currentIndex(), 0);
        QTRY_COMPARE(help.browser()->source(),
                     QUrl(QStringLiteral("qthelp://fetaldose.help.general/general/index.html")));
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("synthetic")));
        // The book's style sheet is read from the book: headings are drawn in its colour.
        const QTextCursor heading(help.browser()->document()->firstBlock());
        QTextCursor inHeading(heading);
        inHeading.movePosition(QTextCursor::NextCharacter);
        QCOMPARE(inHeading.charFormat().foreground().color(), QColor(QStringLiteral("#1f3f6f")));
        QCOMPARE(help.windowTitle(), QStringLiteral("General information - Help"));
        QVERIFY(messages_.all.isEmpty());
    }

    void indexTakesTheReaderToTheTerm() {
        openHelpBook(windows_->selection(), HelpBook::GeneralInformation);
        HelpWindow& help = helpWindowOf(windows_->selection());
        QTRY_VERIFY(help.engine()->indexModel()->rowCount() > 0);
        auto* lookFor = help.findChild<QLineEdit*>(QStringLiteral("HelpIndexLookFor"));
        QVERIFY(lookFor != nullptr);
        help.navigation()->setCurrentIndex(1);
        lookFor->setText(QStringLiteral("AMAD"));
        QTest::keyClick(lookFor, Qt::Key_Return);
        QTRY_COMPARE(help.browser()->source().fileName(), QStringLiteral("terms.html"));
        QCOMPARE(help.browser()->source().fragment(), QStringLiteral("amad"));
        // A link inside a page stays inside the book.
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("Absorption types")));
    }

    // The contents pane shows every entry whole, the longest included.
    void contentsEntriesAreNotCut() {
        openHelpBook(windows_->selection(), HelpBook::Publication);
        HelpWindow& help = helpWindowOf(windows_->selection());
        QTRY_VERIFY(help.engine() != nullptr && !topTitle(help.engine()).isEmpty());
        auto* contents = help.findChild<QTreeView*>(QStringLiteral("HelpContents"));
        QVERIFY(contents != nullptr);
        contents->expandAll();
        QApplication::processEvents();
        const QFontMetrics metrics(contents->font());
        const int columnRight = contents->header()->sectionSize(0);
        int entries = 0;
        for (QModelIndex entry = contents->model()->index(0, 0); entry.isValid();
             entry = contents->indexBelow(entry), ++entries) {
            const QString title = entry.data().toString();
            const int textRight =
                contents->visualRect(entry).left() + metrics.horizontalAdvance(title);
            QVERIFY2(textRight <= columnRight, qPrintable(title));
        }
        QVERIFY(entries > 5);
    }

    void secondCommandReplacesTheFirstBook() {
        openHelpBook(windows_->selection(), HelpBook::GeneralInformation);
        HelpWindow* first = &helpWindowOf(windows_->selection());
        // At once, before the first book's contents are even built.
        QVERIFY(opensWithoutBlocking(*windows_, HelpBook::Publication));
        HelpWindow& help = helpWindowOf(windows_->selection());
        QCOMPARE(&help, first);
        QCOMPARE(windows_->selection().findChildren<HelpWindow*>().size(), 1);
        QCOMPARE(QFileInfo(help.engine()->collectionFile()).fileName(), QStringLiteral("p47.qhc"));
        QTRY_COMPARE(topTitle(help.engine()), QStringLiteral("VORQ 47"));
        QTRY_COMPARE(help.browser()->source(),
                     QUrl(QStringLiteral("qthelp://fetaldose.help.p47/p47/index.html")));
        QVERIFY(help.browser()->toPlainText().contains(QStringLiteral("dose coefficients")));
        QCOMPARE(help.windowTitle(), QStringLiteral("VORQ 47 - Help"));
        QCOMPARE(help.engine()->registeredDocumentations(),
                 QStringList{QStringLiteral("fetaldose.help.p47")});
    }

    void booksInTheWorkingDirectoryPlayNoPart() {
        openHelpBook(windows_->selection(), HelpBook::Publication);
        HelpWindow& help = helpWindowOf(windows_->selection());
        QVERIFY(help.engine() != nullptr);
        QCOMPARE(QFileInfo(help.bookFile()).canonicalFilePath(),
                 QFileInfo(books_ + "p47.qhc").canonicalFilePath());
        QTRY_COMPARE(topTitle(help.engine()), QStringLiteral("VORQ 47"));
    }

    void missingOrUnreadableBookIsReportedInTheHelpWindowOnly() {
        HelpWindow& help = helpWindowOf(windows_->selection());
        const QString missing = start_ + QStringLiteral("/help/generalhelp.qhc");
        help.openBook(missing);
        QVERIFY(help.engine() == nullptr);
        QCOMPARE(help.bookFile(), missing);
        QString shown = help.browser()->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("Help file not found")), qPrintable(shown));
        QVERIFY(shown.contains(QStringLiteral("generalhelp.qhc")));
        QVERIFY(shown.contains(start_ + QStringLiteral("/help")));
        QVERIFY(!QFileInfo::exists(missing));  // nothing created

        help.openBook(elsewhere_ + QStringLiteral("/help/p47.qhc"));
        QVERIFY(help.engine() == nullptr);
        shown = help.browser()->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("could not be opened")), qPrintable(shown));
        QVERIFY(messages_.all.isEmpty());
        QVERIFY(noMessageBoxShown());

        // The menu command finds its book again.
        openHelpBook(windows_->selection(), HelpBook::GeneralInformation);
        QVERIFY(help.engine() != nullptr);
        QTRY_COMPARE(topTitle(help.engine()), QStringLiteral("General information"));
    }

  private:
    QTemporaryDir root_;
    QString start_;
    QString elsewhere_;
    QString books_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;
};

QTEST_MAIN(HelpBooksTest)
#include "help_books_test.moc"
