// The seven information windows: captions, texts, places, title-bar buttons and modal showing.

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/window_set.h"
#include "gui/app/platform.h"
#include "gui/info/info_windows.h"
#include "pdf_printers.h"
#include "recording_messages.h"

using namespace fetaldose::gui;

namespace {

// Opens the window modally and runs `inside` on the modal window before closing it; returns
// whether the window really was the active modal window while open.
bool openAndRun(InfoWindow& window, const std::function<void(QWidget&)>& inside) {
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        wasModal = modal == &window;
        if (modal != nullptr) {
            inside(*modal);
            modal->close();
        }
    });
    window.openModally();
    return wasModal;
}

using PdfPrinters = testing::PdfPrinters;

int pdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QString text = QString::fromLatin1(file.readAll());
    return static_cast<int>(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

// The first page of a PDF rendered at the given resolution; a null image when pdftoppm is
// not there.
QImage renderedPage(const QString& pdf, int dotsPerInch) {
    const QString renderer = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (renderer.isEmpty()) return {};
    const QString stem = pdf + QStringLiteral(".page");
    if (QProcess::execute(
            renderer, {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dotsPerInch),
                       QStringLiteral("-singlefile"), pdf, stem}) != 0) {
        return {};
    }
    return QImage(stem + QStringLiteral(".png"));
}

// The rectangle of the page's pixels that are not white.
QRect inkedArea(const QImage& page) {
    QRect inked;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (page.pixelColor(x, y).lightness() < 250) inked |= QRect(x, y, 1, 1);
        }
    }
    return inked;
}

QStringList linesOf(const QPlainTextEdit* box) {
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
        platform.printers = &printers_;
        windows_ = std::make_unique<WindowSet>(platform);
        windows_->create();
    }

    void cleanupTestCase() { windows_.reset(); }

    void windowsAreCreatedHiddenInTheWindowsFace() {
        for (QDialog* window : QList<QDialog*>{&windows_->instructions(), &windows_->licence(),
                                               &windows_->contactInformation(), &windows_->about(),
                                               &windows_->pdfNote(), &windows_->referenceCd(),
                                               &windows_->referencePublication()}) {
            QVERIFY2(window->isHidden(), qPrintable(window->windowTitle()));
            QVERIFY(!window->windowTitle().isEmpty());
            QCOMPARE(window->font().pixelSize(), 10);
            QCOMPARE(window->font().styleHint(), QFont::SansSerif);
        }
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
            QVERIFY2(openAndRun(*design.window,
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
        InfoWindow& window = windows_->licence();
        openAndRun(window, [](QWidget& shown) {
            shown.move(120, 80);
            shown.resize(420, 380);
        });
        const QRect closedAt = window.frameGeometry();
        QCOMPARE(window.size(), QSize(420, 380));

        QRect reopenedAt;
        QString firstLine;
        openAndRun(window, [&](QWidget& shown) {
            reopenedAt = shown.frameGeometry();
            firstLine = linesOf(shown.findChild<QPlainTextEdit*>()).first();
        });
        QCOMPARE(reopenedAt, closedAt);
        QVERIFY(firstLine.contains(QStringLiteral("CD-ROM")));

        // The instructions text follows the window's width and stays 300 pixels high.
        InstructionsWindow& instructions = windows_->instructions();
        QRect box;
        openAndRun(instructions, [&](QWidget& shown) {
            shown.resize(640, 500);
            QApplication::processEvents();
            box = shown.findChild<QPlainTextEdit*>()->geometry();
        });
        QCOMPARE(box, QRect(0, 0, 640, 300));
    }

    void printButtonPrintsTheWindowAtItsScreenSizeOnOnePage() {
        InstructionsWindow& window = windows_->instructions();
        const QString pdf = QDir(startDirectory_.path()).filePath(QStringLiteral("instr.pdf"));
        printers_.outputFile = pdf;
        messages_.clear();
        QSize client;
        QString textBefore;
        QString textAfter;
        bool stillOpen = false;
        openAndRun(window, [&](QWidget& shown) {
            auto* box = shown.findChild<QPlainTextEdit*>();
            textBefore = box->toPlainText();
            client = shown.size();
            QTest::mouseClick(shown.findChild<QPushButton*>(QStringLiteral("Button1")),
                              Qt::LeftButton);
            stillOpen = shown.isVisible();
            textAfter = box->toPlainText();
        });
        QVERIFY(messages_.all.isEmpty());
        QVERIFY(stillOpen);
        QCOMPARE(textAfter, textBefore);
        QCOMPARE(pdfPageCount(pdf), 1);

        // Proportional: on paper the picture has the size the window has on the screen.
        constexpr int kRenderDpi = 100;
        const QImage page = renderedPage(pdf, kRenderDpi);
        if (page.isNull()) QSKIP("pdftoppm is not available to render the page");
        const QRect inked = inkedArea(page);
        const double expectedWidth = client.width() * double(kRenderDpi) / window.logicalDpiX();
        const double expectedHeight = client.height() * double(kRenderDpi) / window.logicalDpiY();
        QVERIFY2(std::abs(inked.width() - expectedWidth) <= expectedWidth * 0.03,
                 qPrintable(QStringLiteral("printed %1 wide, expected %2")
                                .arg(inked.width())
                                .arg(expectedWidth)));
        QVERIFY(inked.height() <= expectedHeight * 1.03);
        QVERIFY(inked.height() >= 300 * double(kRenderDpi) / window.logicalDpiY());
        QVERIFY(inked.width() < page.width() * 0.9);  // not stretched to the page
    }

    void printWithoutPrinterShowsTheErrorAndKeepsTheWindowOpen() {
        InstructionsWindow& window = windows_->instructions();
        printers_.outputFile.clear();
        messages_.clear();
        bool stillOpen = false;
        openAndRun(window, [&](QWidget& shown) {
            QTest::mouseClick(shown.findChild<QPushButton*>(QStringLiteral("Button1")),
                              Qt::LeftButton);
            stillOpen = shown.isVisible();
        });
        QCOMPARE(messages_.errors,
                 QStringList{QStringLiteral("There is no default printer currently selected.")});
        QVERIFY(stillOpen);
    }

  private:
    QTemporaryDir startDirectory_;
    RecordingMessages messages_;
    PdfPrinters printers_;
    std::unique_ptr<WindowSet> windows_;
};

QTEST_MAIN(InfoWindowsTest)
#include "info_windows_test.moc"
