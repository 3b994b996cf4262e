#pragma once
#include "core/run/run.h"
