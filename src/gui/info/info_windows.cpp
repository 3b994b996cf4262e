#include "gui/info/info_windows.h"

#include <QFont>
#include <QFrame>
#include <QLayout>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStringList>
#include <QTextDocument>
#include <QTextOption>
#include <QVBoxLayout>
#include <span>
#include <string_view>

#include "gui/app/handler_guard.h"
#include "gui/app/look.h"
#include "gui/app/window_placement.h"
#include "gui/app/window_printer.h"
#include "gui/info/info_texts.h"
#include "ui_about_window.h"
#include "ui_instructions_window.h"
#include "ui_text_window.h"

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

// Makes a multi-line text box one whose text the user can select and copy but not change, and
// gives it its lines.
void configureTextBox(QPlainTextEdit* box, std::span<const std::string_view> lines, InfoLook look) {
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = box->palette();
    if (look == InfoLook::White) {
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        palette.setColor(QPalette::Base, box->parentWidget()->palette().color(QPalette::Window));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        if (look == InfoLook::GreyBorderless) box->setFrameShape(QFrame::NoFrame);
    }
    box->setPalette(palette);
    box->setPlainText(joinLines(lines));
}

QFont infoFont() {
    QFont font = sansSerifFace({QStringLiteral("Sans Serif")});
    font.setPixelSize(10);
    return font;
}

// Each form's controls, taken from the form's own members: a form that lacks one of them does
// not compile.
InfoControls formControls(const Ui::TextWindow& form) {
    return {.text = form.Text};
}

InfoControls formControls(const Ui::AboutWindow& form) {
    return {.text = form.AboutText, .rights = form.RightsText};
}

InfoControls formControls(const Ui::InstructionsWindow& form) {
    return {.text = form.InstructionsText, .printButton = form.Button1};
}

template <class Form>
InfoControls setUpForm(QDialog* window) {
    Form form;
    form.setupUi(window);
    return formControls(form);
}

}  // namespace

InfoWindow::InfoWindow(const InfoPage& page, QWidget* parent)
    : QDialog(parent), designedFrame_(page.designedFrame) {
    Qt::WindowFlags flags = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (page.minimiseMaximise) {
        flags |= Qt::Window | Qt::WindowMinMaxButtonsHint;
    } else {
        flags |= Qt::Dialog;
    }
    setWindowFlags(flags);
    setFont(infoFont());
    setSizeGripEnabled(false);
    // The designed rectangle is the outer one: the client area is what the frame leaves of it,
    // once the frame is known. A screen too small for it moves or shrinks it to fit.
    resize(designedFrame_.size());
    move(designedFrame_.topLeft());
    placeAtFirstShowing(*this, [this](const QMargins& frame) {
        const QSize client = designedFrame_.size().shrunkBy(frame);
        return PlacementWish{client, true, designedFrame_.topLeft()};
    });
    setWindowTitle(textOf(page.caption));

    controls_ = page.setUpForm(this);
    // The form file names every widget and layout; the window and its layouts carry none.
    setObjectName(QString());
    for (QLayout* layout : findChildren<QLayout*>()) layout->setObjectName(QString());
    // One form serves several pages: the text box takes the page's own object name.
    controls_.text->setObjectName(QString::fromLatin1(page.textName));
    if (page.look != InfoLook::AboutPanel) {
        configureTextBox(controls_.text, page.lines, page.look);
        return;
    }
    configureTextBox(controls_.text, page.lines, InfoLook::GreyBorderless);
    QPlainTextEdit* rights = controls_.rights;
    configureTextBox(rights, info_texts::kAboutRights, InfoLook::GreyBorderless);
    QTextOption centred = rights->document()->defaultTextOption();
    centred.setAlignment(Qt::AlignHCenter);
    rights->document()->setDefaultTextOption(centred);
}

void InfoWindow::openModally() {
    exec();
}

InstructionsWindow::InstructionsWindow(Messages& messages, PrinterProvider& printers,
                                       QWidget* parent)
    : InfoWindow(kInstructionsPage, parent), messages_(messages), printers_(printers) {
    textBox_ = controls().text;
    printButton_ = controls().printButton;
    connect(printButton_, &QPushButton::clicked, this, &InstructionsWindow::print);
    textBox_->setGeometry(0, 0, width(), 300);
}

void InstructionsWindow::print() {
    runGuarded(messages_, [this] { printWindow(*this, PrintScale::Proportional, printers_); });
}

void InstructionsWindow::resizeEvent(QResizeEvent* event) {
    InfoWindow::resizeEvent(event);
    textBox_->setGeometry(0, 0, width(), 300);
}

namespace texts = info_texts;

const InfoPage kInstructionsPage{texts::kInstructionsCaption,
                                 QRect(276, 228, 570, 455),
                                 false,
                                 setUpForm<Ui::InstructionsWindow>,
                                 "InstructionsText",
                                 texts::kInstructions,
                                 InfoLook::White};
const InfoPage kLicencePage{
    texts::kLicenceCaption, QRect(310, 156, 500, 541), false,          setUpForm<Ui::TextWindow>,
    "LicenceText",          texts::kLicence,           InfoLook::White};
const InfoPage kContactInformationPage{texts::kContactCaption,
                                       QRect(354, 283, 243, 200),
                                       false,
                                       setUpForm<Ui::TextWindow>,
                                       "ContactText",
                                       texts::kContact,
                                       InfoLook::GreyBorderless};
const InfoPage kAboutPage{
    texts::kAboutCaption, QRect(412, 177, 381, 348), false, setUpForm<Ui::AboutWindow>, "AboutText",
    texts::kAbout,        InfoLook::AboutPanel};
const InfoPage kPdfNotePage{
    texts::kPdfCaption, QRect(323, 209, 275, 111), false,         setUpForm<Ui::TextWindow>,
    "PdfText",          texts::kPdfNote,           InfoLook::Grey};
const InfoPage kReferenceCdPage{texts::kReferenceCdCaption,
                                QRect(296, 204, 347, 136),
                                true,
                                setUpForm<Ui::TextWindow>,
                                "ReferenceText",
                                texts::kReferenceCd,
                                InfoLook::Grey};
const InfoPage kReferencePublicationPage{texts::kReferencePublicationCaption,
                                         QRect(297, 351, 347, 128),
                                         true,
                                         setUpForm<Ui::TextWindow>,
                                         "ReferenceText",
                                         texts::kReferencePublication,
                                         InfoLook::Grey};

}  // namespace fetaldose::gui
