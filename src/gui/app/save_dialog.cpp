#include "gui/app/save_dialog.h"

#include <QFileDialog>

namespace fetaldose::gui {

std::optional<SaveChoice> askSaveFile(QWidget* parent, const QString& caption,
                                      const std::vector<SaveFileType>& types,
                                      const QString& startName) {
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList names;
    for (const SaveFileType& type : types) names.push_back(type.name);
    dialog.setNameFilters(names);
    // The dialog tells of a picked type only when the user changes it: the first type's
    // extension holds from the start.
    if (!types.empty()) dialog.setDefaultSuffix(types.front().extension);
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog, &names, &types](const QString& picked) {
            const auto index = names.indexOf(picked);
            if (index >= 0)
                dialog.setDefaultSuffix(types[static_cast<std::size_t>(index)].extension);
        });
    if (!startName.isEmpty()) dialog.selectFile(startName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return SaveChoice{
        dialog.selectedFiles().constFirst(),
        static_cast<int>(std::max<qsizetype>(0, names.indexOf(dialog.selectedNameFilter())))};
}

}  // namespace fetaldose::gui
