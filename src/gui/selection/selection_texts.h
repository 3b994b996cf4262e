#pragma once
// The selection window's own texts: caption, menu, control captions, hints, the items of the
// check lists and the finder's message. Each stands here once and nowhere else.

#include <array>

namespace fetaldose::gui::selection_texts {

inline constexpr const char* kCaption = "VORQ Embryo/Fetus CD-ROM";

// Enter in the finder box with a name that no catalogue row equals.
inline constexpr const char* kNuclideNotFoundMessage = "Nuclide is not available - please reselect";

// Menus.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuLoadOptions = "Load options";
inline constexpr const char* kMenuSaveOptions = "Save options";
inline constexpr const char* kMenuRun = "Run";
inline constexpr const char* kMenuExit = "Exit";
inline constexpr const char* kMenuGeneralInformation = "&General information";
inline constexpr const char* kMenuPublication = "VORQ 47";
inline constexpr const char* kMenuContents = "Contents";
inline constexpr const char* kMenuHelp = "Help";
inline constexpr const char* kMenuInstructions = "Instructions";
inline constexpr const char* kMenuLicence = "Licence";
inline constexpr const char* kMenuContactInformation = "Contact Information";
inline constexpr const char* kMenuAbout = "About";
inline constexpr const char* kMenuReferenceCd = "How to reference this CD";
inline constexpr const char* kMenuReferencePublication = "How to reference VORQ 47";
inline constexpr const char* kMenuPdfNote = ".pdf of VORQ Publication 47";

// Group boxes.
inline constexpr const char* kGroupNuclides = "Nuclides";
inline constexpr const char* kGroupExposure = "Exposure";
inline constexpr const char* kGroupRoutes = "Intake routes";
inline constexpr const char* kGroupAerosol = "Aerosol sizes (um)";
inline constexpr const char* kGroupTissues = "Organs or Tissues";
inline constexpr const char* kGroupPeriods = "Post natal integration periods";
inline constexpr const char* kGroupScenarios = "Intake scenarios";
inline constexpr const char* kGroupOptions = "Options";

// Labels.
inline constexpr const char* kLabelList = "List";
inline constexpr const char* kLabelSelected = "Selected";
inline constexpr const char* kLabelSelect = "Select:";
inline constexpr const char* kLabelAcute = "Acute intakes";
inline constexpr const char* kLabelChronic = "Chronic intakes";

// Check boxes.
inline constexpr const char* kBoxPublic = "Public";
inline constexpr const char* kBoxOccupational = "Occupational";
inline constexpr const char* kBoxAllRoutes = "All routes";
inline constexpr const char* kBoxIngestion = "Ingestion";
inline constexpr const char* kBoxParticulates = "Inhalation - particulates";
inline constexpr const char* kBoxVapours = "Inhalation - vapours";
inline constexpr const char* kBoxAllAerosol = "All sizes";
inline constexpr const char* kBoxAllAcutes = "All acute scenarios";
inline constexpr const char* kBoxAllChronics = "All chronic scenarios";
inline constexpr const char* kBoxAllOrgans = "All organs";
inline constexpr const char* kBoxAllPeriods = "All periods";

// Buttons.
inline constexpr const char* kButtonLoad = "Load options";
inline constexpr const char* kButtonSave = "Save options";
inline constexpr const char* kButtonRun = "Run";
inline constexpr const char* kButtonExit = "Exit";

// Hints, shown as tooltips.
inline constexpr const char* kHintList =
    "Double click to select a nuclide, or type in the 'Select' box";
inline constexpr const char* kHintSelected = "Double click to remove a nuclide";
inline constexpr const char* kHintGrid = "Double click to select a nuclide";
inline constexpr const char* kHintFinder = "Type in nuclide and press enter";
inline constexpr const char* kHintExposure =
    "Breathing parameters are different for members of the public and workers, see help file "
    "for more information";
inline constexpr const char* kHintAerosolGroup = "AMAD in microns";
inline constexpr const char* kHintAerosolList = "Aerosol size microns AMAD";
inline constexpr const char* kHintScenarioLabels =
    "Scenarios listed are for the mother's intake pattern";
inline constexpr const char* kHintAcute = "Acute intakes are for 1 Bq at the time specified";
inline constexpr const char* kHintChronic =
    "Chronic intakes are 1 Bq over the time interval specified";
inline constexpr const char* kHintLoad = "Load options from a file";
inline constexpr const char* kHintSave = "Save current options to a file";

// Items of the check lists, by index.
inline constexpr std::array<const char*, 10> kAerosolItems = {
    "0.001", "0.003", "0.01", "0.03", "0.1", "0.3", "1.0", "3.0", "5.0", "10.0"};
inline constexpr std::array<const char*, 8> kAcuteItems = {
    "2.5 years prior to conception", "6 months prior to conception", "At conception",
    "5 weeks after conception",      "10 weeks after conception",    "15 weeks after conception",
    "25 weeks after conception",     "35 weeks after conception"};
inline constexpr std::array<const char*, 3> kChronicItems = {"5 years before until conception",
                                                             "1 year before until conception",
                                                             "from conception to birth"};
inline constexpr std::array<const char*, 17> kTissueItems = {
    "Bladder", "Bone Surface", "Brain",   "Breast",    "Oesophagus",    "Stomach",
    "Colon",   "Gonads",       "Kidney",  "Liver",     "RBM",           "Lungs",
    "Skin",    "Spleen",       "Thyroid", "Remainder", "Effective Dose"};
inline constexpr std::array<const char*, 5> kPeriodItems = {"1 year", "5 years", "10 years",
                                                            "20 years", "70 years"};

}  // namespace fetaldose::gui::selection_texts
