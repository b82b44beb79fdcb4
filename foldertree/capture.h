#pragma once

// Capturing a directory's folder structure into a tree file.

#include "treefile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace foldertree {

// Told how many folder lines a capture has written so far, each time the walk
// lets the window handle its events.
using CaptureProgress = std::function<void(std::size_t lines)>;

// The capture walk: appends to `lines` one line for every directory below
// `path`, in pre-order, the names of `path`'s own subfolders after
// `topIndent`, each level below them two spaces more. Hidden directories
// count, files never; a directory that cannot be read adds nothing. Each
// directory is entered once: a link to one already entered, or to `path` or a
// folder above it, is written and not entered, so the walk is linear in the
// directories on disk. A name treeFileCanHold refuses gets no line and is not
// entered; a directory whose path is too long to open gets its line and is not
// entered. Returns the full paths of both kinds. No recursion: the walk keeps
// one open directory a level.
std::vector<std::string> scanFolderLines(TreeContext &context, const std::string &path,
                                         LineBuffer &lines, std::string_view topIndent,
                                         const CaptureProgress &progress = {});

// Writes the structure of the directory `path` to `fileName`: "<folder>", the
// path as given, then the lines of scanFolderLines two spaces in, whose
// left-out paths it returns. The lines are held only while the capture runs.
// Throws "Cannot create file %s" when the file cannot be written.
std::vector<std::string> captureFolderToFile(TreeContext &context, const std::string &path,
                                             const std::string &fileName,
                                             const CaptureProgress &progress = {});

} // namespace foldertree
