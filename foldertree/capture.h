#pragma once

// Capturing a directory's folder structure into a tree file.

#include "treefile.h"

#include <string>
#include <vector>

namespace foldertree {

// The capture walk: one line for every directory below `path`, in pre-order,
// each after `indentPrefix` with two more spaces a level. Hidden directories
// count, files never; a directory that cannot be read adds nothing. Each
// directory is entered once: a link to one already entered, or to `path` or a
// folder above it, is written and not entered, so the walk is linear in the
// directories on disk. A name treeFileCanHold refuses gets no line and is not
// entered; a directory whose path is too long to open gets its line and is not
// entered. Returns the full paths of both kinds.
std::vector<std::string> scanFolderLines(TreeContext &context, const std::string &path,
                                         std::string &indentPrefix);

// Writes the structure of the directory `path` to `fileName`: "<folder>", the
// path as given, then the lines of scanFolderLines, whose left-out paths it
// returns. Throws "Cannot create file %s" when the file cannot be written.
std::vector<std::string> captureFolderToFile(TreeContext &context, const std::string &path,
                                             const std::string &fileName,
                                             std::string &indentPrefix);

} // namespace foldertree
