#include "gui/app/look.h"

namespace fetaldose::gui {

QFont sansSerifFace(const QStringList& families) {
    QFont face;
    face.setFamilies(families);
    face.setStyleHint(QFont::SansSerif);
    return face;
}

std::string toLocalBytes(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

}  // namespace fetaldose::gui
