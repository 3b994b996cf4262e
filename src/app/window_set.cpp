#include "app/window_set.h"

#include <QApplication>

#include "core/options/options_file.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/results/results_file.h"
#include "gui/app/look.h"
#include "gui/app/messages.h"
#include "gui/app/platform.h"
#include "gui/app/program_icon.h"
#include "gui/filewin/file_chooser.h"
#include "gui/filewin/volumes.h"
#include "gui/info/help_books.h"
#include "gui/info/info_windows.h"
#include "gui/results/results_viewer.h"
#include "gui/results/run_controller.h"
#include "gui/selection/selection_window.h"

namespace fetaldose::gui {

WindowSet::WindowSet(Platform platform) : platform_(std::move(platform)) {
    if (!platform_.messages) {
        ownedMessages_ = std::make_unique<BoxMessages>();
        platform_.messages = ownedMessages_.get();
    }
    if (!platform_.printers) platform_.printers = &systemPrinterProvider();
    if (!platform_.fileAttributes) platform_.fileAttributes = &systemFileAttributes();
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
    tableCommands_.reset();
    selection_.reset();
}

void WindowSet::create() {
    QApplication::setWindowIcon(programIcon());
    Messages& messages = *platform_.messages;
    // Each window guards its own creation handler, so a fault there is reported and creation
    // goes on with the next window. The callbacks reach windows created later only when they
    // run, by which time every window exists.
    auto showModally = [](auto& window) { return [&window] { window->openModally(); }; };

    SelectionCommands commands;
    commands.run = [this](const SelectionSnapshot& selection) { run(selection); };
    commands.loadOptions = showModally(loadOptions_);
    commands.saveOptions = showModally(saveOptions_);
    commands.quit = [this] { quit(); };
    commands.openGeneralInformation = [this] {
        openHelpBook(*selection_, HelpBook::GeneralInformation);
    };
    commands.openPublication = [this] { openHelpBook(*selection_, HelpBook::Publication); };
    commands.showInstructions = showModally(instructions_);
    commands.showLicence = showModally(licence_);
    commands.showContactInformation = showModally(contactInformation_);
    commands.showAbout = showModally(about_);
    commands.showReferenceCd = showModally(referenceCd_);
    commands.showReferencePublication = showModally(referencePublication_);
    commands.showPdfNote = showModally(pdfNote_);
    selection_ =
        std::make_unique<SelectionWindow>(messages, *platform_.fileAttributes, std::move(commands));

    tableCommands_ = std::make_unique<TableCommands>(messages, platform_.askExportTarget);
    ViewerCommands viewerCommands;
    viewerCommands.saveToFile = showModally(saveResults_);
    viewerCommands.quitting = [this] { return quitting(); };
    tableCommands_->addTo(viewerCommands);
    viewer_ =
        std::make_unique<ResultsViewer>(messages, *platform_.printers, std::move(viewerCommands));
    tableCommands_->attach(*viewer_);

    VolumeProvider& volumes = *platform_.volumes;
    saveResults_ = std::make_unique<FileChooserWindow>(
        kSaveResultsChooser,
        [this](const std::string& path) {
            writeResultsFile(path, viewer_->store(), viewer_->rowLabelTexts(),
                             viewer_->periodHeadingTexts());
            return true;
        },
        messages, volumes);
    saveOptions_ = std::make_unique<FileChooserWindow>(
        kSaveOptionsChooser,
        [this](const std::string& path) {
            saveOptionsFile(path, selection_->snapshot());
            return true;
        },
        messages, volumes);
    loadOptions_ = std::make_unique<FileChooserWindow>(
        kLoadOptionsChooser,
        [this](const std::string& path) {
            if (loadOptionsFile(path, *selection_) == OptionsLoad::NuclideNotAvailable) {
                this->messages().inform(QString::fromLatin1(kNuclideNotAvailableMessage));
                return false;
            }
            return true;
        },
        messages, volumes);

    instructions_ = std::make_unique<InstructionsWindow>(messages, *platform_.printers);
    licence_ = std::make_unique<InfoWindow>(kLicencePage);
    contactInformation_ = std::make_unique<InfoWindow>(kContactInformationPage);
    about_ = std::make_unique<InfoWindow>(kAboutPage);
    pdfNote_ = std::make_unique<InfoWindow>(kPdfNotePage);
    referenceCd_ = std::make_unique<InfoWindow>(kReferenceCdPage);
    referencePublication_ = std::make_unique<InfoWindow>(kReferencePublicationPage);
}

void WindowSet::start() {
    create();
    selection_->show();
}

void WindowSet::run(const SelectionSnapshot& selection) {
    const char decimalSeparator = platform_.decimalSeparator();
    tableCommands_->runStarting(selection, selection_->dataDirectory(), decimalSeparator);
    runAndView(*viewer_, *platform_.messages, selection, selection_->dataDirectory(),
               decimalSeparator);
}

void WindowSet::quit() {
    quitting_ = true;
    QApplication::quit();
}

}  // namespace fetaldose::gui
