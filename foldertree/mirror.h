#pragma once

// Mirror mode: the folder tree shows the subfolders of a folder on disk, two
// levels at a time, and reads further levels as the person expands nodes.

#include "treefile.h"

namespace foldertree {

// Icons of the desktop for paths, kept in an indexed list; 0 means "no icon".
class IconSource
{
public:
    virtual ~IconSource() = default;
    virtual int iconIndex(const std::string &path) = 0;
};

// Replaces the tree by a mirror of the folder at `path`: the root's text is the
// path as given, its image the folder's own icon; two levels read; all ticked.
// Returns loadSubfolders' left-out paths.
std::vector<std::string> mirrorFolder(TreeContext &context, IconSource &icons,
                                      const std::string &path);

// Replaces the node's children by the subfolders of its directory. A node at
// mirrorBaseLevel gets all its subfolders, each with at most its first
// subfolder; a node one level deeper gets at most its first. Names starting
// with "." and files are left out, and so are names a tree file cannot hold
// (treeFileCanHold), whose full paths come back. A link to the mirrored folder
// or to a folder above it shows, without children. Events run once per entry.
std::vector<std::string> loadSubfolders(TreeContext &context, NodeId node);

// As a node expands: in mirror mode, a node holding exactly one child (a
// stand-in for the rest) is read again, and what it then holds takes the
// node's own tick state. Returns loadSubfolders' left-out paths.
std::vector<std::string> loadBranchOnExpand(TreeContext &context, NodeId node);

// The image a node shows: its own, or for an image of 0 the icon of its path,
// and the plain folder (1) when the path has none. Changes nothing: a view
// keeps what it resolved. O(depth) plus the icon look-up.
int imageToShow(const FolderTree &tree, IconSource &icons, NodeId node);

} // namespace foldertree
