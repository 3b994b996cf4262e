#pragma once
// What the chooser windows need of the file system: entering a directory, and listing the
// subdirectories and the files of one.

#include <QString>
#include <QStringList>

namespace fetaldose::gui {

// Makes `directory` the process's working directory. Throws IoError with the message for the
// failure ("Invalid filename" for a directory that does not exist (any more), "File access
// denied", ...) and leaves the working directory as it was.
void enterDirectory(const QString& directory);

// The subdirectories of `directory`, sorted by name; hidden ones (names beginning with a dot)
// left out.
QStringList listSubdirectories(const QString& directory);

// The files of `directory` whose names match `mask` without regard to letter case, sorted by
// name. Directories, hidden files and special files (devices, pipes, sockets) are left out.
// The mask holds wildcard patterns with '*' and '?', several separated by ';'.
QStringList listMatchingFiles(const QString& directory, const QString& mask);

// The order names are listed in: without regard to letter case, ties in code order.
void sortNames(QStringList& names);

}  // namespace fetaldose::gui
