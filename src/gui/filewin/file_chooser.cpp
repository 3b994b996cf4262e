#include "gui/filewin/file_chooser.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "core/refdata/data_directory.h"
#include "core/textio/faults.h"
#include "core/textio/text_writer.h"
#include "gui/app/busy_cursor.h"
#include "gui/app/handler_guard.h"
#include "gui/app/look.h"
#include "gui/app/messages.h"
#include "gui/filewin/chooser_glyphs.h"
#include "gui/filewin/chooser_texts.h"
#include "gui/filewin/directory_tree_list.h"
#include "gui/filewin/folder_listing.h"
#include "ui_load_options_chooser.h"
#include "ui_save_options_chooser.h"
#include "ui_save_results_chooser.h"

namespace fetaldose::gui {

namespace {

namespace texts = chooser_texts;

// The client area inside the windows' outer size of 318 x 309 (a sizeable frame of 4 pixels
// and a title bar of 19).
constexpr int kClientWidth = 310;
constexpr int kClientHeight = 282;
constexpr int kTextPixelSize = 11;  // 8 points at 96 dots per inch
constexpr int kTreeIndent = 8;
constexpr int kGlyphSize = 16;  // pixels per level of the directory tree
// A list longer than this shows the busy pointer while it is filled.
constexpr int kBusyListLength = 100;

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

QString textOf(const char* text) {
    return QString::fromUtf8(text);
}

// Places a label; where the face draws its text wider than the place, the label grows to the
// left, so that its text is whole and still ends before the control it names.
void placeLabel(QLabel* label, const QRect& place) {
    QRect rect = place;
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 1;
    if (needed > rect.width()) rect.setLeft(std::max(1, rect.right() + 1 - needed));
    label->setGeometry(rect);
}

// Draws each entry of the directory tree one step further in per level.
class IndentDelegate final : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented(option);
        indented.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QSize natural = QStyledItemDelegate::sizeHint(option, index);
        // Rows as close as a glyph and a line of text allow, so that more of the tree shows.
        const int height = std::max(kGlyphSize, option.fontMetrics.height()) + 1;
        return {natural.width() + indent(index), height};
    }

  private:
    static int indent(const QModelIndex& index) {
        return index.data(kDepthRole).toInt() * kTreeIndent;
    }
};

}  // namespace

FileChooserWindow::FileChooserWindow(const ChooserMakeup& makeup, Action action, Messages& messages,
                                     VolumeProvider& volumes, const QString& startDirectory,
                                     QWidget* parent)
    : QDialog(parent),
      action_(std::move(action)),
      messages_(messages),
      volumes_(volumes),
      mask_(textOf(makeup.mask)) {
    // A title bar with a close box only.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    resize(kClientWidth, kClientHeight);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    QFont font = sansSerifFace(
        {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setPixelSize(kTextPixelSize);
    setFont(font);

    buildControls(makeup);
    arrangeTabOrder(makeup.tabOrder);

    // Every window starts in the directory the program started in.
    directory_ = startDirectory;
    refreshDriveList();
    const int volume = volumeIndexFor(volumeList_, directory_);
    if (volume >= 0 && volumes_.lastDirectoryOn(volumeList_[volume].rootPath).isEmpty())
        volumes_.rememberDirectory(volumeList_[volume].rootPath, directory_);
}

void FileChooserWindow::buildControls(const ChooserMakeup& makeup) {
    const ChooserControls controls = makeup.setUpForm(this);
    // The form file names every widget; the window and its two labels carry no object name.
    setObjectName(QString());
    saveInLabel_ = controls.saveInLabel;
    driveList_ = controls.driveList;
    directoryTree_ = controls.directoryTree;
    fileNameLabel_ = controls.fileNameLabel;
    fileNameBox_ = controls.fileNameBox;
    fileList_ = controls.fileList;
    exitButton_ = controls.exitButton;
    actionButton_ = controls.actionButton;

    // Labels as wide as their text in the face in use.
    for (QLabel* label : {saveInLabel_, fileNameLabel_}) {
        label->setObjectName(QString());
        placeLabel(label, label->geometry());
    }

    connect(driveList_, &QComboBox::activated, this, &FileChooserWindow::driveChosen);
    directoryTree_->setItemDelegate(new IndentDelegate(directoryTree_));
    directoryTree_->entered = [this](int row) { treeEntryEntered(row); };
    connect(fileList_, &QListWidget::itemSelectionChanged, this,
            &FileChooserWindow::fileSelectionChanged);
    // A click on the entry already selected puts its name back over whatever was typed.
    connect(fileList_, &QListWidget::itemClicked, this, &FileChooserWindow::fileSelectionChanged);

    QFont bold = font();
    bold.setBold(true);
    connect(actionButton_, &QPushButton::clicked, this, &FileChooserWindow::pressAction);
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::reject);
    // Neither button is pressed by Enter.
    for (QPushButton* button : {exitButton_, actionButton_}) {
        button->setFont(bold);
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

void FileChooserWindow::arrangeTabOrder(ChooserMakeup::TabOrder order) {
    std::vector<QWidget*> chain;
    switch (order) {
        case ChooserMakeup::TabOrder::DrivesFirstActionBeforeExit:
            chain = {driveList_,   directoryTree_, fileList_,
                     fileNameBox_, actionButton_,  exitButton_};
            break;
        case ChooserMakeup::TabOrder::DrivesFirstExitBeforeAction:
            chain = {driveList_,   directoryTree_, fileList_,
                     fileNameBox_, exitButton_,    actionButton_};
            break;
        case ChooserMakeup::TabOrder::NameBoxFirst:
            chain = {fileNameBox_, driveList_,  directoryTree_,
                     fileList_,    exitButton_, actionButton_};
            break;
    }
    for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
    firstControl_ = chain.front();
}

QString FileChooserWindow::mask() const {
    return mask_;
}

template <class Body>
bool FileChooserWindow::guarded(Body&& body) {
    bool completed = false;
    runGuarded(messages_, [&] {
        body();
        completed = true;
    });
    return completed;
}

void FileChooserWindow::openModally() {
    refreshDriveList();
    if (!listRead_) guarded([this] { moveTo(directory_); });
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    exec();
}

void FileChooserWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    selectMaskOnActivation_ = true;
    // The first time the window opens, the focus is on the first control of its tab order.
    if (!focusPlaced_) {
        focusPlaced_ = true;
        firstControl_->setFocus(Qt::OtherFocusReason);
    }
}

bool FileChooserWindow::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // Activating the window settles its focus, which takes the selection out of the name box:
    // the mask is selected again then, ready to be typed over, on every opening.
    if (event->type() == QEvent::WindowActivate && selectMaskOnActivation_) {
        selectMaskOnActivation_ = false;
        QTimer::singleShot(0, this, [this] {
            if (fileNameBox_->text() == mask_) fileNameBox_->selectAll();
        });
    }
    return handled;
}

void FileChooserWindow::keyPressEvent(QKeyEvent* event) {
    // Esc does not close the window: neither button is its cancel button.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FileChooserWindow::moveTo(const QString& directory) {
    const QString target = QDir::cleanPath(QDir(directory_).absoluteFilePath(directory));
    enterDirectory(target);
    directory_ = target;
    rebuildTree();
    readFileList();
    selectDriveOfDirectory();
    const int volume = volumeIndexFor(volumeList_, directory_);
    if (volume >= 0) volumes_.rememberDirectory(volumeList_[volume].rootPath, directory_);
}

void FileChooserWindow::rebuildTree() {
    directoryTree_->clear();
    auto add = [this](const QString& text, const QString& path, int depth, FolderGlyph glyph) {
        auto* item = new QListWidgetItem(folderGlyphIcon(glyph), text, directoryTree_);
        item->setData(kPathRole, path);
        item->setData(kDepthRole, depth);
        return item;
    };
    const QStringList steps = directory_.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString path = QStringLiteral("/");
    QListWidgetItem* shown =
        add(path, path, 0, steps.isEmpty() ? FolderGlyph::Current : FolderGlyph::Open);
    for (qsizetype i = 0; i < steps.size(); ++i) {
        path = path == u"/" ? path + steps[i] : path + QLatin1Char('/') + steps[i];
        const bool last = i + 1 == steps.size();
        QListWidgetItem* item = add(steps[i], path, static_cast<int>(i + 1),
                                    last ? FolderGlyph::Current : FolderGlyph::Open);
        if (last) shown = item;
    }
    const int subDepth = static_cast<int>(steps.size()) + 1;
    const QDir here(directory_);
    for (const QString& name : listSubdirectories(directory_))
        add(name, here.filePath(name), subDepth, FolderGlyph::Closed);
    directoryTree_->setCurrentItem(shown);
    directoryTree_->scrollToItem(shown);
}

void FileChooserWindow::readFileList() {
    const QStringList names = listMatchingFiles(directory_, mask_);
    {
        const BusyCursor busy(names.size() > kBusyListLength);
        const QSignalBlocker quiet(fileList_);
        fileList_->clear();
        fileList_->addItems(names);
        fileList_->setCurrentItem(nullptr);
        fileList_->clearSelection();
    }
    fileNameBox_->setText(mask_);
    fileNameBox_->selectAll();
    listRead_ = true;
}

void FileChooserWindow::refreshDriveList() {
    volumeList_ = volumes_.mountedVolumes();
    const QSignalBlocker quiet(driveList_);
    driveList_->clear();
    for (const Volume& volume : volumeList_)
        driveList_->addItem(driveGlyph(volume.kind), volumeEntryText(volume));
    selectDriveOfDirectory();
}

void FileChooserWindow::selectDriveOfDirectory() {
    const QSignalBlocker quiet(driveList_);
    driveList_->setCurrentIndex(volumeIndexFor(volumeList_, directory_));
}

void FileChooserWindow::driveChosen(int index) {
    if (index < 0 || index >= static_cast<int>(volumeList_.size())) return;
    if (index != volumeIndexFor(volumeList_, directory_)) {
        const QString root = volumeList_[index].rootPath;
        const QString last = volumes_.lastDirectoryOn(root);
        // A directory last shown there that has gone since is reported, and the window
        // stays where it was, as for a volume that cannot be entered.
        guarded([&] { moveTo(last.isEmpty() ? root : last); });
    }
    selectDriveOfDirectory();
}

void FileChooserWindow::treeEntryEntered(int row) {
    QListWidgetItem* item = directoryTree_->item(row);
    if (!item) return;
    const QString target = item->data(kPathRole).toString();
    // Opening the entry of the directory shown moves nowhere and reads nothing.
    if (QDir::cleanPath(target) == directory_) return;
    if (!guarded([&] { moveTo(target); })) {
        // The tree keeps showing where it was, its entry selected again.
        for (int i = 0; i < directoryTree_->count(); ++i) {
            if (directoryTree_->item(i)->data(kPathRole).toString() == directory_) {
                directoryTree_->setCurrentRow(i);
                break;
            }
        }
    }
}

void FileChooserWindow::fileSelectionChanged() {
    const QList<QListWidgetItem*> selected = fileList_->selectedItems();
    if (selected.isEmpty()) return;
    fileNameBox_->setText(selected.front()->text());
    fileNameBox_->selectAll();
}

void FileChooserWindow::pressAction() {
    const QString typed = fileNameBox_->text();
    bool completed = false;
    guarded([&] {
        requireValidTypedFileName(typed.toLocal8Bit().toStdString());
        const QString path = QDir(directory_).filePath(typed);
        completed = action_(path.toLocal8Bit().toStdString());
    });
    if (completed) accept();
}

namespace {

// Each form's controls, taken from the form's own members: a form that lacks one of them does
// not compile. The two options forms name their controls alike.
template <class OptionsForm>
ChooserControls optionsFormControls(const OptionsForm& form) {
    return {.saveInLabel = form.SaveInLabel,
            .driveList = form.DriveComboBox1,
            .directoryTree = form.DirectoryListBox1,
            .fileNameLabel = form.FileNameLabel,
            .fileNameBox = form.Edit1,
            .fileList = form.FileListBox1,
            .exitButton = form.Button1,
            .actionButton = form.Button2};
}

ChooserControls formControls(const Ui::SaveOptionsChooser& form) {
    return optionsFormControls(form);
}

ChooserControls formControls(const Ui::LoadOptionsChooser& form) {
    return optionsFormControls(form);
}

ChooserControls formControls(const Ui::SaveResultsChooser& form) {
    return {.saveInLabel = form.SaveInLabel,
            .driveList = form.DriveCombo1,
            .directoryTree = form.DirList1,
            .fileNameLabel = form.FileNameLabel,
            .fileNameBox = form.FileEdit,
            .fileList = form.FileList1,
            .exitButton = form.BtnCancel,
            .actionButton = form.BtnSave};
}

template <class Form>
ChooserControls setUpForm(QDialog* window) {
    Form form;
    form.setupUi(window);
    return formControls(form);
}

}  // namespace

const ChooserMakeup kSaveResultsChooser{setUpForm<Ui::SaveResultsChooser>, texts::kResultsMask,
                                        ChooserMakeup::TabOrder::DrivesFirstActionBeforeExit};
const ChooserMakeup kSaveOptionsChooser{setUpForm<Ui::SaveOptionsChooser>, texts::kOptionsMask,
                                        ChooserMakeup::TabOrder::DrivesFirstExitBeforeAction};
const ChooserMakeup kLoadOptionsChooser{setUpForm<Ui::LoadOptionsChooser>, texts::kOptionsMask,
                                        ChooserMakeup::TabOrder::NameBoxFirst};

}  // namespace fetaldose::gui
