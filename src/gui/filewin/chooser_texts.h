#pragma once
// The texts of the three file chooser windows.

namespace fetaldose::gui::chooser_texts {

inline constexpr const char* kSaveResultsCaption = "Save results to file";
inline constexpr const char* kSaveOptionsCaption = "Save options to a file";
inline constexpr const char* kLoadOptionsCaption = "Load options from a file";

inline constexpr const char* kResultsMask = "*.dos";
inline constexpr const char* kOptionsMask = "*.opt";

inline constexpr const char* kSaveIn = "Save in:";
inline constexpr const char* kFileName = "File name:";
inline constexpr const char* kExit = "Exit";
inline constexpr const char* kSave = "Save";
inline constexpr const char* kLoad = "Load";

// Names that screen readers announce for the two lists, which carry no label of their own.
inline constexpr const char* kDirectoriesName = "Directories";
inline constexpr const char* kFilesName = "Files";

}  // namespace fetaldose::gui::chooser_texts
