#pragma once
// A plain copy of the selection window's controls: what the run and the options file read.
// Check states count whether a control is enabled or not.

#include <array>
#include <string>
#include <vector>

namespace fetaldose {

struct SelectionSnapshot {
    std::vector<std::string> nuclides;   // LstBxNucsChosen, in list order (duplicates allowed)
    std::vector<std::string> halfLives;  // LstBxHalfLife, index-parallel to Nuclides

    bool memberOfPublic = false;  // chkbxMOP
    bool occupational = false;    // chkbxWKR

    bool allRoutes = false;     // ChkBxAllRoutes
    bool ingestion = false;     // chkbxIng
    bool particulates = false;  // chkbxParticulates
    bool vapours = false;       // chkbxVapours

    bool allAerosol = false;         // ChkBxAllAerosol
    std::array<bool, 10> aerosol{};  // chklstbxAerosol items 0..9

    bool allAcutes = false;                // ChkBxAllAcutes
    std::array<bool, 8> acuteScenarios{};  // ChkLstBxAScenarios items 0..7

    bool allChronics = false;                // ChkBxAllChronics
    std::array<bool, 3> chronicScenarios{};  // ChkLstBxCScenarios items 0..2

    bool allOrgans = false;          // ChkBxAllOrgans
    std::array<bool, 17> tissues{};  // chklstbxTissues items 0..16

    bool allPeriods = false;        // ChkBxAllPeriods
    std::array<bool, 5> periods{};  // chklstbxTimes items 0..4

    bool operator==(const SelectionSnapshot&) const = default;
};

}  // namespace fetaldose
