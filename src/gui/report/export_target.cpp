#include "gui/report/export_target.h"

#include <QFileInfo>
#include <array>

#include "gui/app/save_dialog.h"
#include "gui/report/report_texts.h"

namespace fetaldose::gui {

namespace texts = report_texts;

namespace {

struct FileType {
    ExportKind kind;
    const QString& name;
    QLatin1StringView suffix;
};

const std::array<FileType, 3>& fileTypes() {
    static const std::array<FileType, 3> types = {
        FileType{ExportKind::Csv, texts::kCsvFileType, QLatin1StringView("csv")},
        FileType{ExportKind::Xlsx, texts::kXlsxFileType, QLatin1StringView("xlsx")},
        FileType{ExportKind::Pdf, texts::kPdfFileType, QLatin1StringView("pdf")}};
    return types;
}

}  // namespace

QStringList exportFileTypes() {
    QStringList names;
    for (const FileType& type : fileTypes()) names.push_back(type.name);
    return names;
}

ExportKind exportKindFor(const QString& fileName, const QString& pickedFileType) {
    const QString suffix = QFileInfo(fileName).suffix();
    for (const FileType& type : fileTypes())
        if (suffix.compare(type.suffix, Qt::CaseInsensitive) == 0) return type.kind;
    for (const FileType& type : fileTypes())
        if (type.name == pickedFileType) return type.kind;
    return ExportKind::Csv;
}

std::optional<ExportTarget> askExportTarget(QWidget* parent) {
    std::vector<SaveFileType> types;
    for (const FileType& type : fileTypes()) types.push_back({type.name, type.suffix});
    const auto choice = askSaveFile(parent, texts::kExportCaption, types);
    if (!choice) return {};
    return ExportTarget{choice->path, exportKindFor(choice->path, types[choice->type].name)};
}

}  // namespace fetaldose::gui
