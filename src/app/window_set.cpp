#include "app/window_set.h"

#include <QApplication>
#include <QDir>

#include "core/assessment/assessment.h"
#include "core/options/options_file.h"
#include "core/refdata/catalogue.h"
#include "core/refdata/data_directory.h"
#include "core/results/results_file.h"
#include "core/selection/selection_model.h"
#include "core/textio/output_guard.h"
#include "core/textio/text_writer.h"
#include "gui/app/look.h"
#include "gui/app/messages.h"
#include "gui/app/platform.h"
#include "gui/app/program_icon.h"
#include "gui/assessment/assessment_window.h"
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

// The windows go in the reverse order of the list, the selection model after its window.
WindowSet::~WindowSet() {
    compare_.reset();
    // Before the viewer, whose child window it is.
    assessment_.reset();
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
    selectionModel_.reset();
}

void WindowSet::create() {
    QApplication::setWindowIcon(programIcon());
    startDirectory_ = QDir::currentPath();
    // The callbacks reach the other windows through their accessors, which create a window
    // the first time it is needed.
    auto showModally = [this](auto window) {
        return [this, window] { (this->*window)().openModally(); };
    };

    SelectionCommands commands;
    commands.run = [this](const SelectionSnapshot& selection) { run(selection); };
    commands.loadOptions = showModally(&WindowSet::loadOptions);
    commands.saveOptions = showModally(&WindowSet::saveOptions);
    commands.quit = [this] { quit(); };
    commands.mayQuit = [this] { return !assessment_ || assessment_->mayDiscardIntakes(); };
    commands.openGeneralInformation = [this] {
        openHelpBook(*selection_, HelpBook::GeneralInformation);
    };
    commands.openPublication = [this] { openHelpBook(*selection_, HelpBook::Publication); };
    commands.showInstructions = showModally(&WindowSet::instructions);
    commands.showLicence = showModally(&WindowSet::licence);
    commands.showContactInformation = showModally(&WindowSet::contactInformation);
    commands.showAbout = showModally(&WindowSet::about);
    commands.showReferenceCd = showModally(&WindowSet::referenceCd);
    commands.showReferencePublication = showModally(&WindowSet::referencePublication);
    commands.showPdfNote = showModally(&WindowSet::pdfNote);
    commands.compareDataSets = [this] { compareWindow().open(); };
    commands.openDoseAssessment = [this] { assessment().showInFront(); };
    // The data directory is fixed now, below the working directory at start.
    selectionModel_ = std::make_unique<SelectionModel>(currentDataDirectory());
    selection_ = std::make_unique<SelectionWindow>(*selectionModel_, *platform_.messages,
                                                   *platform_.fileAttributes, std::move(commands));
    tableCommands_ =
        std::make_unique<TableCommands>(*platform_.messages, platform_.askExportTarget);
    tableCommands_->setAssessIntake([this](assessment::IntakeEntry entry) {
        AssessmentWindow& window = assessment();
        window.addIntake(std::move(entry));
        window.showInFront();
    });
}

ResultsViewer& WindowSet::viewer() {
    if (!viewer_) {
        ViewerCommands viewerCommands;
        viewerCommands.saveToFile = [this] { saveResults().openModally(); };
        viewerCommands.quitting = [this] { return quitting(); };
        tableCommands_->addTo(viewerCommands);
        viewer_ = std::make_unique<ResultsViewer>(*platform_.messages, *platform_.printers,
                                                  std::move(viewerCommands));
        tableCommands_->attach(*viewer_);
    }
    return *viewer_;
}

void WindowSet::refuseOutputOverDataSet(const std::string& path) const {
    refuseOutputOverInputs(path, dataSetFiles(selectionModel_->dataDirectory()));
}

FileChooserWindow& WindowSet::saveResults() {
    if (!saveResults_)
        saveResults_ = std::make_unique<FileChooserWindow>(
            kSaveResultsChooser,
            [this](const std::string& path) {
                refuseOutputOverDataSet(path);
                // Before any run there are no tables: the file is written empty.
                if (const auto& run = viewer().run())
                    writeResultsFile(path, *run);
                else
                    saveTextFile(path, [](TextWriter&) {});
                return true;
            },
            *platform_.messages, *platform_.volumes, startDirectory_);
    return *saveResults_;
}

FileChooserWindow& WindowSet::saveOptions() {
    if (!saveOptions_)
        saveOptions_ = std::make_unique<FileChooserWindow>(
            kSaveOptionsChooser,
            [this](const std::string& path) {
                refuseOutputOverDataSet(path);
                saveOptionsFile(path, selectionModel_->snapshot());
                return true;
            },
            *platform_.messages, *platform_.volumes, startDirectory_);
    return *saveOptions_;
}

FileChooserWindow& WindowSet::loadOptions() {
    if (!loadOptions_)
        loadOptions_ = std::make_unique<FileChooserWindow>(
            kLoadOptionsChooser,
            [this](const std::string& path) {
                if (selectionModel_->loadOptions(path) == OptionsLoad::NuclideNotAvailable) {
                    messages().inform(QString::fromLatin1(kNuclideNotAvailableMessage));
                    return false;
                }
                return true;
            },
            *platform_.messages, *platform_.volumes, startDirectory_);
    return *loadOptions_;
}

InstructionsWindow& WindowSet::instructions() {
    if (!instructions_)
        instructions_ =
            std::make_unique<InstructionsWindow>(*platform_.messages, *platform_.printers);
    return *instructions_;
}

namespace {

InfoWindow& infoWindow(std::unique_ptr<InfoWindow>& window, const InfoPage& page) {
    if (!window) window = std::make_unique<InfoWindow>(page);
    return *window;
}

}  // namespace

InfoWindow& WindowSet::licence() {
    return infoWindow(licence_, kLicencePage);
}

InfoWindow& WindowSet::contactInformation() {
    return infoWindow(contactInformation_, kContactInformationPage);
}

InfoWindow& WindowSet::about() {
    return infoWindow(about_, kAboutPage);
}

InfoWindow& WindowSet::pdfNote() {
    return infoWindow(pdfNote_, kPdfNotePage);
}

InfoWindow& WindowSet::referenceCd() {
    return infoWindow(referenceCd_, kReferenceCdPage);
}

InfoWindow& WindowSet::referencePublication() {
    return infoWindow(referencePublication_, kReferencePublicationPage);
}

AssessmentWindow& WindowSet::assessment() {
    if (!assessment_) {
        AssessmentCommands commands;
        commands.chooseFile = platform_.askAssessmentFile;
        commands.refuseOutput = [this](const std::string& path) { refuseOutputOverDataSet(path); };
        assessment_ = std::make_unique<AssessmentWindow>(
            std::make_unique<assessment::AssessmentData>(selection_->dataDirectory(),
                                                         selection_->catalogueSource()),
            *platform_.messages, *platform_.printers, std::move(commands), &viewer());
    }
    return *assessment_;
}

CompareWindow& WindowSet::compareWindow() {
    if (!compare_) {
        CompareWindowSetup setup;
        setup.referenceDirectory = selectionModel_->dataDirectory();
        setup.selection = [this] { return selection_->snapshot(); };
        setup.decimalSeparator = platform_.decimalSeparator;
        if (platform_.chooseFolder) setup.chooseFolder = platform_.chooseFolder;
        if (platform_.askComparisonTarget) setup.chooseExportTarget = platform_.askComparisonTarget;
        // A window of its own beside the main one, which it never blocks.
        compare_ = std::make_unique<CompareWindow>(*platform_.messages, std::move(setup));
    }
    return *compare_;
}

void WindowSet::start() {
    create();
    selection_->show();
}

void WindowSet::run(const SelectionSnapshot& selection) {
    // The run handles events while it shows its progress; nothing then starts a second one.
    if (running_) return;
    ResultsViewer& shown = viewer();
    RunRequest request;
    request.selection = selection;
    request.dataDirectory = selection_->dataDirectory();
    request.decimalSeparator = platform_.decimalSeparator();
    request.catalogue = selection_->catalogueSource();
    tableCommands_->runStarting();
    RunProgressSetup progress;
    progress.parent = selection_.get();
    progress.delay = platform_.runProgressDelay;
    progress.stopWanted = [this] { return quitting(); };
    running_ = true;
    struct RunEnds {
        bool& running;
        ~RunEnds() { running = false; }
    } ends{running_};
    runAndView(shown, *platform_.messages, std::move(request), progress);
}

void WindowSet::quit() {
    quitting_ = true;
    QApplication::quit();
}

}  // namespace fetaldose::gui
