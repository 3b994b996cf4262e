#pragma once
// The texts of the bottom GUI layer: the messages of window printing, shown in the error box.

namespace fetaldose::gui::app_texts {

inline constexpr char kNoDefaultPrinter[] = "There is no default printer currently selected";
inline constexpr char kPrinterNotReady[] = "The printer could not start the print job";
inline constexpr char kPrinterFailed[] = "The print job failed";

}  // namespace fetaldose::gui::app_texts
