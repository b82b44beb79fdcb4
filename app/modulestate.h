#pragma once

#include "locations.h"
#include "linebuffer.h"

#include <string>
#include <vector>

// State shared by the commands of the main window, alive from start to exit.
struct ModuleState
{
    // Where the category lists, the help page and the undo log are. Fixed at start.
    creation::Locations locations;
    // The lines of a tree file being read or written, of a captured folder
    // structure, or of a file being sorted. Every user clears it first.
    foldertree::LineBuffer lineBuffer;
    // The folders made by the current creation run; the undo command reads the
    // undo log into it.
    std::vector<std::string> createdFolders;
    // The blanks put before each name during a folder capture.
    std::string indentPrefix;
};
