#pragma once

// The undo command: the folders of the last run that made any go to the trash.

#include "services.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace creation {

inline constexpr std::string_view UndoCaption = "Undo Confirmation";

struct UndoContext
{
    platform::MessageService &messages;
    platform::FileSystem &fileSystem;
    platform::Ui &ui;
    platform::Trash &trash;
    // The folder of the undo log (Locations::logFolder), ending with the separator.
    std::string logFolder;
    std::function<void(bool)> setUndoEnabled = {};
    // Told of every folder before it is looked at; false stops the undo there.
    platform::ProgressReport progress = {};
};

struct UndoResult
{
    bool confirmed = false;
    bool stopped = false; // the progress report asked to stop
    std::vector<std::string> trashed;
    std::vector<std::string> keptBack; // could not go to the trash
    std::string refusal; // the reason the trash gave for the first folder it kept back
    std::vector<std::string> skipped; // lines no run could have written
};

// Holds the undo log's lock for the whole command (while another run or undo
// holds it: the busy message, nothing changes), makes a record left by a killed
// run the log, reads the log, and asks for confirmation; the question's details
// say how many folders go to the trash and from where, and which of them now
// hold files the run did not make. Then sends every folder of the log that
// still exists to the trash, in the log's order (the first line of a subtree
// takes all of it). Lines naming nothing, or a file, are passed over.
//
// Only lines a run could have written are touched: an absolute, normalised path
// ("/" first, no ".", ".." or empty component, no "/" last, no NUL) two levels
// or more below "/" that is neither $HOME nor the log's folder (the install
// folder, or the state folder) nor holds either. Other lines are dropped from the log and named in
// a message after the undo.
//
// When all went, the log is deleted, the button disabled and "Undo done."
// shown. A folder that the trash refuses stays where it is, is named in a
// message, and stays in the log with the button enabled; so do the folders not
// reached when the progress report stops the undo. Nothing is ever deleted
// permanently. Cost: linear in the log plus the entries of its folders. Throws
// "Cannot open file %s", before asking, when the log cannot be read.
UndoResult undoLastRun(UndoContext &context);

// The message after an undo that the trash refused folders of: the top-most of
// `keptBack` (at most ten), the trash's reason once, and every folder of
// `keptBack` in its details.
platform::Message keptBackMessage(const std::vector<std::string> &keptBack,
                                  std::string_view reason);

} // namespace creation
