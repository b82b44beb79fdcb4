#pragma once

// What the folder-tree tests share: a tree with its surroundings, and a compact
// text form of a tree's shape.

#include "scripted.h"
#include "treefile.h"

#include <string>

namespace foldertree::testing {

// A plain tree with the scripted desktop around it.
struct Desk
{
    FolderTree tree;
    FolderTreeState state;
    platform::ScriptedFileSystem fileSystem;
    platform::ScriptedUi ui;
    TreeContext context {.editor = tree, .state = state, .fileSystem = fileSystem, .ui = ui};
};

// The children of `node` as "A(A1|A2)|B": names verbatim, children in
// parentheses, siblings separated by '|'.
inline std::string shape(const FolderTree &tree, NodeId node)
{
    std::string text;
    for (std::size_t i = 0; i < tree.childCount(node); ++i) {
        if (i)
            text += '|';
        const NodeId child = tree.child(node, i);
        text += tree.text(child);
        if (tree.childCount(child))
            text += "(" + shape(tree, child) + ")";
    }
    return text;
}

} // namespace foldertree::testing
