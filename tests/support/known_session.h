#pragma once
// The session of the end-to-end fixture (tests/e2e/data), for the tests that run it in
// process.

#include "core/run/selection_snapshot.h"

namespace fetaldose::testing {

// Cs-137 and I-131, both groups, ingestion, the scenario "At conception", Bladder and Brain
// (3 rows), 1 and 70 years. Its three tables are known from the known-good results file beside
// that data set.
inline SelectionSnapshot knownSession() {
    SelectionSnapshot s;
    s.nuclides = {"Cs-137", "I-131"};
    s.halfLives = {"30.0y", "8.04d"};
    s.memberOfPublic = s.occupational = true;
    s.ingestion = true;
    s.acuteScenarios[2] = true;
    s.tissues[0] = s.tissues[2] = true;
    s.periods[0] = s.periods[4] = true;
    return s;
}

}  // namespace fetaldose::testing
