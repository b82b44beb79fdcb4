#pragma once

// The undo command: the folders of the last run that made any go to the trash.

#include "services.h"

#include <functional>
#include <string>
#include <vector>

namespace creation {

inline constexpr std::string_view UndoQuestion = "Do you want to UNDO the last operation ?";
inline constexpr std::string_view UndoCaption = "Undo Confirmation";
inline constexpr std::string_view UndoDoneMessage = "Undo done.";

struct UndoContext
{
    platform::MessageService &messages;
    platform::FileSystem &fileSystem;
    platform::Ui &ui;
    platform::Trash &trash;
    std::string installFolder;
    std::vector<std::string> &createdFolders;
    std::function<void(bool)> setUndoEnabled;
    // Told of every folder sent to the trash; false stops the undo there.
    platform::ProgressReport progress = {};
};

struct UndoResult
{
    bool confirmed = false;
    std::vector<std::string> trashed;
    std::vector<std::string> keptBack; // could not go to the trash
};

// Asks for confirmation, then sends every folder of the undo log that still
// exists to the trash, in the log's order (the first line of a subtree takes
// all of it). Lines naming nothing, or a file, are passed over. When all went,
// the log is deleted, the button disabled and "Undo done." shown. A folder that
// the trash refuses stays where it is, is named in a message, and stays in the
// log with the button enabled. Nothing is ever deleted permanently.
// Throws "Cannot open file %s" when the log cannot be read.
UndoResult undoLastRun(UndoContext &context);

// The message that names the folders the trash refused.
std::string keptBackMessage(const std::vector<std::string> &paths);

} // namespace creation
