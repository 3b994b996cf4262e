#pragma once
// The two help books, opened beside the program in a help window.

class QWidget;

namespace fetaldose::gui {

class HelpWindow;

enum class HelpBook {
    GeneralInformation,  // help/generalhelp.qhc beside the program
    Publication,         // help/p47.qhc beside the program
};

// Opens the book from the folder "help" beside the program's executable, at its contents,
// without blocking, whatever the working directory is.
// The second command replaces the book on show; a missing book is reported in the help window.
// The help window belongs to `owner`, the main window.
void openHelpBook(QWidget& owner, HelpBook book);

// The one help window of `owner`; created by its first use.
HelpWindow& helpWindowOf(QWidget& owner);

}  // namespace fetaldose::gui
