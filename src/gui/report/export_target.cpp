#include "gui/report/export_target.h"

#include <QFileDialog>
#include <QFileInfo>
#include <array>

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
    QFileDialog dialog(parent, texts::kExportCaption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(exportFileTypes());
    // A type the user picks lends its extension to a bare name at once, so that the dialog
    // asks before replacing a file of that name; any bare name left gets it below.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& picked) {
                         for (const FileType& type : fileTypes())
                             if (type.name == picked) dialog.setDefaultSuffix(type.suffix);
                     });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().constFirst();
    const ExportKind kind = exportKindFor(path, dialog.selectedNameFilter());
    if (QFileInfo(path).suffix().isEmpty())
        for (const FileType& type : fileTypes())
            if (type.kind == kind) path += u'.' + type.suffix;
    return ExportTarget{path, kind};
}

}  // namespace fetaldose::gui
