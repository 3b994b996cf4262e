#pragma once
// Knows the folders below it: allowed.
#include "core/refdata/catalogue.h"
#include "core/textio/faults.h"
