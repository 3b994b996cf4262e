#pragma once
// The selection window's own texts that its code shows. The caption, menus, control captions,
// hints and the items of the check lists are in selection_window.ui.

namespace fetaldose::gui::selection_texts {

// Enter in the finder box with a name that no catalogue row equals.
inline constexpr const char* kNuclideNotFoundMessage = "Nuclide is not available - please reselect";

// The Tools menu, the one menu beside the form's, and its items (UTF-8).
inline constexpr const char* kToolsMenu = "&Tools";
inline constexpr const char* kDoseAssessmentItem = "Dose assessment\xE2\x80\xA6";

}  // namespace fetaldose::gui::selection_texts
