#include "gui/filewin/folder_listing.h"

#include <unistd.h>

#include <QDir>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "core/textio/faults.h"

namespace fetaldose::gui {

void enterDirectory(const QString& directory) {
    const std::string path = directory.toLocal8Bit().toStdString();
    if (::chdir(path.c_str()) != 0) throw IoError::fromErrno(errno, path, false);
}

void sortNames(QStringList& names) {
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
}

QStringList listSubdirectories(const QString& directory) {
    QStringList names = QDir(directory).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    sortNames(names);
    return names;
}

QStringList listMatchingFiles(const QString& directory, const QString& mask) {
    std::vector<QRegularExpression> patterns;
    for (const QString& pattern : mask.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        patterns.emplace_back(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                              QRegularExpression::CaseInsensitiveOption);
    }
    QStringList names;
    for (const QString& name : QDir(directory).entryList(QDir::Files)) {
        const bool matches = std::any_of(patterns.begin(), patterns.end(),
                                         [&](const auto& p) { return p.match(name).hasMatch(); });
        if (matches) names << name;
    }
    sortNames(names);
    return names;
}

}  // namespace fetaldose::gui
