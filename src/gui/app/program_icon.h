#pragma once
// The program's icon, drawn at start-up: every window of the program shows it in its title
// bar, and the desktop beside the program's name.

#include <QIcon>

namespace fetaldose::gui {

QIcon programIcon();

}  // namespace fetaldose::gui
