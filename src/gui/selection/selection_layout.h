#pragma once
// Sizes of the selection window that its handlers need as well as its layout.

namespace fetaldose::gui {

// The nuclide grid always has at least this many rows; it grows to hold a longer catalogue.
inline constexpr int kMinimumGridRows = 74;
// Height of an item of the chosen list, in pixels.
inline constexpr int kChosenItemHeight = 14;

}  // namespace fetaldose::gui
