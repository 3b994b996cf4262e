#include "gui/info/help_books.h"

#include <QString>

#include "gui/app/window_set.h"
#include "gui/info/help_window.h"
#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

namespace {

// The books, relative to the working directory at the moment of the command.
QString bookPath(HelpBook book) {
    switch (book) {
        case HelpBook::GeneralInformation:
            return QStringLiteral("help/generalhelp.qhc");
        case HelpBook::Publication:
            return QStringLiteral("help/p47.qhc");
    }
    return {};
}

}  // namespace

HelpWindow& theHelpWindow(WindowSet& windows) {
    QWidget& owner = windows.selection();
    auto* window = owner.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new HelpWindow(&owner);
    return *window;
}

void openHelpBook(WindowSet& windows, HelpBook book) {
    theHelpWindow(windows).openBook(bookPath(book));
}

}  // namespace fetaldose::gui
