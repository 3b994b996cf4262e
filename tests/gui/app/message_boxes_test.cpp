// The real message and error boxes: caption, one line of text, a single OK button.

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/app/messages.h"

using namespace fetaldose::gui;

namespace {

struct SeenBox {
    QString caption;
    QString text;
    bool wraps = true;
    int lineHeights = 0;  // height of the text in lines
    QStringList buttons;
};

// Shows the box through `show`, reads it while it is open, and closes it with OK.
SeenBox showAndRead(const std::function<void()>& show) {
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        seen.caption = box->windowTitle();
        if (auto* line = box->findChild<QLabel*>(QStringLiteral("MessageText"))) {
            seen.text = line->text();
            seen.wraps = line->wordWrap();
            seen.lineHeights = line->height() / line->fontMetrics().height();
        }
        QPushButton* ok = nullptr;
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            seen.buttons << button->text();
            ok = button;
        }
        if (ok) ok->click();
    });
    show();
    return seen;
}

}  // namespace

class MessageBoxesTest : public QObject {
    Q_OBJECT

  private slots:
    void messagesKeepTheirTextOnOneLine() {
        BoxMessages messages;
        const QString longText = QStringLiteral(
            "The program will now take a few moments to verify the data file attributes. Click "
            "OK to proceed.");
        const SeenBox seen = showAndRead([&] { messages.inform(longText); });
        QCOMPARE(seen.caption, QCoreApplication::applicationName());
        QCOMPARE(seen.text, longText);
        QVERIFY(!seen.wraps);
        QCOMPARE(seen.lineHeights, 1);
        QCOMPARE(seen.buttons.size(), 1);
    }

    void errorsGetTheirFullStop() {
        BoxMessages messages;
        QCOMPARE(showAndRead([&] { messages.error(QStringLiteral("Disk full")); }).text,
                 QStringLiteral("Disk full."));
        QCOMPARE(showAndRead([&] { messages.error(QStringLiteral("Range check error.")); }).text,
                 QStringLiteral("Range check error."));
    }
};

QTEST_MAIN(MessageBoxesTest)
#include "message_boxes_test.moc"
