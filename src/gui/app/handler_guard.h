#pragma once
// The one place where a fault inside an event handler is turned into the error box: the
// handler ends, what it did before the fault stays done, and the window stays usable.

#include <QString>
#include <exception>
#include <new>
#include <utility>

#include "gui/app/display_text.h"
#include "gui/app/messages.h"

namespace fetaldose::gui {

template <class Body>
void runGuarded(Messages& messages, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        messages.error(QStringLiteral("Not enough memory to finish this command"));
    } catch (const std::exception& fault) {
        // A fault's text may quote a file's bytes (a dose field that is no number).
        messages.error(displayText(fault.what()));
    } catch (...) {
        messages.error(QStringLiteral("Unexpected error"));
    }
}

}  // namespace fetaldose::gui
