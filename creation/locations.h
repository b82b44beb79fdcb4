#pragma once

// Where Brindle's files live: the category lists and the help page it reads,
// and the undo log it writes. The window and brindle-cli both ask here, so a run
// made by either is undone by either, from any folder.

#include "services.h"

#include <string>
#include <string_view>
#include <vector>

namespace creation {

// What the rule reads from the environment. Each folder is absolute, without a
// trailing separator; `systemData` in the order looked at.
struct BaseFolders
{
    std::string dataHome; // $XDG_DATA_HOME, else ~/.local/share
    std::vector<std::string> systemData; // $XDG_DATA_DIRS, else /usr/local/share, /usr/share
    std::string stateHome; // $XDG_STATE_HOME, else ~/.local/state
    std::string programPrefix; // PREFIX for a program in PREFIX/bin, else ""
};

// The base folders of this process: the XDG variables (relative values are
// ignored, as the XDG rules say), HOME, and the folder of the running program.
BaseFolders baseFoldersOfProcess();

struct Locations
{
    // Where a data file ("Category/Book.txt", "Help/index.html") is looked for,
    // in order; the first that holds it wins. Each ends with the separator.
    std::vector<std::string> dataFolders;
    // The folders of dataFolders from this index on belong to the system: a list
    // found there is copied to dataFolders[0] before it is edited.
    std::size_t firstSystemFolder = 0;
    // The folder that holds the undo log and its run record, ending with the
    // separator. The undo never sends it, or a folder above it, to the trash.
    std::string logFolder;
    // The log folder is made (private to the user) when a run first writes.
    bool makeLogFolder = false;
};

// The rule, in order:
//  - the settings value "Installdir" set: that folder holds everything (a
//    separator is appended unless it ends with one; an empty value is "/");
//  - else the current folder when it holds a folder "Category";
//  - else the installed layout: data files from <dataHome>/brindle/, then
//    <each systemData>/brindle/, then <programPrefix>/share/brindle/ when not
//    listed already; the undo log in <stateHome>/brindle/.
// Throws "Invalid data type for 'Installdir'" when the value is not text.
Locations findLocations(platform::Settings &settings, platform::FileSystem &fileSystem,
                        const BaseFolders &base);
// The same with the base folders of this process.
Locations findLocations(platform::Settings &settings, platform::FileSystem &fileSystem);

// The path of a data file: in the first data folder that holds it, else in the
// last one looked at (the one a "'%s' is missing." message names).
std::string dataFilePath(const Locations &locations, platform::FileSystem &fileSystem,
                         std::string_view relative);

// The path to open when the person edits a data file. A file that lives in a
// system folder is first copied to the user's data folder (its folders made as
// needed), and the copy is returned: it is the one read from then on. Returns
// "" when no folder holds the file. Throws "Cannot create file %s" when the
// copy cannot be written.
std::string editableDataFile(const Locations &locations, platform::FileSystem &fileSystem,
                             std::string_view relative);

} // namespace creation
