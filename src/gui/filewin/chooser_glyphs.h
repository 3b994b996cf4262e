#pragma once
// The small pictures of the drive list (one per kind of volume) and of the directory tree (an
// open, the current and a closed folder), drawn to fit a list row.

#include <QIcon>

#include "gui/filewin/volumes.h"

namespace fetaldose::gui {

enum class FolderGlyph {
    Open,     // an open folder: a directory on the path above the one shown
    Current,  // an open folder, marked: the directory shown
    Closed,   // a closed folder: a subdirectory of the one shown
};

QIcon driveGlyph(VolumeKind kind);
QIcon folderGlyphIcon(FolderGlyph glyph);

}  // namespace fetaldose::gui
