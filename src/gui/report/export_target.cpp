#include "gui/report/export_target.h"

#include <QFileInfo>
#include <array>

#include "gui/app/save_dialog.h"
#include "gui/report/report_texts.h"

namespace fetaldose::gui {

namespace texts = report_texts;

namespace {

struct FileType {
    OutputFormat format;
    const QString& name;
};

// The dialog's types; their extensions are the formats' own.
const std::array<FileType, 3>& fileTypes() {
    static const std::array<FileType, 3> types = {
        FileType{OutputFormat::Csv, texts::kCsvFileType},
        FileType{OutputFormat::Xlsx, texts::kXlsxFileType},
        FileType{OutputFormat::Pdf, texts::kPdfFileType}};
    return types;
}

QString suffixOf(OutputFormat format) {
    return QString::fromLatin1(outputFormatInfo(format).extension.substr(1));
}

}  // namespace

QStringList exportFileTypes() {
    QStringList names;
    for (const FileType& type : fileTypes()) names.push_back(type.name);
    return names;
}

OutputFormat exportFormatFor(const QString& fileName, const QString& pickedFileType) {
    const QString suffix = QFileInfo(fileName).suffix();
    for (const FileType& type : fileTypes())
        if (suffix.compare(suffixOf(type.format), Qt::CaseInsensitive) == 0) return type.format;
    for (const FileType& type : fileTypes())
        if (type.name == pickedFileType) return type.format;
    return OutputFormat::Csv;
}

std::optional<ExportTarget> askExportTarget(QWidget* parent) {
    std::vector<SaveFileType> types;
    for (const FileType& type : fileTypes()) types.push_back({type.name, suffixOf(type.format)});
    const auto choice = askSaveFile(parent, texts::kExportCaption, types);
    if (!choice) return {};
    return ExportTarget{choice->path, exportFormatFor(choice->path, types[choice->type].name)};
}

}  // namespace fetaldose::gui
