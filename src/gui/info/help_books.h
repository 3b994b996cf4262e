#pragma once
// The two help books, opened beside the program in a help window.

namespace fetaldose::gui {

class WindowSet;
class HelpWindow;

enum class HelpBook {
    GeneralInformation,  // help/generalhelp.qhc
    Publication,         // help/p47.qhc
};

// Opens the book at its contents, relative to the working directory now, without blocking.
// The second command replaces the book on show; a missing book is reported in the help window.
void openHelpBook(WindowSet& windows, HelpBook book);

// The one help window, owned by the main window; created by its first use.
HelpWindow& theHelpWindow(WindowSet& windows);

}  // namespace fetaldose::gui
