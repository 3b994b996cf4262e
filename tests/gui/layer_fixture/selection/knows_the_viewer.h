#pragma once
// A window folder that includes another window folder: the layer check must refuse it.
#include "gui/results/result_grid.h"
