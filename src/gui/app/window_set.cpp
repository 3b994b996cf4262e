#include "gui/app/window_set.h"

#include <QApplication>

#include "core/refdata/catalogue.h"
#include "gui/app/messages.h"
#include "gui/app/platform.h"
#include "gui/app/program_icon.h"
#include "gui/filewin/file_chooser.h"
#include "gui/filewin/volumes.h"
#include "gui/info/info_windows.h"
#include "gui/results/results_viewer.h"
#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

WindowSet::WindowSet(Platform platform) : platform_(std::move(platform)) {
    if (!platform_.messages) {
        ownedMessages_ = std::make_unique<BoxMessages>();
        platform_.messages = ownedMessages_.get();
    }
    if (!platform_.printers) platform_.printers = &systemPrinterProvider();
    if (!platform_.fileAttributes) platform_.fileAttributes = &SystemFileAttributes();
    if (!platform_.volumes) platform_.volumes = &systemVolumes();
    if (!platform_.decimalSeparator) platform_.decimalSeparator = systemDecimalSeparator;
}

// Windows are destroyed in the reverse order of their creation.
WindowSet::~WindowSet() {
    referencePublication_.reset();
    referenceCd_.reset();
    pdfNote_.reset();
    about_.reset();
    contactInformation_.reset();
    licence_.reset();
    instructions_.reset();
    loadOptions_.reset();
    saveOptions_.reset();
    saveResults_.reset();
    viewer_.reset();
    selection_.reset();
}

void WindowSet::create() {
    QApplication::setWindowIcon(programIcon());
    // A window guards its own creation handler, so a fault there is reported and creation
    // goes on with the next window.
    auto create = [this](auto& slot) {
        using Window = typename std::remove_reference_t<decltype(slot)>::element_type;
        slot = std::make_unique<Window>(*this);
    };
    create(selection_);
    create(viewer_);
    create(saveResults_);
    create(saveOptions_);
    create(loadOptions_);
    create(instructions_);
    create(licence_);
    create(contactInformation_);
    create(about_);
    create(pdfNote_);
    create(referenceCd_);
    create(referencePublication_);
}

void WindowSet::start() {
    create();
    selection_->show();
}

void WindowSet::quit() {
    quitting_ = true;
    QApplication::quit();
}

}  // namespace fetaldose::gui
