#include "gui/info/help_books.h"

#include <QCoreApplication>
#include <QString>

#include "gui/info/help_window.h"

namespace fetaldose::gui {

namespace {

// The books lie in the folder "help" beside the program's executable, in the installed program
// as in the build tree (where the build links that folder to the generated books). The working
// directory plays no part: the file windows move it.
QString bookPath(HelpBook book) {
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/help/");
    switch (book) {
        case HelpBook::GeneralInformation:
            return folder + QStringLiteral("generalhelp.qhc");
        case HelpBook::Publication:
            return folder + QStringLiteral("p47.qhc");
    }
    return {};
}

}  // namespace

HelpWindow& helpWindowOf(QWidget& owner) {
    auto* window = owner.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new HelpWindow(&owner);
    return *window;
}

void openHelpBook(QWidget& owner, HelpBook book) {
    helpWindowOf(owner).openBook(bookPath(book));
}

}  // namespace fetaldose::gui
