#pragma once
// The small pictures of the drive list (FLOPPY, HARD, NETWORK, CDROM, RAM) and of the
// directory tree (OPENFOLDER, CURRENTFOLDER, CLOSEDFOLDER), drawn to fit a list row.

#include <QIcon>

#include "gui/filewin/volumes.h"

namespace fetaldose::gui {

enum class FolderGlyph {
    openModally,  // OPENFOLDER: a directory on the path above the one shown
    Current,      // CURRENTFOLDER: the directory shown
    Closed,       // CLOSEDFOLDER: a subdirectory of the one shown
};

QIcon driveGlyph(VolumeKind kind);
QIcon folderGlyphIcon(FolderGlyph glyph);

}  // namespace fetaldose::gui
