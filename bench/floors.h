#pragma once

// The floors that Brindle's paths are measured against: the least work that
// does the same thing on the same input, written plainly.

#include "linebuffer.h"

#include <string>
#include <vector>

namespace bench {

// stat, then mkdir when missing, for every path in the given (pre-)order.
// Returns the folders made.
std::size_t statMkdirFloor(const std::vector<std::string> &paths);

// A plain readdir walk below `root`, each directory's name written indented by
// two spaces a level to `outFile`. Returns the directories listed.
std::size_t readdirWalkFloor(const std::string &root, const std::string &outFile);

// The file's bytes read from disk, split into lines and placed as a tree, with
// nothing built. `lines` is kept from run to run, as the window keeps its line
// buffer. Returns the entries placed; `phases`, when given, receives the
// seconds of reading, splitting and placing.
std::size_t bareParseFloor(const std::string &treeFile, foldertree::LineBuffer &lines,
                           double *phases = nullptr);

// g_file_trash on each path, in one process. Returns the paths trashed.
std::size_t gioTrashFloor(const std::vector<std::string> &paths);

} // namespace bench
