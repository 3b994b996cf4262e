#include "gui/app/messages.h"

#include <QApplication>
#include <QMessageBox>

#include "core/textio/faults.h"

namespace fetaldose::gui {

namespace {

void ShowBox(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QCoreApplication::applicationName(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

}  // namespace

void BoxMessages::Inform(const QString& text) { ShowBox(QMessageBox::NoIcon, text); }

void BoxMessages::Error(const QString& faultMessage) {
    ShowBox(QMessageBox::Critical,
            QString::fromLocal8Bit(ErrorBoxText(faultMessage.toLocal8Bit().toStdString())));
}

}  // namespace fetaldose::gui
