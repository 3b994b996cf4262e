#include "gui/info/help_books.h"

#include <QString>

#include "gui/info/help_window.h"

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

HelpWindow& helpWindowOf(QWidget& owner) {
    auto* window = owner.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (window == nullptr) window = new HelpWindow(&owner);
    return *window;
}

void openHelpBook(QWidget& owner, HelpBook book) {
    helpWindowOf(owner).openBook(bookPath(book));
}

}  // namespace fetaldose::gui
