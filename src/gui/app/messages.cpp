#include "gui/app/messages.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>

#include "core/textio/faults.h"

namespace fetaldose::gui {

namespace {

// A modal box with one line of text, however long, and a single OK button, captioned with the
// application's name. (The toolkit's standard box wraps texts wider than half the screen.)
class MessageBox final : public QDialog {
  public:
    MessageBox(bool errorIcon, const QString& text, QWidget* parent) : QDialog(parent) {
        setWindowTitle(QCoreApplication::applicationName());
        setModal(true);
        auto* layout = new QGridLayout(this);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->setHorizontalSpacing(16);
        if (errorIcon) {
            auto* icon = new QLabel(this);
            const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
            icon->setPixmap(
                style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(size));
            layout->addWidget(icon, 0, 0, Qt::AlignTop);
        }
        auto* line = new QLabel(text, this);
        line->setObjectName(QStringLiteral("MessageText"));
        line->setTextFormat(Qt::PlainText);
        line->setWordWrap(false);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(line, 0, 1, Qt::AlignVCenter);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
        buttons->setCenterButtons(true);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        layout->addWidget(buttons, 1, 0, 1, 2);
        buttons->button(QDialogButtonBox::Ok)->setDefault(true);
        setAccessibleDescription(text);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QDialog::showEvent(event);
        // Screen readers announce the box as an alert, as they do a standard message box.
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
    }
};

void showBox(bool errorIcon, const QString& text) {
    MessageBox box(errorIcon, text, QApplication::activeWindow());
    box.exec();
}

}  // namespace

bool BoxMessages::confirm(const QString& question, const QString& proceed) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), question,
                    QMessageBox::Cancel, QApplication::activeWindow());
    QPushButton* yes = box.addButton(proceed, QMessageBox::DestructiveRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    return box.clickedButton() == yes;
}

void BoxMessages::inform(const QString& text) {
    showBox(false, text);
}

void BoxMessages::error(const QString& faultMessage) {
    showBox(true, QString::fromLocal8Bit(errorBoxText(faultMessage.toLocal8Bit().toStdString())));
}

}  // namespace fetaldose::gui
