#pragma once

#include "locations.h"

// State shared by the commands of the main window, alive from start to exit.
// Everything an operation needs only while it runs is its own.
struct ModuleState
{
    // Where the category lists, the help page and the undo log are. Fixed at start.
    creation::Locations locations;
};
