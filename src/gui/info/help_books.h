#pragma once
// The two help books, opened beside the program in a help window.

namespace fetaldose::gui {

class WindowSet;
class HelpWindow;

enum class HelpBook {
    GeneralInformation,  // help/generalhelp.qhc beside the program
    Publication,         // help/p47.qhc beside the program
};

// Opens the book from the folder "help" beside the program's executable, at its contents,
// without blocking, whatever the working directory is.
// The second command replaces the book on show; a missing book is reported in the help window.
void OpenHelpBook(WindowSet& windows, HelpBook book);

// The one help window, owned by the main window; created by its first use.
HelpWindow& TheHelpWindow(WindowSet& windows);

}  // namespace fetaldose::gui
