#include "gui/info/help_books.h"

namespace fetaldose::gui {

void OpenHelpBook(WindowSet&, HelpBook) {}

}  // namespace fetaldose::gui
