#include "gui/assessment/assessment_files.h"

#include <QFileDialog>
#include <array>

#include "gui/app/save_dialog.h"
#include "gui/assessment/assessment_window_texts.h"

namespace fetaldose::gui {

namespace texts = assessment_texts;

namespace {

QString extensionOf(OutputFormat format) {
    return QString::fromLatin1(outputFormatInfo(format).extension.substr(1));
}

}  // namespace

std::optional<AssessmentFileChoice> askAssessmentFile(QWidget* parent, AssessmentFileKind kind) {
    if (kind == AssessmentFileKind::OpenIntakes) {
        const QString path = QFileDialog::getOpenFileName(
            parent, QString::fromUtf8(texts::kOpenCaption), QString(),
            QString::fromUtf8(texts::kIntakesFileType) + QStringLiteral(";;") +
                QString::fromUtf8(texts::kAnyFileType));
        if (path.isEmpty()) return {};
        return AssessmentFileChoice{path, OutputFormat::Csv};
    }
    if (kind == AssessmentFileKind::SaveIntakes) {
        const auto choice = askSaveFile(
            parent, QString::fromUtf8(texts::kSaveCaption),
            {{QString::fromUtf8(texts::kIntakesFileType), extensionOf(OutputFormat::Csv)}},
            QString::fromUtf8(texts::kDefaultIntakesName));
        if (!choice) return {};
        return AssessmentFileChoice{choice->path, OutputFormat::Csv};
    }
    const std::array<OutputFormat, 3> formats = {OutputFormat::Csv, OutputFormat::Xlsx,
                                                 OutputFormat::Pdf};
    const auto choice =
        askSaveFile(parent, QString::fromUtf8(texts::kExportCaption),
                    {{QString::fromUtf8(texts::kCsvFileType), extensionOf(formats[0])},
                     {QString::fromUtf8(texts::kXlsxFileType), extensionOf(formats[1])},
                     {QString::fromUtf8(texts::kPdfFileType), extensionOf(formats[2])}},
                    QString::fromUtf8(texts::kDefaultExportName));
    if (!choice) return {};
    const auto byName = outputFormatOfFileName(choice->path.toStdString());
    const OutputFormat picked = formats[static_cast<std::size_t>(std::clamp(choice->type, 0, 2))];
    const bool known = byName && (*byName == OutputFormat::Csv || *byName == OutputFormat::Xlsx ||
                                  *byName == OutputFormat::Pdf);
    return AssessmentFileChoice{choice->path, known ? *byName : picked};
}

}  // namespace fetaldose::gui
