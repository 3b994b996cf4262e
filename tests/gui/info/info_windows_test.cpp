// The seven information windows: captions, texts, places, title-bar buttons and modal showing.

#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/app/window_set.h"
#include "gui/info/info_windows.h"
#include "recording_messages.h"

using namespace fetaldose::gui;

namespace {

// Opens the window modally and runs `inside` on the modal window before closing it; returns
// whether the window really was the active modal window while open.
bool OpenAndRun(InfoWindow& window, const std::function<void(QWidget&)>& inside) {
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        wasModal = modal == &window;
        if (modal != nullptr) {
            inside(*modal);
            modal->close();
        }
    });
    window.Open();
    return wasModal;
}

QStringList Lines(const QPlainTextEdit* box) {
    return box->toPlainText().split(QLatin1Char('\n'));
}

}  // namespace

class InfoWindowsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QVERIFY(startDirectory_.isValid());
        QVERIFY(QDir::setCurrent(startDirectory_.path()));
        Platform platform;
        platform.messages = &messages_;
        windows_ = std::make_unique<WindowSet>(platform);
        windows_->Create();
    }

    void cleanupTestCase() { windows_.reset(); }

    void windowsAreCreatedHiddenWithTheirCaptions() {
        const QList<std::pair<QDialog*, QString>> expected = {
            {&windows_->instructions(), QStringLiteral("Instructions")},
            {&windows_->licence(), QStringLiteral("Licence")},
            {&windows_->contactInformation(), QStringLiteral("Contact Information")},
            {&windows_->about(), QStringLiteral("About")},
            {&windows_->pdfNote(), QStringLiteral(".pdf file")},
            {&windows_->referenceCd(), QStringLiteral("How to reference this CD")},
            {&windows_->referencePublication(), QStringLiteral("How to reference VORQ 47")},
        };
        for (const auto& [window, caption] : expected) {
            QCOMPARE(window->windowTitle(), caption);
            QVERIFY2(window->isHidden(), qPrintable(caption));
            QCOMPARE(window->font().pixelSize(), 10);
            QCOMPARE(window->font().styleHint(), QFont::SansSerif);
        }
    }

    void instructionsHoldTheirTwentyOneLinesExactly() {
        const QStringList expected = {
            "How to use this software",
            "",
            "1. Select a radionuclide either from the list or by typing in the required name in "
            "the 'select' ",
            "box.  Double-click on the radionuclide to add it, or select with the mouse and press "
            "enter.",
            "",
            "2. Choose the subject(s).  It can be a worker (occupational), a member of the public "
            "or both.",
            "",
            "3.  Select the intake route(s).",
            "",
            "4. If you have chosen inhalation select the appropriate aerosol size(s) (AMAD, "
            "microns).",
            "",
            "5. Choose which intake scenarios are required: all acute scenarios; all chronic "
            "scenarios; or ",
            "select from the lists.",
            "",
            "6. Choose which post-natal integration periods are required: all times; or select "
            "from the list.",
            "",
            "7. Choose which tissue doses are required: all tissues; or select from the list.",
            "",
            "8. Option files can be saved for future use.",
            "",
            "9. Results can be saved in ASCII form, or printed from the Dose Coefficients viewer.",
        };
        auto* box = windows_->instructions().findChild<QPlainTextEdit*>();
        QVERIFY(box != nullptr);
        const QStringList shown = Lines(box);
        QCOMPARE(shown.size(), 21);
        for (int i = 0; i < expected.size(); ++i) QCOMPARE(shown.at(i), expected.at(i));
    }

    void instructionsLayoutHasTheTextAcrossTheTopAndThePrintButton() {
        TInstructions& window = windows_->instructions();
        QRect box;
        QRect button;
        QString caption;
        QVERIFY(OpenAndRun(window, [&](QWidget& shown) {
            box = shown.findChild<QPlainTextEdit*>()->geometry();
            auto* print = shown.findChild<QPushButton*>(QStringLiteral("Button1"));
            button = print->geometry();
            caption = print->text();
        }));
        QCOMPARE(box.topLeft(), QPoint(0, 0));
        QCOMPARE(box.height(), 300);
        QCOMPARE(box.width(), window.width());
        QCOMPARE(button, QRect(189, 312, 60, 20));
        QCOMPARE(caption, QStringLiteral("Print"));
    }

    void textBoxesAreReadOnlySelectableAndColouredAsDesigned() {
        struct Box {
            QDialog* window;
            bool white;
        };
        const QList<Box> boxes = {
            {&windows_->instructions(), true},
            {&windows_->licence(), true},
            {&windows_->contactInformation(), false},
            {&windows_->about(), false},
            {&windows_->pdfNote(), false},
            {&windows_->referenceCd(), false},
            {&windows_->referencePublication(), false},
        };
        for (const Box& entry : boxes) {
            const auto texts = entry.window->findChildren<QPlainTextEdit*>();
            QVERIFY(!texts.isEmpty());
            for (QPlainTextEdit* text : texts) {
                const QString where = entry.window->windowTitle() + " " + text->objectName();
                QVERIFY2(text->isReadOnly(), qPrintable(where));
                QVERIFY2(text->textInteractionFlags() & Qt::TextSelectableByMouse,
                         qPrintable(where));
                QVERIFY2(!text->toPlainText().trimmed().isEmpty(), qPrintable(where));
                const bool white = text->palette().color(QPalette::Base) == QColor(Qt::white);
                QVERIFY2(white == entry.white, qPrintable(where));
                if (entry.white) {
                    QCOMPARE(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
                }
            }
        }
        // The About window: the task group above, the rights holder on a panel below.
        const auto aboutTexts = windows_->about().findChildren<QPlainTextEdit*>();
        QCOMPARE(aboutTexts.size(), 2);
        QCOMPARE(aboutTexts.at(0)->height(), 222);
        QCOMPARE(aboutTexts.at(0)->frameShape(), QFrame::NoFrame);
        QVERIFY(aboutTexts.at(1)->parentWidget() != &windows_->about());
        QVERIFY(aboutTexts.at(1)->toPlainText().contains(QStringLiteral("Copyright")));
        QCOMPARE(windows_->contactInformation().findChild<QPlainTextEdit*>()->frameShape(),
                 QFrame::NoFrame);
    }

    void textsAreOfTheirKind() {
        auto text = [](QDialog& window) {
            return window.findChild<QPlainTextEdit*>()->toPlainText();
        };
        const QStringList contact = text(windows_->contactInformation()).split('\n');
        QCOMPARE(contact.first(), QStringLiteral("Enquiries should be sent to:"));
        QCOMPARE(contact.at(1), QString());

        const QStringList pdf = text(windows_->pdfNote()).split('\n');
        QCOMPARE(pdf.size(), 3);
        QVERIFY(pdf.join(' ').contains(QStringLiteral(".pdf")));

        const QString licence = text(windows_->licence());
        QVERIFY(licence.contains(QStringLiteral("educational, research and not-for-profit")));
        const QStringList paragraphs = licence.split('\n', Qt::SkipEmptyParts);
        int inCapitals = 0;
        for (const QString& paragraph : paragraphs) {
            if (paragraph.size() > 100 && paragraph == paragraph.toUpper()) ++inCapitals;
        }
        QCOMPARE(inCapitals, 2);
        QVERIFY(licence.contains(QStringLiteral("synthetic")));
        QVERIFY(text(windows_->about()).contains(QStringLiteral("synthetic")));
        QVERIFY(text(windows_->referenceCd()).contains(QStringLiteral("ISBN")));
        QVERIFY(
            text(windows_->referencePublication()).contains(QStringLiteral("VORQ Publication 47")));
    }

    void windowsOpenModallyAtTheirPlaceWithTheirTitleButtons() {
        struct Design {
            InfoWindow* window;
            QRect frame;
            bool minimiseMaximise;
        };
        const QList<Design> designs = {
            {&windows_->instructions(), QRect(276, 228, 570, 455), false},
            {&windows_->licence(), QRect(310, 156, 500, 541), false},
            {&windows_->contactInformation(), QRect(354, 283, 243, 200), false},
            {&windows_->about(), QRect(412, 177, 381, 348), false},
            {&windows_->pdfNote(), QRect(323, 209, 275, 111), false},
            {&windows_->referenceCd(), QRect(296, 204, 347, 136), true},
            {&windows_->referencePublication(), QRect(297, 351, 347, 128), true},
        };
        for (const Design& design : designs) {
            const QString caption = design.window->windowTitle();
            QRect shownAt;
            QVERIFY2(OpenAndRun(*design.window,
                                [&](QWidget& shown) { shownAt = shown.frameGeometry(); }),
                     qPrintable(caption));
            QCOMPARE(shownAt, design.frame);
            QVERIFY(design.window->isHidden());
            const Qt::WindowFlags flags = design.window->windowFlags();
            QVERIFY2(flags.testFlag(Qt::WindowCloseButtonHint), qPrintable(caption));
            QCOMPARE(flags.testFlag(Qt::WindowMinimizeButtonHint), design.minimiseMaximise);
            QCOMPARE(flags.testFlag(Qt::WindowMaximizeButtonHint), design.minimiseMaximise);
        }
        QVERIFY(messages_.errors.isEmpty());
    }

    void windowKeepsThePlaceAndSizeItHadWhenClosed() {
        TLicence& window = windows_->licence();
        OpenAndRun(window, [](QWidget& shown) {
            shown.move(120, 80);
            shown.resize(420, 380);
        });
        const QRect closedAt = window.frameGeometry();
        QCOMPARE(window.size(), QSize(420, 380));

        QRect reopenedAt;
        QString firstLine;
        OpenAndRun(window, [&](QWidget& shown) {
            reopenedAt = shown.frameGeometry();
            firstLine = Lines(shown.findChild<QPlainTextEdit*>()).first();
        });
        QCOMPARE(reopenedAt, closedAt);
        QVERIFY(firstLine.contains(QStringLiteral("CD-ROM")));

        // The instructions text follows the window's width and stays 300 pixels high.
        TInstructions& instructions = windows_->instructions();
        QRect box;
        OpenAndRun(instructions, [&](QWidget& shown) {
            shown.resize(640, 500);
            QApplication::processEvents();
            box = shown.findChild<QPlainTextEdit*>()->geometry();
        });
        QCOMPARE(box, QRect(0, 0, 640, 300));
    }

  private:
    QTemporaryDir startDirectory_;
    RecordingMessages messages_;
    std::unique_ptr<WindowSet> windows_;
};

QTEST_MAIN(InfoWindowsTest)
#include "info_windows_test.moc"
