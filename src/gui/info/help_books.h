#pragma once
// The two help books, opened beside the program in a help window.

namespace fetaldose::gui {

class WindowSet;

enum class HelpBook {
    GeneralInformation,  // help/generalhelp
    Publication,         // help/p47
};

// Opens the book at its contents, relative to the working directory now, without blocking.
void OpenHelpBook(WindowSet& windows, HelpBook book);

}  // namespace fetaldose::gui
