#pragma once
// The bottom layer including a window folder: the layer check must refuse it.
#include "gui/app/messages.h"
#include "gui/info/help_books.h"
