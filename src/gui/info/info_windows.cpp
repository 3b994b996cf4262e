#include "gui/info/info_windows.h"

#include <QFont>
#include <QFrame>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStringList>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>
#include <span>
#include <string_view>

#include "gui/app/handler_guard.h"
#include "gui/app/window_set.h"
#include "gui/info/info_texts.h"
#include "gui/results/window_printer.h"

namespace fetaldose::gui {

namespace {

QString textOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The fixed lines of a text box, one QString line each.
QString joinLines(std::span<const std::string_view> lines) {
    QStringList joined;
    for (const std::string_view line : lines) joined << textOf(line);
    return joined.join(QLatin1Char('\n'));
}

enum class BoxLook {
    White,           // white, with a vertical scroll bar
    GreyBorderless,  // on the window's grey, no frame
    Grey,            // on the window's grey, framed
};

// A multi-line text box whose text the user can select and copy but not change.
QPlainTextEdit* textBox(QWidget* parent, const QString& objectName,
                        std::span<const std::string_view> lines, BoxLook look) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(objectName);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = box->palette();
    if (look == BoxLook::White) {
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        palette.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        if (look == BoxLook::GreyBorderless) box->setFrameShape(QFrame::NoFrame);
    }
    box->setPalette(palette);
    box->setPlainText(joinLines(lines));
    return box;
}

// A window whose only content is one text box filling it.
void fillWithTextBox(QWidget* window, const QString& objectName,
                     std::span<const std::string_view> lines, BoxLook look) {
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(textBox(window, objectName, lines, look));
}

QFont infoFont() {
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}

}  // namespace

InfoWindow::InfoWindow(const QRect& designedFrame, TitleButtons buttons, QWidget* parent)
    : QDialog(parent), designedFrame_(designedFrame) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (buttons == TitleButtons::CloseOnly) {
        flags |= Qt::Dialog;
    } else {
        flags |= Qt::Window | Qt::WindowMinMaxButtonsHint;
    }
    setWindowFlags(flags);
    setFont(infoFont());
    setSizeGripEnabled(false);
    // The frame is not known before the window is shown; showEvent corrects the client size.
    resize(designedFrame_.size());
    move(designedFrame_.topLeft());
}

void InfoWindow::openModally() {
    exec();
}

void InfoWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_) return;
    placed_ = true;
    frameKnown_ = placeInDesignedFrame();
}

bool InfoWindow::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // Until the first showing has its frame, each move or resize the window manager makes
    // while framing the window may be the one that tells it.
    if (placed_ && !frameKnown_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
         event->type() == QEvent::Expose))
        frameKnown_ = placeInDesignedFrame();
    return handled;
}

bool InfoWindow::placeInDesignedFrame() {
    // The designed size is the outer size: take the frame the platform gives off the client.
    const QSize frame = frameGeometry().size() - geometry().size();
    const bool known = !frame.isEmpty();
    if (known) frameKnown_ = true;  // before resizing, which comes back here
    resize(designedFrame_.size() - frame);
    move(designedFrame_.topLeft());
    return known;
}

InstructionsWindow::InstructionsWindow(WindowSet& windows, QWidget* parent)
    : InfoWindow(QRect(276, 228, 570, 455), TitleButtons::CloseOnly, parent), windows_(windows) {
    setWindowTitle(textOf(info_texts::kInstructionsCaption));
    text_ = textBox(this, QStringLiteral("InstructionsText"), info_texts::kInstructions,
                    BoxLook::White);
    print_ = new QPushButton(textOf(info_texts::kPrintButton), this);
    print_->setObjectName(QStringLiteral("Button1"));
    print_->setAutoDefault(false);
    print_->setGeometry(189, 312, 60, 20);
    connect(print_, &QPushButton::clicked, this, &InstructionsWindow::print);
    text_->setGeometry(0, 0, width(), 300);
}

void InstructionsWindow::print() {
    runGuarded(windows_.messages(),
               [this] { printWindow(*this, PrintScale::Proportional, windows_.printers()); });
}

void InstructionsWindow::resizeEvent(QResizeEvent* event) {
    InfoWindow::resizeEvent(event);
    text_->setGeometry(0, 0, width(), 300);
}

LicenceWindow::LicenceWindow(WindowSet&, QWidget* parent)
    : InfoWindow(QRect(310, 156, 500, 541), TitleButtons::CloseOnly, parent) {
    setWindowTitle(textOf(info_texts::kLicenceCaption));
    fillWithTextBox(this, QStringLiteral("LicenceText"), info_texts::kLicence, BoxLook::White);
}

ContactInformationWindow::ContactInformationWindow(WindowSet&, QWidget* parent)
    : InfoWindow(QRect(354, 283, 243, 200), TitleButtons::CloseOnly, parent) {
    setWindowTitle(textOf(info_texts::kContactCaption));
    fillWithTextBox(this, QStringLiteral("ContactText"), info_texts::kContact,
                    BoxLook::GreyBorderless);
}

AboutWindow::AboutWindow(WindowSet&, QWidget* parent)
    : InfoWindow(QRect(412, 177, 381, 348), TitleButtons::CloseOnly, parent) {
    setWindowTitle(textOf(info_texts::kAboutCaption));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* taskGroup =
        textBox(this, QStringLiteral("AboutText"), info_texts::kAbout, BoxLook::GreyBorderless);
    taskGroup->setFixedHeight(222);
    layout->addWidget(taskGroup);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("AboutPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(2, 2, 2, 2);
    auto* rights = textBox(panel, QStringLiteral("RightsText"), info_texts::kAboutRights,
                           BoxLook::GreyBorderless);
    QTextOption centred = rights->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    rights->document()->setDefaultTextOption(centred);
    panelLayout->addWidget(rights);
    layout->addWidget(panel, 1);
}

PdfNoteWindow::PdfNoteWindow(WindowSet&, QWidget* parent)
    : InfoWindow(QRect(323, 209, 275, 111), TitleButtons::CloseOnly, parent) {
    setWindowTitle(textOf(info_texts::kPdfCaption));
    fillWithTextBox(this, QStringLiteral("PdfText"), info_texts::kPdfNote, BoxLook::Grey);
}

ReferenceCdWindow::ReferenceCdWindow(WindowSet&, QWidget* parent)
    : InfoWindow(QRect(296, 204, 347, 136), TitleButtons::CloseMinimiseMaximise, parent) {
    setWindowTitle(textOf(info_texts::kReferenceCdCaption));
    fillWithTextBox(this, QStringLiteral("ReferenceText"), info_texts::kReferenceCd, BoxLook::Grey);
}

ReferencePublicationWindow::ReferencePublicationWindow(WindowSet&, QWidget* parent)
    : InfoWindow(QRect(297, 351, 347, 128), TitleButtons::CloseMinimiseMaximise, parent) {
    setWindowTitle(textOf(info_texts::kReferencePublicationCaption));
    fillWithTextBox(this, QStringLiteral("ReferenceText"), info_texts::kReferencePublication,
                    BoxLook::Grey);
}

}  // namespace fetaldose::gui
