#pragma once
// Texts of the chart window.

namespace fetaldose::gui::texts {

inline constexpr char kChartWindowTitle[] = "Dose coefficient chart";
inline constexpr char kChartTab[] = "Chart";
inline constexpr char kValuesTab[] = "Values";
inline constexpr char kChartKindLabel[] = "C&hart:";
inline constexpr char kDoseLabel[] = "&Dose:";
inline constexpr char kPeriodLabel[] = "&Period:";
inline constexpr char kTissuesLabel[] = "&Tissues:";
inline constexpr char kTissueLabel[] = "T&issue:";
inline constexpr char kByIntakeTime[] = "Dose against time of intake";
inline constexpr char kByPeriod[] = "Dose against integration period";
inline constexpr char kByNuclide[] = "Nuclides side by side";
inline constexpr char kSaveImage[] = "&Save image...";
inline constexpr char kCopyImage[] = "&Copy image";
inline constexpr char kClose[] = "Close";
inline constexpr char kSaveImageCaption[] = "Save image";
inline constexpr char kDefaultImageName[] = "chart.png";
inline constexpr char kPngFilter[] = "PNG image (*.png)";
inline constexpr char kSvgFilter[] = "SVG image (*.svg)";
inline constexpr char kCannotWriteImage[] = "Cannot write the image file %1: %2";
inline constexpr char kNotDrawnMark[] = " (not drawn)";
inline constexpr char kValuesTableName[] = "Plotted values";
inline constexpr char kChartViewName[] = "Chart of the plotted values";
inline constexpr char kScaleLabel[] = "Dose a&xis:";
inline constexpr char kLogarithmicScale[] = "Logarithmic";
inline constexpr char kLinearScale[] = "Linear";
inline constexpr char kCopyValues[] = "Copy &values";
inline constexpr char kExportValues[] = "&Export values as CSV...";
inline constexpr char kExportValuesCaption[] = "Export values as CSV";
inline constexpr char kDefaultValuesName[] = "chart_values.csv";
inline constexpr char kCsvFilter[] = "CSV (*.csv)";

}  // namespace fetaldose::gui::texts
