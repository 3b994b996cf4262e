#include "gui/info/help_books.h"

#include <QCoreApplication>
#include <QString>

#include "gui/app/window_set.h"
#include "gui/info/help_window.h"
#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

namespace {

// The books lie in the folder "help" beside the program's executable, in the installed program
// as in the build tree (where the build links that folder to the generated books). The working
// directory plays no part: the file windows move it.
QString BookPath(HelpBook book) {
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

HelpWindow& TheHelpWindow(WindowSet& windows) {
    QWidget& owner = windows.selection();
    auto* window = owner.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new HelpWindow(&owner);
    return *window;
}

void OpenHelpBook(WindowSet& windows, HelpBook book) {
    TheHelpWindow(windows).OpenBook(BookPath(book));
}

}  // namespace fetaldose::gui
