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

    bool Public = false;        // chkbxMOP
    bool Occupational = false;  // chkbxWKR

    bool AllRoutes = false;     // ChkBxAllRoutes
    bool Ingestion = false;     // chkbxIng
    bool Particulates = false;  // chkbxParticulates
    bool Vapours = false;       // chkbxVapours

    bool AllAerosol = false;               // ChkBxAllAerosol
    std::array<bool, 10> Aerosol{};        // chklstbxAerosol items 0..9

    bool AllAcutes = false;                // ChkBxAllAcutes
    std::array<bool, 8> AcuteScenarios{};  // ChkLstBxAScenarios items 0..7

    bool AllChronics = false;                // ChkBxAllChronics
    std::array<bool, 3> ChronicScenarios{};  // ChkLstBxCScenarios items 0..2

    bool AllOrgans = false;         // ChkBxAllOrgans
    std::array<bool, 17> Tissues{};  // chklstbxTissues items 0..16

    bool AllPeriods = false;        // ChkBxAllPeriods
    std::array<bool, 5> Periods{};  // chklstbxTimes items 0..4

    bool operator==(const SelectionSnapshot&) const = default;
};

}  // namespace fetaldose
