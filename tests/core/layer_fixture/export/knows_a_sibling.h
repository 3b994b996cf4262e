#pragma once
// Knows a folder of its own step: refused.
#include "core/results/results_file.h"
