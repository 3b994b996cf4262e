#include "gui/results/run_controller.h"

namespace fetaldose::gui {

void RunAndView(WindowSet&, const SelectionSnapshot&) {}

}  // namespace fetaldose::gui
