// The chart window over a run's tables: what it draws and lists as the viewer pages and the
// user chooses, the values a pointer shows, the images it saves and copies, and what it says
// where it cannot draw. With FETALDOSE_CHART_SCREENSHOTS set it also keeps a screenshot of
// each chart type there.

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdio>
#include <memory>

#include "chart_run.h"
#include "core/charts/chart_texts.h"
#include "gui/charts/chart_drawing.h"
#include "gui/charts/chart_window.h"

using namespace fetaldose;
using namespace fetaldose::charts;
using fetaldose::gui::ChartWindow;
using fetaldose::testing::chartDataFile;
using fetaldose::testing::ChartRun;
using fetaldose::testing::ChartRunner;
using fetaldose::testing::chartSelection;
using fetaldose::testing::RecordPlace;

namespace {

QString text(const std::string& bytes) {
    return QString::fromStdString(bytes);
}

// Doses shaped like the data set's: low for intakes long before conception, rising through
// pregnancy, different per tissue and nuclide, and growing with the integration period.
fetaldose::testing::FieldOf lifelikeFields(int nuclide) {
    return [nuclide](const RecordPlace& place, int line, int row) {
        static const double kByScenario[] = {2e-12,   9e-12,   4e-11, 1.6e-10, 3.1e-10, 4.4e-10,
                                             5.8e-10, 7.7e-10, 6e-12, 3e-11,   4e-10};
        const double tissue = 0.35 + ((row * 7) % 11) / 4.0;
        const double inUtero = kByScenario[place.scenario - 1] * tissue * std::pow(3.1, nuclide);
        const double value = line == 3 ? inUtero : inUtero * (0.08 + 0.21 * (line - 3));
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%.1E", value);
        return std::string(buffer);
    };
}

QChart* drawnChart(ChartWindow& window) {
    return window.findChild<QChartView*>(QStringLiteral("chartView"))->chart();
}

QTableWidget* valuesTable(ChartWindow& window) {
    return window.findChild<QTableWidget*>(QStringLiteral("valuesTable"));
}

void showWindow(ChartWindow& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

}  // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<ChartRunner> runner_;

    std::unique_ptr<ChartWindow> windowFor(const ChartRun& run, int slot) {
        auto window = std::make_unique<ChartWindow>();
        window->setRun(run.result);
        window->showForTable(slot);
        return window;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        runner_ = std::make_unique<ChartRunner>(dir_.path().toStdString() + "/");
    }

    void followsTheTableAndTheChoices() {
        runner_->file("Pu-239", chartDataFile({0, 0, 2}, {0, 0, 0}));
        // Tables: entry 1 at scenarios 1, 4, 6, 10 (slots 1-4); entry 2 (slots 5-8).
        const auto run = runner_->run(chartSelection({"Pu-239"}, {1, 4, 6, 10}, {0, 2, 16}));
        auto window = windowFor(*run, 2);
        showWindow(*window);
        // Centred in the screen's available area, with or without a window manager.
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(available.contains(window->frameGeometry()));
        QCOMPARE(window->frameGeometry().center(), available.center());

        // Four rows (Brain gives two); the default draws them all; three acute scenarios.
        QChart* chart = drawnChart(*window);
        QCOMPARE(chart->series().size(), 4);
        QCOMPARE(chart->axes(Qt::Horizontal).size(), 1);
        QTableWidget* table = valuesTable(*window);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Effective dose"));
        // Offspring dose of the last period, scenario 6 (slot 3), Effective dose (row 4).
        QCOMPARE(table->item(2, 4)->text(), text(run->result->offspringText(3, 4, 5)));

        // Paging to entry 2 charts its own tables.
        window->showForTable(7);
        for (const ChartPoint& point : window->chartData().series[0].points)
            QVERIFY(point.slot >= 5 && point.slot <= 7);

        // The in-utero dose needs no period.
        auto* dose = window->findChild<QComboBox*>(QStringLiteral("doseBox"));
        auto* period = window->findChild<QComboBox*>(QStringLiteral("periodBox"));
        dose->setCurrentIndex(dose->findData(static_cast<int>(DoseView::InUtero)));
        QVERIFY(!period->isEnabled());
        QCOMPARE(table->item(0, 1)->text(), text(run->result->inUteroText(5, 1)));

        // Dose against period: two lines per chosen tissue, over the five periods.
        window->setTissues({1}, 1);
        window->setChartKind(ChartKind::DoseByPeriod);
        QCOMPARE(drawnChart(*window)->series().size(), 2);
        // One legend entry for the tissue, however many lines it has (with many tissues, an
        // entry per line ran off the window); the title says which line is which.
        QStringList legend;
        for (QLegendMarker* marker : drawnChart(*window)->legend()->markers())
            if (marker->isVisible()) legend << marker->label();
        QCOMPARE(legend, QStringList{text(std::string(run->result->layout().rowLabel(1)))});
        QVERIFY(drawnChart(*window)->title().contains(QStringLiteral("dashed lines")));
        QCOMPARE(table->rowCount(), 5);
        QCOMPARE(table->item(1, 2)->text(), text(run->result->postNatalText(7, 1, 2)));

        // The next run, with other rows, keeps the tissues it still has (and the dose).
        window->setChartKind(ChartKind::DoseByIntakeTime);
        window->setTissues({2, 4}, 4);
        runner_->fill(*run, chartSelection({"Pu-239"}, {4}, {0, 16}));
        window->setRun(run->result);
        window->showForTable(1);
        QCOMPARE(window->chartData().series.size(), 1u);
        QCOMPARE(window->chartData().series[0].name, std::string("Effective dose"));
        QCOMPARE(window->chartData().series[0].points[0].text, run->result->inUteroText(1, 2));
    }

    void hoverShowsTheValueAsTheTableGivesIt() {
        runner_->file("Cs-137", chartDataFile({0, 0, 1}, {0, 0, 0}, testing::chartFields(0)))
            .file("I-131", chartDataFile({0, 0, 1}, {0, 0, 0}, testing::chartFields(1)));
        const auto run = runner_->run(chartSelection({"Cs-137", "I-131"}, {3, 5}, {16}), ',');
        auto window = windowFor(*run, 1);
        showWindow(*window);

        auto* line = qobject_cast<QLineSeries*>(drawnChart(*window)->series().front());
        QVERIFY(line);
        emit line->hovered(QPointF(0.9, 1e-11), true);
        const QString offspring = text(run->result->offspringText(2, 1, 5));
        QVERIFY(offspring.contains(QLatin1Char(',')));
        QVERIFY2(window->hoverText().contains(offspring), qPrintable(window->hoverText()));

        window->setChartKind(ChartKind::DoseByNuclide);
        auto* bars = qobject_cast<QBarSeries*>(drawnChart(*window)->series().front());
        QVERIFY(bars);
        QCOMPARE(bars->barSets().front()->count(), 2);
        emit bars->barSets().front()->hovered(true, 1);
        QVERIFY(window->hoverText().startsWith(QStringLiteral("Effective dose, I-131")));
        QVERIFY(window->hoverText().contains(text(run->result->offspringText(3, 1, 5))));
    }

    // Doses far below 1E-12 Sv per Bq keep a labelled dose axis: Qt's own logarithmic axis
    // took so small a span for an empty one and drew no axis at all.
    void smallDosesKeepTheirDoseAxis() {
        runner_->file("H-3", chartDataFile({0, 0, 1}, {0, 0, 0}, testing::chartFields(3)));
        const auto run = runner_->run(chartSelection({"H-3"}, {1, 4}, {16}));
        auto window = windowFor(*run, 1);
        showWindow(*window);
        QVERIFY(window->chartData().series[0].points[0].value < 1e-12);

        // The decade labels and the axis title are drawn left of the plot area.
        auto* view = window->findChild<QChartView*>(QStringLiteral("chartView"));
        const QImage image = view->viewport()->grab().toImage();
        const QRect plot = view->mapFromScene(drawnChart(*window)->plotArea()).boundingRect();
        int dark = 0;
        for (int x = 0; x < plot.left() - 2; ++x)
            for (int y = plot.top(); y < plot.bottom(); ++y) dark += qGray(image.pixel(x, y)) < 128;
        QVERIFY2(dark > 100, qPrintable(QString::number(dark)));
    }

    void savesAndCopiesTheImage() {
        runner_->file("Sr-90", chartDataFile({0, 0, 1}, {0, 0, 0}));
        const auto run = runner_->run(chartSelection({"Sr-90"}, {2, 3, 7}, {0, 1, 16}));
        auto window = windowFor(*run, 1);
        QStringList messages;
        window->setMessageFunction([&messages](const QString& m) { messages << m; });
        showWindow(*window);

        const QString png = dir_.filePath(QStringLiteral("chart.png"));
        QVERIFY(window->saveImage(png));
        const QImage image(png);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), window->chartSize());

        const QString svg = dir_.filePath(QStringLiteral("chart.SVG"));
        QVERIFY(window->saveImage(svg));
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        // Qt's SVG writer puts the pen on an enclosing group: the strokes lines are drawn with.
        QSet<QString> lineStrokes;
        QStringList strokes{QString()};
        while (!xml.atEnd()) {
            const QXmlStreamReader::TokenType token = xml.readNext();
            const QString name = xml.name().toString();
            if (token == QXmlStreamReader::StartElement && name == QStringLiteral("g")) {
                const QString stroke = xml.attributes().value(QStringLiteral("stroke")).toString();
                strokes << (stroke.isEmpty() ? strokes.back() : stroke.toLower());
            } else if (token == QXmlStreamReader::EndElement && name == QStringLiteral("g")) {
                strokes.removeLast();
            } else if (token == QXmlStreamReader::StartElement &&
                       (name == QStringLiteral("path") || name == QStringLiteral("polyline"))) {
                lineStrokes << strokes.back();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const ChartSeries& series : window->chartData().series)
            QVERIFY2(lineStrokes.contains(gui::tissueColour(series.row).name()),
                     qPrintable(QString::fromStdString(series.name)));

        window->copyImage();
        QCOMPARE(QGuiApplication::clipboard()->image().size(), window->chartImage().size());

        // A folder that is not there: a message, no file.
        const QString missing = dir_.filePath(QStringLiteral("no-such-folder/chart.png"));
        QVERIFY(!window->saveImage(missing));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().contains(QStringLiteral("no-such-folder")));
        QVERIFY(!QFile::exists(missing));
    }

    void saysWhatItCannotDraw() {
        // No table at all (a run that yields none, or no run yet).
        ChartWindow none;
        showWindow(none);
        QVERIFY(none.noteText().contains(text(std::string(texts::kNoTable))));
        QVERIFY(none.saveImage(dir_.filePath(QStringLiteral("none.png"))));

        // One table.
        runner_->file("C-14", chartDataFile({0, 0, 1}, {0, 0, 0}));
        const auto one = runner_->run(chartSelection({"C-14"}, {8}, {0}));
        auto window = windowFor(*one, 1);
        showWindow(*window);
        // One line; the two views' lines; one bar series.
        const std::pair<ChartKind, int> kinds[] = {{ChartKind::DoseByIntakeTime, 1},
                                                   {ChartKind::DoseByPeriod, 2},
                                                   {ChartKind::DoseByNuclide, 1}};
        for (const auto& [kind, series] : kinds) {
            window->setChartKind(kind);
            QCOMPARE(drawnChart(*window)->series().size(), series);
        }
        auto* note = window->findChild<QLabel*>(QStringLiteral("chartNote"));
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), window->noteText());
        QVERIFY(!window->noteText().isEmpty());

        // All values zero: nothing drawn, said so; the values are still listed.
        runner_->file("Z-0", chartDataFile({0, 0, 1}, {0, 0, 0},
                                           [](const auto&, int, int) { return std::string("0"); }));
        const auto zeros = runner_->run(chartSelection({"Z-0"}, {1, 2}, {0, 1}));
        window = windowFor(*zeros, 1);
        showWindow(*window);
        QVERIFY(window->noteText().contains(text(std::string(texts::kNothingPositive))));
        QCOMPARE(valuesTable(*window)->item(1, 2)->text().left(7), QStringLiteral("0.0E+00"));
        QVERIFY(window->saveImage(dir_.filePath(QStringLiteral("zeros.png"))));

        // 800 nuclides' bars: the first ones drawn, all listed.
        std::vector<std::string> names;
        const std::string file = chartDataFile({0, 0, 1}, {0, 0, 0});
        for (int n = 0; n < 800; ++n) {
            names.push_back("N-" + std::to_string(n));
            runner_->file(names.back(), file);
        }
        const auto many = runner_->run(chartSelection(names, {5}, {16}));
        window = windowFor(*many, 800);
        window->setChartKind(ChartKind::DoseByNuclide);
        showWindow(*window);
        auto* bars = qobject_cast<QBarSeries*>(drawnChart(*window)->series().front());
        QCOMPARE(bars->barSets().front()->count(), kMaxDrawnBars);
        QCOMPARE(valuesTable(*window)->rowCount(), 800);
        QVERIFY(window->noteText().contains(QStringLiteral("800")));
        QVERIFY(window->saveImage(dir_.filePath(QStringLiteral("bars.svg"))));
    }

    // A screenshot of each chart type, kept for the help pages and the README.
    void screenshots() {
        const QString folder = qEnvironmentVariable("FETALDOSE_CHART_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("FETALDOSE_CHART_SCREENSHOTS names no folder");
        QVERIFY(QDir().mkpath(folder));
        const std::vector<std::string> names = {"Cs-137", "I-131", "Sr-90", "Pu-239",
                                                "Am-241", "Co-60", "U-238", "Ra-226"};
        for (std::size_t n = 0; n < names.size(); ++n)
            runner_->file(names[n], chartDataFile({0, 0, 1}, {0, 0, 0},
                                                  lifelikeFields(static_cast<int>(n % 5) - 2)));
        SelectionSnapshot selection =
            chartSelection(names, {1, 2, 3, 4, 5, 6, 7, 8}, {0, 8, 9, 14, 16});
        selection.halfLives = {"30.0y",  "8.04d", "28.8y",   "24110y",
                               "432.2y", "5.27y", "4.47E9y", "1600y"};
        const auto run = runner_->run(selection);
        auto window = windowFor(*run, 5);
        window->resize(1100, 680);
        showWindow(*window);

        const std::pair<ChartKind, const char*> shots[] = {
            {ChartKind::DoseByIntakeTime, "chart_intake_time"},
            {ChartKind::DoseByPeriod, "chart_periods"},
            {ChartKind::DoseByNuclide, "chart_nuclides"}};
        for (const auto& [kind, name] : shots) {
            window->setChartKind(kind);
            QTest::qWait(50);
            QPixmap shot = window->screen()->grabWindow(window->winId());
            if (shot.isNull()) shot = window->grab();
            QVERIFY(shot.save(QDir(folder).filePath(QString::fromLatin1(name) + ".png")));
            for (const char* suffix : {"_chart.png", "_chart.svg"})
                QVERIFY(window->saveImage(
                    QDir(folder).filePath(QString::fromLatin1(name) + QLatin1String(suffix))));
        }

        // The plotted values as a table.
        window->findChild<QTabWidget*>(QStringLiteral("chartTabs"))->setCurrentIndex(1);
        QTest::qWait(50);
        QVERIFY(window->grab().save(QDir(folder).filePath(QStringLiteral("chart_values.png"))));

        // More bars than are drawn, and some at zero: the notes under the chart.
        std::vector<std::string> many;
        for (int n = 0; n < 60; ++n) {
            many.push_back("X-" + std::to_string(n));
            runner_->file(many.back(),
                          chartDataFile({0, 0, 1}, {0, 0, 0},
                                        n % 9 == 4 ? [](const RecordPlace&, int,
                                                        int) { return std::string("0.0E+00"); }
                                                   : lifelikeFields(n % 5 - 2)));
        }
        const auto notes = runner_->run(chartSelection(many, {5}, {16}));
        window = windowFor(*notes, 1);
        window->setChartKind(ChartKind::DoseByNuclide);
        window->resize(1100, 680);
        showWindow(*window);
        QTest::qWait(50);
        QPixmap shot = window->screen()->grabWindow(window->winId());
        if (shot.isNull()) shot = window->grab();
        QVERIFY(shot.save(QDir(folder).filePath(QStringLiteral("chart_notes.png"))));
    }
};

QTEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
