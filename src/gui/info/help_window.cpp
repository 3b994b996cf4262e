#include "gui/info/help_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpContentItem>
#include <QHelpContentModel>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/app/window_placement.h"

namespace fetaldose::gui {

// Shows the pages of the book on show; its links and pictures are read from the book.
class HelpPageBrowser final : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;

    void setEngine(QHelpEngine* engine) { engine_ = engine; }

    QVariant loadResource(int type, const QUrl& name) override {
        if (name.scheme() == QLatin1String("qthelp")) {
            if (engine_ == nullptr) return {};
            return engine_->fileData(name);
        }
        return QTextBrowser::loadResource(type, name);
    }

  private:
    QHelpEngine* engine_ = nullptr;
};

namespace {

constexpr int kPreferredWidth = 780;
constexpr int kPreferredHeight = 580;
constexpr int kNarrowestBeside = 600;
constexpr int kLowestOver = 400;
constexpr int kGap = 8;

QWidget* pageWithLayout(QWidget* parent, QVBoxLayout*& layout) {
    auto* page = new QWidget(parent);
    layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    return page;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* owner) : QMainWindow(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Help"));

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    navigation_ = new QTabWidget(splitter);
    navigation_->setObjectName(QStringLiteral("HelpNavigation"));

    QVBoxLayout* contentsLayout = nullptr;
    contentsPage_ = pageWithLayout(navigation_, contentsLayout);
    navigation_->addTab(contentsPage_, tr("Contents"));

    QVBoxLayout* indexLayout = nullptr;
    indexPage_ = pageWithLayout(navigation_, indexLayout);
    auto* lookForLabel = new QLabel(tr("&Look for:"), indexPage_);
    lookFor_ = new QLineEdit(indexPage_);
    lookFor_->setObjectName(QStringLiteral("HelpIndexLookFor"));
    lookForLabel->setBuddy(lookFor_);
    indexLayout->addWidget(lookForLabel);
    indexLayout->addWidget(lookFor_);
    navigation_->addTab(indexPage_, tr("Index"));
    connect(lookFor_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (index_) index_->filterIndices(text);
    });
    connect(navigation_, &QTabWidget::currentChanged, this, [this] {
        if (navigation_->currentWidget() == indexPage_) lookFor_->setFocus();
    });
    connect(lookFor_, &QLineEdit::returnPressed, this, [this] {
        if (index_) index_->activateCurrentItem();
    });

    browser_ = new HelpPageBrowser(splitter);
    browser_->setObjectName(QStringLiteral("HelpPage"));
    browser_->setOpenExternalLinks(false);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, kPreferredWidth - 230});
    setCentralWidget(splitter);

    auto* tools = addToolBar(tr("Navigation"));
    tools->setMovable(false);
    QAction* back = tools->addAction(tr("&Back"), browser_, &QTextBrowser::backward);
    QAction* forward = tools->addAction(tr("&Forward"), browser_, &QTextBrowser::forward);
    tools->addAction(tr("&Start page"), browser_, &QTextBrowser::home);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    resize(kPreferredWidth, kPreferredHeight);
}

HelpWindow::~HelpWindow() {
    closeBook();
}

QTextBrowser* HelpWindow::browser() const {
    return browser_;
}

void HelpWindow::closeBook() {
    atContents_ = false;
    browser_->setEngine(nullptr);
    browser_->clear();
    browser_->clearHistory();
    // The engine does not own its widgets, but they use its models: they go first.
    delete contents_;
    delete index_;
    engine_.reset();
    lookFor_->clear();
    setWindowTitle(tr("Help"));
}

void HelpWindow::openBook(const QString& collectionPath) {
    closeBook();
    const QFileInfo file(collectionPath);
    bookFile_ = file.absoluteFilePath();

    if (!file.isFile()) {
        showProblem(
            tr("Help file not found"),
            tr("<p>The help file <b>%1</b> was not found in the folder <b>%2</b>.</p>"
               "<p>The help files are installed with the program, in the folder <b>help</b> "
               "beside it. Install the program again to restore them.</p>")
                .arg(file.fileName().toHtmlEscaped(), file.absolutePath().toHtmlEscaped()));
    } else {
        engine_ = std::make_unique<QHelpEngine>(bookFile_);
        engine_->setReadOnly(true);
        if (!engine_->setupData() || engine_->registeredDocumentations().isEmpty()) {
            const QString reason = engine_->error().isEmpty() ? tr("it holds no help book.")
                                                              : engine_->error().toHtmlEscaped();
            engine_.reset();
            showProblem(tr("Help file cannot be read"),
                        tr("<p>The help file <b>%1</b> could not be opened: %2</p>")
                            .arg(bookFile_.toHtmlEscaped(), reason));
        } else {
            browser_->setEngine(engine_.get());
            contents_ = engine_->contentWidget();
            contents_->setObjectName(QStringLiteral("HelpContents"));
            // Entries are shown whole; a pane too narrow for one scrolls sideways.
            contents_->setTextElideMode(Qt::ElideNone);
            contents_->header()->setStretchLastSection(false);
            contents_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
            contentsPage_->layout()->addWidget(contents_);
            index_ = engine_->indexWidget();
            index_->setObjectName(QStringLiteral("HelpIndex"));
            indexPage_->layout()->addWidget(index_);
            connect(contents_, &QHelpContentWidget::linkActivated, this, &HelpWindow::showPage);
            connect(index_, &QHelpIndexWidget::documentActivated, this,
                    [this](const QHelpLink& document, const QString&) { showPage(document.url); });
            connect(index_, &QHelpIndexWidget::documentsActivated, this,
                    [this](const QList<QHelpLink>& documents, const QString&) {
                        if (!documents.isEmpty()) showPage(documents.first().url);
                    });
            connect(engine_->contentModel(), &QHelpContentModel::contentsCreated, this,
                    &HelpWindow::contentsReady);
        }
    }

    navigation_->setCurrentWidget(contentsPage_);
    if (!placed_) placeBesideOwner();
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void HelpWindow::contentsReady() {
    if (!engine_ || !contents_) return;
    QHelpContentModel* model = engine_->contentModel();
    const QModelIndex first = model->index(0, 0);
    QHelpContentItem* item = model->contentItemAt(first);
    if (item == nullptr) {
        showProblem(tr("Help file has no contents"),
                    tr("<p>The help file <b>%1</b> has no table of contents.</p>")
                        .arg(bookFile_.toHtmlEscaped()));
        return;
    }
    contents_->expandToDepth(0);
    contents_->setCurrentIndex(first);
    setWindowTitle(tr("%1 - Help").arg(item->title()));
    // The book opens at its first page, once; later rebuilds of the contents keep the page.
    if (!atContents_) {
        atContents_ = true;
        browser_->setSource(item->url());
        browser_->clearHistory();
    }
}

void HelpWindow::showPage(const QUrl& url) {
    browser_->setSource(url);
}

void HelpWindow::showProblem(const QString& title, const QString& explanation) {
    setWindowTitle(tr("Help"));
    browser_->clearHistory();
    browser_->setHtml(QStringLiteral("<h2>%1</h2>%2").arg(title.toHtmlEscaped(), explanation));
}

void HelpWindow::placeBesideOwner() {
    placed_ = true;
    QWidget* owner = parentWidget();
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect free = screen->availableGeometry();
    const QSize preferred(kPreferredWidth, kPreferredHeight);
    if (owner == nullptr || !owner->isVisible()) {
        const QSize size = preferred.boundedTo(free.size());
        resize(size);
        move(free.right() + 1 - size.width(), free.top());
        return;
    }
    // The owner's controls, and its command buttons, which the window never covers.
    QList<QRect> controls;
    QList<QRect> keepClear;
    for (QWidget* widget : owner->findChildren<QWidget*>()) {
        if (!widget->isVisible()) continue;
        const bool command = qobject_cast<QPushButton*>(widget) != nullptr;
        const bool control = command || qobject_cast<QAbstractButton*>(widget) != nullptr ||
                             qobject_cast<QAbstractItemView*>(widget) != nullptr ||
                             qobject_cast<QLineEdit*>(widget) != nullptr;
        if (!control) continue;
        const QRect onScreen(widget->mapToGlobal(QPoint(0, 0)), widget->size());
        controls << onScreen;
        if (command) keepClear << onScreen;
    }
    // The owner's frame stands in for this window's until the window manager has framed it.
    const QMargins frame = frameMargins(*owner);
    const QRect outer = helpWindowFrame(free, owner->frameGeometry(), controls, keepClear,
                                        preferred.grownBy(frame));
    resize(outer.size().shrunkBy(frame));
    move(outer.topLeft());
}

QRect helpWindowFrame(const QRect& available, const QRect& owner, const QList<QRect>& controls,
                      const QList<QRect>& keepClear, const QSize& preferred) {
    const QSize largest = preferred.boundedTo(available.size());
    const int narrowest = std::min(kNarrowestBeside, largest.width());
    const int lowest = std::min(kLowestOver, largest.height());
    const int top =
        std::clamp(owner.top(), available.top(),
                   std::max(available.top(), available.bottom() + 1 - largest.height()));
    const int left =
        std::clamp(owner.left(), available.left(),
                   std::max(available.left(), available.right() + 1 - largest.width()));

    // Beside the owner, on the side with more room, where one side has room enough.
    const int roomRight = available.right() - owner.right() - kGap;
    const int roomLeft = owner.left() - available.left() - kGap;
    if (std::max(roomRight, roomLeft) >= narrowest) {
        const bool toTheRight = roomRight >= roomLeft;
        const int width = std::min(largest.width(), toTheRight ? roomRight : roomLeft);
        const int x = toTheRight ? owner.right() + 1 + kGap : owner.left() - kGap - width;
        return {x, top, width, largest.height()};
    }

    // Over the owner, at a screen edge, as narrow (or low) as the room beside it allows: the
    // side that covers the fewest controls and none of the command buttons.
    const int leftWidth = std::clamp(roomLeft, narrowest, largest.width());
    const int rightWidth = std::clamp(roomRight, narrowest, largest.width());
    const int aboveHeight =
        std::clamp(owner.top() - available.top() - kGap, lowest, largest.height());
    const int belowHeight =
        std::clamp(available.bottom() - owner.bottom() - kGap, lowest, largest.height());
    const QRect sides[] = {
        {available.left(), top, leftWidth, largest.height()},
        {available.right() + 1 - rightWidth, top, rightWidth, largest.height()},
        {left, available.top(), largest.width(), aboveHeight},
        {left, available.bottom() + 1 - belowHeight, largest.width(), belowHeight},
    };
    auto covered = [](const QRect& side, const QList<QRect>& rects) {
        return static_cast<int>(std::count_if(rects.begin(), rects.end(),
                                              [&](const QRect& r) { return side.intersects(r); }));
    };
    const QRect* best = nullptr;
    int fewest = 0;
    for (const QRect& side : sides) {
        if (covered(side, keepClear) > 0) continue;
        const int count = covered(side, controls);
        if (best == nullptr || count < fewest) {
            best = &side;
            fewest = count;
        }
    }
    return best != nullptr ? *best : sides[0];
}

}  // namespace fetaldose::gui
