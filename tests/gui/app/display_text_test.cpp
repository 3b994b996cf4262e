// Texts from files on screen: 8-bit bytes decoded as the data set wrote them, and a line of any
// length shown cut short while its bytes reach the saved files unchanged.

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <fstream>
#include <iterator>

#include "core/options/options_file.h"
#include "core/refdata/catalogue.h"
#include "gui/app/display_text.h"
#include "gui/results/results_viewer.h"
#include "gui/selection/selection_window.h"
#include "viewer_fixture.h"
#include "working_data_set.h"

using namespace fetaldose;
using namespace fetaldose::gui;
using namespace fetaldose::gui::testing;

namespace {

// A line far longer than any screen shows, yet well within the ceilings of the catalogue
// and of the options file that carry it.
constexpr std::size_t kHugeLine = kOptionsFileCeiling.bytes / 4;
static_assert(kHugeLine < kCatalogueCeiling.bytes / 2 + 1024);
const QString kEllipsis(QChar(0x2026));

std::string readAll(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A shown text cut short: the most characters, ending in the ellipsis after `start`.
void verifyCut(const QString& shown, const QString& start) {
    QCOMPARE(shown.size(), kMaxDisplayedCharacters);
    QVERIFY(shown.startsWith(start));
    QVERIFY(shown.endsWith(kEllipsis));
}

}  // namespace

class DisplayTextTest : public QObject {
    Q_OBJECT

  private slots:
    void bytesAreUtf8WhereValidAndWindows1252Otherwise() {
        QCOMPARE(displayText("0.3 \xB5s"), QString::fromUtf8("0.3 \u00B5s"));
        QCOMPARE(displayText("0.3 \xC2\xB5s"), QString::fromUtf8("0.3 \u00B5s"));
        QCOMPARE(displayText("\x80 \x9F \x81 \xFF"),
                 QString::fromUtf8("\u20AC \u0178 \u0081 \u00FF"));

        // Long texts are cut whole characters short of the limit, whatever their code.
        const std::string ascii(kMaxDisplayedCharacters, 'a');
        QCOMPARE(displayText(ascii), QString::fromLatin1(ascii));
        verifyCut(displayText(ascii + "b"), QStringLiteral("aaa"));
        std::string accented;
        for (int i = 0; i < kMaxDisplayedCharacters * 3; ++i) accented += "\xC3\xA9";
        verifyCut(displayText(accented), QString::fromUtf8("\u00E9\u00E9"));
        verifyCut(displayText(accented + "\xB5"), QString::fromUtf8("\u00C3\u00A9"));
        std::string emoji;
        for (int i = 0; i < kMaxDisplayedCharacters; ++i) emoji += "\xF0\x9F\x98\x80";
        const QString cut = displayText(emoji);
        QVERIFY(cut.size() <= kMaxDisplayedCharacters);
        QVERIFY(!cut.at(cut.size() - 2).isHighSurrogate());
        QVERIFY(cut.endsWith(kEllipsis));
    }

    // A 64 MB half-life in the catalogue and in an options file: the windows show its start
    // and stay whole, and the bytes go back to the options file and the run unchanged.
    void aHugeLineIsShownCutAndKeptWhole() {
        WorkingDataSet data;
        const std::string huge = "1 " + std::string(kHugeLine, 'y');
        data.writeCatalogue({{"Big", QByteArray::fromStdString(huge)}, {"Mu", "0.3 \xB5s"}});
        test::writeFile(data.dataPath("Big.dat").toStdString(),
                        test::dataFileText({0, 0, 1}, {0, 0, 0}));
        test::writeFile(data.dataPath("Mu.dat").toStdString(),
                        test::dataFileText({0, 0, 1}, {0, 0, 0}));
        RecordingMessages messages;
        const std::unique_ptr<WindowSet> windows = data.openWindows(messages);
        messages.clear();  // the first-run notice
        SelectionWindow& window = windows->selection();
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* grid = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
        verifyCut(grid->item(0, 1)->text(), QStringLiteral("1 yyy"));
        QCOMPARE(grid->item(1, 1)->text(), QString::fromUtf8("0.3 \u00B5s"));
        QVERIFY(!window.grab().isNull());  // the grid paints

        // An options file brings the same line: shown cut, saved back byte for byte.
        const QString options = data.dataPath("huge.opt");
        std::string optionsText = "2\r\nBig\r\n" + huge + "\r\nMu\r\n0.3 \xB5s\r\n";
        test::writeFile(options.toStdString(), optionsText + "Exposure group\r\nyes\r\nno\r\n");
        QCOMPARE(loadOptionsFile(options.toStdString(), window), OptionsLoad::Completed);
        auto* halfLives = window.findChild<QListWidget*>(QStringLiteral("LstBxHalfLife"));
        verifyCut(halfLives->item(0)->text(), QStringLiteral("1 yyy"));
        QCOMPARE(halfLives->item(1)->text(), QString::fromUtf8("0.3 \u00B5s"));
        const SelectionSnapshot chosen = window.snapshot();
        QVERIFY(chosen.halfLives.at(0) == huge);
        QCOMPARE(chosen.halfLives.at(1), std::string("0.3 \xB5s"));
        saveOptionsFile(data.dataPath("again.opt").toStdString(), chosen);
        QVERIFY(readAll(data.dataPath("again.opt")).starts_with(optionsText));

        // The viewer's header shows the start of the heading, and the window paints.
        SelectionSnapshot run = chosen;
        run.ingestion = true;
        run.allAcutes = run.allOrgans = run.allPeriods = true;
        QStringList headers;
        test::ViewerDriver driver(windows->viewer());
        auto look = [&headers](ResultsViewer& viewer) {
            headers << viewer.findChild<QLabel*>(QStringLiteral("lblNuclide"))->text();
            QVERIFY(!viewer.grab().isNull());
        };
        driver.then(look);
        driver.run([&] { windows->run(run); });
        QVERIFY(driver.opened());
        QVERIFY(!headers.isEmpty());
        verifyCut(headers.front(), QStringLiteral("Big, half-life is 1 yyy"));
        QVERIFY(messages.all.isEmpty());
    }
};

QTEST_MAIN(DisplayTextTest)
#include "display_text_test.moc"
