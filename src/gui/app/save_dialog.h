#pragma once
// The desktop's standard dialog for saving a file of one of a few types.

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QWidget;

namespace fetaldose::gui {

struct SaveFileType {
    QString name;       // as the dialog lists it, e.g. "CSV (*.csv)"
    QString extension;  // without the dot
};

struct SaveChoice {
    QString path;
    int type = 0;  // index of the type picked in the dialog
};

// Shows the save dialog over `parent`, the first type picked at the start. The picked type lends
// its extension to a name typed without one before the dialog looks for a file of that name, so
// that it asks before replacing one. Returns nothing when the user cancels.
std::optional<SaveChoice> askSaveFile(QWidget* parent, const QString& caption,
                                      const std::vector<SaveFileType>& types,
                                      const QString& startName = {});

}  // namespace fetaldose::gui
