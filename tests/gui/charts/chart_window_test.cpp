// The chart window over a run's tables: what it draws and lists as the viewer pages and the
// user chooses, that every chart reads alone (whole title, no text over another, times and
// periods at their places), the values a pointer shows, the images and values it saves and
// copies, and what it says where it cannot draw. With FETALDOSE_CHART_SCREENSHOTS set it also
// keeps a screenshot of each chart type there.

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

#include "chart_run.h"
#include "core/charts/chart_texts.h"
#include "core/run/run_texts.h"
#include "core/textio/faults.h"
#include "gui/charts/chart_canvas.h"
#include "gui/charts/chart_drawing.h"
#include "gui/charts/chart_window.h"

using namespace fetaldose;
using namespace fetaldose::charts;
using fetaldose::gui::ChartCanvas;
using fetaldose::gui::ChartLayout;
using fetaldose::gui::ChartTextRole;
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

ChartCanvas* canvasOf(ChartWindow& window) {
    return window.findChild<ChartCanvas*>(QStringLiteral("chartView"));
}

QTableWidget* valuesTable(ChartWindow& window) {
    return window.findChild<QTableWidget*>(QStringLiteral("valuesTable"));
}

QStringList textsOf(const ChartLayout& layout, ChartTextRole role) {
    QStringList texts;
    for (const auto& t : layout.texts)
        if (t.role == role) texts << t.text;
    return texts;
}

void showWindow(ChartWindow& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

// What a person reading the chart at this layout would find wrong, or nothing: a title not
// shown whole, a text over another or outside the picture, the title touching the axes, the
// legend or the plot.
QString readingFaults(const ChartData& data, const ChartLayout& layout) {
    QStringList faults;
    QString expected = text(data.title);
    if (!data.subtitle.empty()) expected += QLatin1Char(' ') + text(data.subtitle);
    const QString shown = textsOf(layout, ChartTextRole::Title).join(QLatin1Char(' '));
    if (shown.simplified() != expected.simplified())
        faults << QStringLiteral("title shown as \"%1\", not \"%2\"").arg(shown, expected);
    const QRectF picture(QPointF(0, 0), layout.size);
    for (std::size_t i = 0; i < layout.texts.size(); ++i) {
        const auto& a = layout.texts[i];
        if (!picture.contains(a.box))
            faults << QStringLiteral("\"%1\" leaves the picture").arg(a.text);
        for (std::size_t j = i + 1; j < layout.texts.size(); ++j)
            if (a.box.intersects(layout.texts[j].box))
                faults
                    << QStringLiteral("\"%1\" overlaps \"%2\"").arg(a.text, layout.texts[j].text);
    }
    for (const QRectF& box : {layout.plot, layout.xAxisBox, layout.yAxisBox, layout.legendBox})
        if (!box.isEmpty() && layout.titleBox.intersects(box))
            faults << QStringLiteral("the title's box touches an axis, the plot or the legend");
    if (!layout.notesBox.isEmpty() && layout.notesBox.intersects(layout.xAxisBox))
        faults << QStringLiteral("the notes touch the x axis");
    return faults.join(QLatin1Char('\n'));
}

// The texts an SVG file draws, in order.
QStringList svgTexts(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    QStringList texts;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement &&
            xml.name() == QStringLiteral("text"))
            texts << xml.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
    return texts;
}

}  // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::unique_ptr<ChartRunner> runner_;
    QTemporaryDir sampleDir_;

    std::unique_ptr<ChartWindow> windowFor(const ChartRun& run, int slot) {
        auto window = std::make_unique<ChartWindow>();
        window->setRun(run.result);
        window->showForTable(slot);
        return window;
    }

    // The sample data set, written by its generator: its real headings, the longest there are.
    std::unique_ptr<ChartRun> sampleRun(bool inhalation) {
        const QString data = sampleDir_.filePath(QStringLiteral("data"));
        if (!QFile::exists(data + QStringLiteral("/nuclides.txt")) &&
            QProcess::execute(QStringLiteral(FETALDOSE_MAKE_SAMPLE), {data}) != 0)
            return nullptr;
        ChartRunner sample(data.toStdString() + "/");
        SelectionSnapshot s =
            chartSelection({"Pu-239", "Am-241", "Cs-137", "Pu-239"},
                           {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0, 2, 7, 10, 14, 16});
        s.halfLives = {"24110 y", "432.2 y", "30.08 y", "24110 y"};
        s.occupational = true;
        s.memberOfPublic = false;
        if (inhalation) {
            s.ingestion = false;
            s.particulates = true;
            s.aerosol[1] = s.aerosol[4] = true;  // 0.003 and 0.1 microns AMAD
        }
        return sample.run(s);
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

        // Four rows (Brain gives two), all drawn; three acute scenarios and a chronic one.
        QCOMPARE(window->chartData().series.size(), 4u);
        QCOMPARE(window->chartData().categories.size(), 4u);
        QTableWidget* table = valuesTable(*window);
        QCOMPARE(table->rowCount(), 4);
        QCOMPARE(table->columnCount(), 5);
        QCOMPARE(table->horizontalHeaderItem(4)->text(), QStringLiteral("Effective dose"));
        // Offspring dose of the last period, scenario 6 (slot 3), Effective dose (row 4).
        QCOMPARE(table->item(2, 4)->text(), text(run->result->offspringText(3, 4, 5)));

        // Paging to entry 2 charts its own tables.
        window->showForTable(7);
        for (const ChartPoint& point : window->chartData().series[0].points)
            QVERIFY(point.slot >= 5 && point.slot <= 8);

        // The in-utero dose needs no period.
        auto* dose = window->findChild<QComboBox*>(QStringLiteral("doseBox"));
        auto* period = window->findChild<QComboBox*>(QStringLiteral("periodBox"));
        dose->setCurrentIndex(dose->findData(static_cast<int>(DoseView::InUtero)));
        QVERIFY(!period->isEnabled());
        QCOMPARE(table->item(0, 1)->text(), text(run->result->inUteroText(5, 1)));

        // Dose against period: two lines per chosen tissue; the legend names the tissue once
        // and says what the solid and the dashed lines are; the chart names the tissues left
        // out and how to add them.
        window->setTissues({1}, 1);
        window->setChartKind(ChartKind::DoseByPeriod);
        QCOMPARE(window->chartData().series.size(), 2u);
        const ChartLayout& layout = canvasOf(*window)->chartLayout();
        const QStringList legend = textsOf(layout, ChartTextRole::Legend);
        QCOMPARE(legend.first(), text(std::string(run->result->layout().rowLabel(1))));
        QVERIFY(legend.join(QLatin1Char(' ')).contains(text(std::string(texts::kPostNatalKey))));
        const QString notes = textsOf(layout, ChartTextRole::Note).join(QLatin1Char(' '));
        for (int r = 2; r <= 4; ++r)
            QVERIFY2(notes.contains(text(std::string(run->result->layout().rowLabel(r)))),
                     qPrintable(notes));
        QVERIFY(notes.contains(QStringLiteral("Tick them under Tissues")));
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

        // A run of many tissues draws its first ones and the effective dose; every one can be
        // ticked and drawn.
        runner_->fill(*run, chartSelection({"Pu-239"}, {4, 5}, {0, 1, 2, 3, 4, 5, 6, 14, 16}));
        window->setRun(run->result);
        window->setTissues({}, 1);
        window->setRun(run->result);
        const int rows = run->result->layout().rowCount();
        QCOMPARE(static_cast<int>(window->chartData().series.size()), 6);
        QCOMPARE(window->chartData().series.back().name, std::string("Effective dose"));
        QVERIFY(window->noteText().contains(QStringLiteral("Thyroid")));
        std::vector<int> all;
        for (int r = 1; r <= rows; ++r) all.push_back(r);
        window->setTissues(all, 1);
        QCOMPARE(static_cast<int>(window->chartData().series.size()), rows);
        QVERIFY(!window->noteText().contains(QStringLiteral("Thyroid")));
    }

    // Each chart type, for the sample set's inhalation tables with their longest headings and
    // for an ingestion table, on both dose axes, at a narrow and a wide window: the whole
    // title, no text over another, and the times and periods at their places.
    void everyChartReadsAlone() {
        const QString folder = dir_.filePath(QStringLiteral("readable"));
        QVERIFY(QDir().mkpath(folder));
        for (const bool inhalation : {true, false}) {
            const auto run = sampleRun(inhalation);
            QVERIFY(run && run->result);
            // The table with the longest heading lines.
            int longest = 1;
            const auto length = [&run](int t) {
                return run->result->routeHeading(t).size() + run->result->groupHeading(t).size() +
                       run->result->nuclideHeading(t).size() +
                       run->result->scenarioHeading(t).size();
            };
            for (int t = 1; t <= run->result->tableCount(); ++t)
                if (length(t) > length(longest)) longest = t;
            if (inhalation)
                QVERIFY(run->result->routeHeading(longest).find("microns AMAD") !=
                        std::string_view::npos);
            auto window = windowFor(*run, longest);
            for (const QSize size : {QSize(760, 520), QSize(1300, 820)}) {
                window->resize(size);
                showWindow(*window);
                for (ChartKind kind : {ChartKind::DoseByIntakeTime, ChartKind::DoseByPeriod,
                                       ChartKind::DoseByNuclide})
                    for (DoseScale scale : {DoseScale::Logarithmic, DoseScale::Linear}) {
                        window->setChartKind(kind);
                        window->setDoseScale(scale);
                        QTest::qWait(20);
                        const ChartData& data = window->chartData();
                        const ChartLayout& layout = canvasOf(*window)->chartLayout();
                        const QString where = QStringLiteral("%1 kind %2 scale %3 at %4x%5")
                                                  .arg(inhalation ? "inhalation" : "ingestion")
                                                  .arg(int(kind))
                                                  .arg(int(scale))
                                                  .arg(size.width())
                                                  .arg(size.height());
                        QVERIFY2(!data.series.empty(), qPrintable(where));
                        QVERIFY2(!layout.marks.empty(), qPrintable(where));
                        const QString faults = readingFaults(data, layout);
                        QVERIFY2(faults.isEmpty(), qPrintable(where + ":\n" + faults));
                        QCOMPARE(layout.size, QSizeF(window->chartSize()));

                        // Saved, the picture is the one on screen: the PNG at its size, the SVG
                        // with every title line as text.
                        const QString name = QStringLiteral("%1/%2_%3_%4_%5")
                                                 .arg(folder)
                                                 .arg(inhalation ? "inhalation" : "ingestion")
                                                 .arg(int(kind))
                                                 .arg(int(scale))
                                                 .arg(size.width());
                        QVERIFY(window->saveImage(name + ".png"));
                        QCOMPARE(QImage(name + ".png").size(), window->chartSize());
                        QVERIFY(window->saveImage(name + ".svg"));
                        const QStringList svg = svgTexts(name + ".svg");
                        for (const QString& line : textsOf(layout, ChartTextRole::Title))
                            QVERIFY2(svg.contains(line.simplified()), qPrintable(line));
                    }
            }
        }
    }

    // Times of intake stand at their times: in proportion within the years before conception
    // and within the pregnancy, chronic intakes as spans over their intervals; periods at the
    // logarithm of their years.
    void placesAreInProportionToTime() {
        runner_->file("Cs-137", chartDataFile({0, 0, 1}, {0, 0, 0}, lifelikeFields(0)));
        const auto run =
            runner_->run(chartSelection({"Cs-137"}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {16}));
        auto window = windowFor(*run, 1);
        window->resize(1000, 660);
        showWindow(*window);
        const ChartLayout& layout = canvasOf(*window)->chartLayout();
        // The x place of each category's mark (the ends of a span).
        std::map<int, std::pair<double, double>> at;
        for (const auto& mark : layout.marks)
            at[mark.category] = mark.span ? std::pair(mark.box.left() + 4, mark.box.right() - 4)
                                          : std::pair(mark.centre.x(), mark.centre.x());
        QCOMPARE(at.size(), 11u);
        const double conception = at[2].first;
        const auto weeks = [&](int category) { return at[category].first - conception; };
        // +5, +10, +15, +25, +35 weeks: evenly per week.
        const double perWeek = weeks(3) / 5;
        QVERIFY(perWeek > 2);
        for (const auto& [category, w] : {std::pair(4, 10), {5, 15}, {6, 25}, {7, 35}})
            QVERIFY2(std::abs(weeks(category) - perWeek * w) < 1.0,
                     qPrintable(QString::number(category)));
        // 2.5 years and 6 months before: in proportion to each other, on their own scale.
        QVERIFY(weeks(0) < weeks(1) && weeks(1) < 0);
        QVERIFY(std::abs(weeks(0) / weeks(1) - 5.0) < 0.02);
        // Chronic intakes: 5 years and 1 year before until conception, conception to birth.
        QVERIFY(std::abs(at[8].second - conception) < 1.0 &&
                std::abs(at[9].second - conception) < 1.0);
        QVERIFY(std::abs((at[8].first - conception) / (at[9].first - conception) - 5.0) < 0.02);
        QVERIFY(std::abs(at[10].first - conception) < 1.0);
        QVERIFY(std::abs(at[10].second - conception - perWeek * 38) < 1.0);
        // The legend says what a span is; the axis says where its scale changes.
        QVERIFY(textsOf(layout, ChartTextRole::Legend)
                    .join(QLatin1Char(' '))
                    .contains(text(std::string(texts::kChronicKey))));
        QVERIFY(textsOf(layout, ChartTextRole::XCaption)
                    .join(QLatin1Char(' '))
                    .contains(QStringLiteral("compressed scale")));

        window->setChartKind(ChartKind::DoseByPeriod);
        std::map<int, double> period;
        for (const auto& mark : canvasOf(*window)->chartLayout().marks)
            if (mark.series == 0) period[mark.category] = mark.centre.x();
        QCOMPARE(period.size(), 5u);
        const double decade = (period[2] - period[0]);  // 1 to 10 years
        for (int p = 0; p < 5; ++p)
            QVERIFY2(std::abs(period[p] - period[0] - decade * std::log10(kPeriodYears[p])) < 1.0,
                     qPrintable(QString::number(p)));
    }

    void valuesAcrossNuclidesMeanWhatTheirLengthsSay() {
        runner_->file("Sr-90", chartDataFile({0, 0, 1}, {0, 0, 0}, lifelikeFields(0)))
            .file("I-131", chartDataFile({0, 0, 1}, {0, 0, 0}, lifelikeFields(1)))
            .file("Z-0", chartDataFile({0, 0, 1}, {0, 0, 0}, [](const auto&, int, int) {
                      return std::string("0.0E+00");
                  }));
        const auto run = runner_->run(chartSelection({"Sr-90", "I-131", "Z-0"}, {5}, {16}));
        auto window = windowFor(*run, 1);
        window->setChartKind(ChartKind::DoseByNuclide);
        showWindow(*window);
        // Dots on the log axis, every value printed, the one at zero said not drawn.
        const ChartLayout& dots = canvasOf(*window)->chartLayout();
        QCOMPARE(dots.marks.size(), 2u);
        const QStringList values = textsOf(dots, ChartTextRole::Value);
        QCOMPARE(values.size(), 3);
        QCOMPARE(values[0], text(run->result->offspringText(1, 1, 5)));
        QVERIFY(values[2].contains(QStringLiteral("not drawn")));
        // Bars on the linear axis from zero: their lengths stand as their doses.
        window->setDoseScale(DoseScale::Linear);
        const ChartLayout& bars = canvasOf(*window)->chartLayout();
        QCOMPARE(bars.marks.size(), 3u);
        const ChartData& data = window->chartData();
        const double zero = bars.xOf(data.doseAxis, 0);
        QCOMPARE(bars.marks[0].box.left(), zero);
        const double ratio = bars.marks[1].box.width() / bars.marks[0].box.width();
        const double doses = data.series[0].points[1].value / data.series[0].points[0].value;
        QVERIFY2(std::abs(ratio / doses - 1) < 0.01, qPrintable(QString::number(ratio)));
        QCOMPARE(bars.marks[2].box.width(), 0.0);
        QVERIFY(textsOf(bars, ChartTextRole::XTitle).join(' ').contains(QStringLiteral("linear")));
    }

    void hoverShowsTheValueAsTheTableGivesIt() {
        runner_->file("Cs-137", chartDataFile({0, 0, 1}, {0, 0, 0}, testing::chartFields(0)))
            .file("I-131", chartDataFile({0, 0, 1}, {0, 0, 0}, testing::chartFields(1)));
        const auto run = runner_->run(chartSelection({"Cs-137", "I-131"}, {3, 5}, {16}), ',');
        auto window = windowFor(*run, 1);
        showWindow(*window);

        ChartCanvas* canvas = canvasOf(*window);
        const auto hover = [&](int category) {
            for (const auto& mark : canvas->chartLayout().marks)
                if (mark.category == category) {
                    QTest::mouseMove(canvas, mark.centre.toPoint());
                    return;
                }
            QFAIL("no mark");
        };
        hover(1);
        const QString offspring = text(run->result->offspringText(2, 1, 5));
        QVERIFY(offspring.contains(QLatin1Char(',')));
        QVERIFY2(window->hoverText().contains(offspring), qPrintable(window->hoverText()));

        window->setChartKind(ChartKind::DoseByNuclide);
        hover(1);
        QVERIFY(window->hoverText().startsWith(QStringLiteral("Effective dose, I-131")));
        QVERIFY(window->hoverText().contains(text(run->result->offspringText(3, 1, 5))));
    }

    void savesAndCopiesTheImageAndTheValues() {
        runner_->file("Sr-90", chartDataFile({0, 0, 1}, {0, 0, 0}));
        const auto run = runner_->run(chartSelection({"Sr-90"}, {2, 3, 7}, {0, 1, 16}), ',');
        auto window = windowFor(*run, 1);
        QStringList messages;
        window->setMessageFunction([&messages](const QString& m) { messages << m; });
        showWindow(*window);

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

        // The values: copied as the table lists them (the run's comma), exported as CSV with
        // the full stop, the title and the notes as '#' lines.
        window->copyValues();
        const QStringList copied = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
        QCOMPARE(copied[0], text(window->chartData().title));
        QVERIFY(copied.contains(QStringLiteral("-6 mo\t%1\t%2\t%3")
                                    .arg(text(run->result->offspringText(1, 1, 5)),
                                         text(run->result->offspringText(1, 2, 5)),
                                         text(run->result->offspringText(1, 3, 5)))));
        const QString csv = dir_.filePath(QStringLiteral("values.csv"));
        QVERIFY(window->saveValues(csv));
        QFile csvFile(csv);
        QVERIFY(csvFile.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(csvFile.readAll()).split(QStringLiteral("\r\n"));
        QVERIFY(lines[0].startsWith(QStringLiteral("\"# Sr-90, half-life is")));
        const int heading =
            static_cast<int>(lines.indexOf(text(std::string(texts::kCsvDoseNote)))) + 1;
        QVERIFY(heading > 0);
        QCOMPARE(lines[heading], QStringLiteral("\"Time of intake, relative to conception\","
                                                "Bladder,Bone surface,Effective dose"));
        QString point = text(run->result->offspringText(1, 1, 5)).trimmed();
        point.replace(QLatin1Char(','), QLatin1Char('.'));
        QVERIFY2(lines[heading + 1].startsWith(QStringLiteral("-6 mo,") + point),
                 qPrintable(lines[heading + 1]));

        // A folder that is not there, a full disk, an input of the run: a message, no file.
        const QString missing = dir_.filePath(QStringLiteral("no-such-folder/chart.png"));
        QVERIFY(!window->saveImage(missing));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages.front().contains(QStringLiteral("no-such-folder")));
        QVERIFY(!QFile::exists(missing));
        QVERIFY(!window->saveValues(QStringLiteral("/dev/full")));
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages.back().contains(QStringLiteral("Disk full")),
                 qPrintable(messages.back()));
        window->setSaveCheck([](const std::string& path) {
            if (path.find("Sr-90.dat") != std::string::npos) throw Fault("refused: " + path);
        });
        const QString input = dir_.filePath(QStringLiteral("Sr-90.dat"));
        const QByteArray before = [&] {
            QFile f(input);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        QVERIFY(!window->saveValues(input));
        QVERIFY(!window->saveImage(input));
        QCOMPARE(messages.size(), 4);
        QFile after(input);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), before);
    }

    void saysWhatItCannotDraw() {
        // No table at all (a run that yields none, or no run yet).
        ChartWindow none;
        showWindow(none);
        QVERIFY(none.noteText().contains(text(std::string(texts::kNoTable))));
        QVERIFY(none.saveImage(dir_.filePath(QStringLiteral("none.png"))));

        // One table: one line, the two views' lines, one dot.
        runner_->file("C-14", chartDataFile({0, 0, 1}, {0, 0, 0}));
        const auto one = runner_->run(chartSelection({"C-14"}, {8}, {0}));
        auto window = windowFor(*one, 1);
        showWindow(*window);
        const std::pair<ChartKind, int> kinds[] = {{ChartKind::DoseByIntakeTime, 1},
                                                   {ChartKind::DoseByPeriod, 10},
                                                   {ChartKind::DoseByNuclide, 1}};
        for (const auto& [kind, marks] : kinds) {
            window->setChartKind(kind);
            QCOMPARE(static_cast<int>(canvasOf(*window)->chartLayout().marks.size()), marks);
        }
        // The notes are in the chart itself and repeated beside the values.
        auto* note = window->findChild<QLabel*>(QStringLiteral("chartNote"));
        QCOMPARE(note->text(), window->noteText());
        QVERIFY(!window->noteText().isEmpty());

        // All values zero: nothing drawn on the log axis, said so; drawn at zero on the linear
        // one; the values are still listed.
        runner_->file("Z-0", chartDataFile({0, 0, 1}, {0, 0, 0},
                                           [](const auto&, int, int) { return std::string("0"); }));
        const auto zeros = runner_->run(chartSelection({"Z-0"}, {1, 2}, {0, 1}));
        window = windowFor(*zeros, 1);
        showWindow(*window);
        QVERIFY(window->noteText().contains(text(std::string(texts::kNothingPositive))));
        QVERIFY(canvasOf(*window)->chartLayout().marks.empty());
        QCOMPARE(valuesTable(*window)->item(1, 2)->text().left(7), QStringLiteral("0.0E+00"));
        window->setDoseScale(DoseScale::Linear);
        QCOMPARE(canvasOf(*window)->chartLayout().marks.size(), 4u);
        QVERIFY(window->saveImage(dir_.filePath(QStringLiteral("zeros.png"))));

        // 800 nuclides: the first ones drawn, all listed; the chart grows and scrolls rather
        // than squeeze its rows.
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
        QCOMPARE(static_cast<int>(canvasOf(*window)->chartLayout().marks.size()), kMaxDrawnBars);
        QCOMPARE(valuesTable(*window)->rowCount(), 800);
        QVERIFY(window->noteText().contains(QStringLiteral("800")));
        QVERIFY(readingFaults(window->chartData(), canvasOf(*window)->chartLayout()).isEmpty());
        QVERIFY(window->saveImage(dir_.filePath(QStringLiteral("bars.svg"))));
    }

    // A screenshot of each chart type, kept for the help pages and the README.
    void screenshots() {
        const QString folder = qEnvironmentVariable("FETALDOSE_CHART_SCREENSHOTS");
        if (folder.isEmpty()) QSKIP("FETALDOSE_CHART_SCREENSHOTS names no folder");
        QVERIFY(QDir().mkpath(folder));
        const auto shoot = [&folder](ChartWindow& window, const QString& name, bool images) {
            QTest::qWait(50);
            QPixmap shot = window.screen()->grabWindow(window.winId());
            if (shot.isNull()) shot = window.grab();
            QVERIFY(shot.save(QDir(folder).filePath(name + ".png")));
            if (images)
                for (const char* suffix : {"_chart.png", "_chart.svg"})
                    QVERIFY(window.saveImage(QDir(folder).filePath(name + QLatin1String(suffix))));
        };
        // The sample set's inhalation tables, with their longest headings.
        const auto sample = sampleRun(true);
        QVERIFY(sample && sample->result);
        auto window = windowFor(*sample, 1);
        window->resize(1100, 680);
        showWindow(*window);
        const std::pair<ChartKind, const char*> shots[] = {
            {ChartKind::DoseByIntakeTime, "chart_intake_time"},
            {ChartKind::DoseByPeriod, "chart_periods"},
            {ChartKind::DoseByNuclide, "chart_nuclides"}};
        for (const auto& [kind, name] : shots) {
            window->setChartKind(kind);
            shoot(*window, QString::fromLatin1(name), true);
        }
        window->setDoseScale(DoseScale::Linear);
        shoot(*window, QStringLiteral("chart_nuclides_linear"), true);
        window->setDoseScale(DoseScale::Logarithmic);
        // Narrow: the title wraps, the chart scrolls.
        window->setChartKind(ChartKind::DoseByIntakeTime);
        window->resize(760, 520);
        shoot(*window, QStringLiteral("chart_intake_time_narrow"), true);

        // The plotted values as a table.
        window->resize(1100, 680);
        window->findChild<QTabWidget*>(QStringLiteral("chartTabs"))->setCurrentIndex(1);
        QTest::qWait(50);
        QVERIFY(window->grab().save(QDir(folder).filePath(QStringLiteral("chart_values.png"))));

        // Made-up doses shaped like the data set's, for the README.
        const std::vector<std::string> names = {"Cs-137", "I-131", "Sr-90", "Pu-239",
                                                "Am-241", "Co-60", "U-238", "Ra-226"};
        for (std::size_t n = 0; n < names.size(); ++n)
            runner_->file(names[n], chartDataFile({0, 0, 1}, {0, 0, 0},
                                                  lifelikeFields(static_cast<int>(n % 5) - 2)));
        SelectionSnapshot selection =
            chartSelection(names, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {0, 8, 9, 14, 16});
        selection.halfLives = {"30.0y",  "8.04d", "28.8y",   "24110y",
                               "432.2y", "5.27y", "4.47E9y", "1600y"};
        const auto run = runner_->run(selection);
        window = windowFor(*run, 12);
        window->resize(1100, 680);
        showWindow(*window);
        shoot(*window, QStringLiteral("chart_lifelike"), false);

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
        shoot(*window, QStringLiteral("chart_notes"), true);
    }
};

QTEST_MAIN(ChartWindowTest)
#include "chart_window_test.moc"
