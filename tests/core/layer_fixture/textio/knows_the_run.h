#pragma once
// Knows the run, from below it: refused.
#include "core/run/run.h"
