#pragma once
// What loading an options file needs of the selection window. The window implements it with
// its real controls, so a box set here runs its enabling rule exactly as a click does (only
// when its state really changes); setting a list item runs nothing.

#include <string>
#include <string_view>

namespace fetaldose {

enum class SelectionBox {
    Public,        // chkbxMOP
    Occupational,  // chkbxWKR
    AllRoutes,     // ChkBxAllRoutes
    Ingestion,     // chkbxIng
    Particulates,  // chkbxParticulates
    Vapours,       // chkbxVapours
    AllAerosol,    // ChkBxAllAerosol
    AllAcutes,     // ChkBxAllAcutes
    AllChronics,   // ChkBxAllChronics
    AllOrgans,     // ChkBxAllOrgans
    AllPeriods,    // ChkBxAllPeriods
};

enum class SelectionList {
    Aerosol,           // chklstbxAerosol, 10 items
    AcuteScenarios,    // ChkLstBxAScenarios, 8 items
    ChronicScenarios,  // ChkLstBxCScenarios, 3 items
    Tissues,           // chklstbxTissues, 17 items
    Periods,           // chklstbxTimes, 5 items
};

class ControlsSink {
  public:
    virtual ~ControlsSink() = default;
    // Empties LstBxNucsChosen and its twin LstBxHalfLife.
    virtual void clearChosen() = 0;
    // Appends a name to LstBxNucsChosen and a half-life at the same index to LstBxHalfLife.
    virtual void appendChosen(const std::string& name, const std::string& halfLife) = 0;
    virtual void setBox(SelectionBox box, bool checked) = 0;
    virtual void setItem(SelectionList list, int index, bool checked) = 0;
    // Whether the nuclide's data file exists in the data directory fixed at start-up.
    virtual bool dataFileExists(std::string_view nuclideName) = 0;
};

}  // namespace fetaldose
