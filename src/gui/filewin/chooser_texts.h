#pragma once
// The masks the chooser windows filter their file lists by. Captions, labels and the names
// screen readers announce are in each window's .ui file.

namespace fetaldose::gui::chooser_texts {

inline constexpr const char* kResultsMask = "*.dos";
inline constexpr const char* kOptionsMask = "*.opt";

}  // namespace fetaldose::gui::chooser_texts
