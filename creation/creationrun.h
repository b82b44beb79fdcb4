#pragma once

// "Create Now": every ticked folder of the tree made below the target location,
// the folders made recorded in the undo log.

#include "tree.h"

#include <functional>
#include <string>
#include <vector>

namespace creation {

inline constexpr std::string_view UndoLogName = "undo.udo";

struct CreationContext
{
    foldertree::TreeEditor &editor;
    platform::MessageService &messages;
    platform::FileSystem &fileSystem;
    platform::Ui &ui;
    platform::Shell &shell;
    // The folder of the undo log (Locations::logFolder), ending with the
    // separator; the log and the run's record are written there.
    std::string logFolder;
    std::function<void()> focusTargetLocation = {};
    std::function<void()> enableUndo = {};
    // Shows the trimmed target location in the target box.
    std::function<void(const std::string &)> showTarget = {};
    // Told of every folder made; false stops the run as Abort does.
    platform::ProgressReport progress = {};
    // Makes a missing log folder, private to the user, before the run's record
    // is created (Locations::makeLogFolder).
    bool makeLogFolder = false;
};

struct CreationResult
{
    bool started = false; // false: refused (busy) or stopped before the walk
    int created = 0; // folders made below the target
    bool openTarget = false; // the person asked to open the target location
};

// Runs "Create Now". `targetLocation` is the text of the target box; it is
// trimmed in place. The steps, in order: refuse silently while the busy pointer
// shows; "Please select a task at left panel." for an empty tree; the folder
// holding the target must exist; the target is made when missing (Abort, Retry,
// Ignore); every ticked node in pre-order is made, descending into children whose
// names pass checkFolderName; the undo log is written when anything was made;
// the summary. A name that would lead outside the target ("." or "..", a ".."
// component, an absolute path) or that holds a control character is refused
// with everything below it; a target holding a control character is refused
// whole. Folders are made relative to the target's open folder: a link below
// the target is never followed. While another run or undo holds the undo log,
// the run is refused with the LogBusy message. Each folder made is written to the
// run's record at once, and the record becomes the undo log at the end.
// Throws "Cannot create file %s" when the undo log cannot be written: before
// anything is made when its record cannot be created.
CreationResult createTickedFolders(CreationContext &context, std::string &targetLocation);

// The message for a name that would lead outside the target location.
platform::MessageText outsideTargetMessage(std::string_view name);
// The messages for a folder name and a target location that hold a control
// character (a line break, a tab, an escape): shown escaped.
platform::MessageText controlCharacterMessage(std::string_view name);
platform::MessageText targetControlCharacterMessage(std::string_view target);

// The undo log in `logFolder` (which ends with the separator).
std::string undoLogPath(const std::string &logFolder);

} // namespace creation
