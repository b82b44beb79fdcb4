#pragma once

#include "tree.h"

namespace foldertree {

// What the window's commands on the folder tree share, alive as long as the
// main window.
struct FolderTreeState
{
    // The node under the pointer at its last move over the tree, or NoNode.
    NodeId nodeUnderPointer = NoNode;
    // Its tick state at that move.
    bool nodeUnderPointerTicked = false;
    // The level that a disk load counts its depth from.
    int mirrorBaseLevel = 0;
    // Mirror mode: the tree shows a folder on disk and expanding reads it.
    bool mirrorMode = false;
    // The root made by the last reset of the tree, or NoNode.
    NodeId rootNode = NoNode;

    // Loads under way (a file being read, a folder being mirrored or expanded).
    // While one runs, nothing else may change the tree.
    int loadsRunning = 0;
};

// Marks a load as running for the life of the object.
class LoadGuard
{
public:
    explicit LoadGuard(FolderTreeState &state) : m_state(state) { ++m_state.loadsRunning; }
    ~LoadGuard() { --m_state.loadsRunning; }
    LoadGuard(const LoadGuard &) = delete;
    LoadGuard &operator=(const LoadGuard &) = delete;

private:
    FolderTreeState &m_state;
};

// Keeps the state's node variables from ever naming a removed node.
class StateWatch
{
public:
    StateWatch(FolderTree &tree, FolderTreeState &state) : m_tree(tree), m_state(state)
    {
        m_tree.watch(&m_state.nodeUnderPointer);
        m_tree.watch(&m_state.rootNode);
    }
    ~StateWatch()
    {
        m_tree.unwatch(&m_state.nodeUnderPointer);
        m_tree.unwatch(&m_state.rootNode);
    }
    StateWatch(const StateWatch &) = delete;
    StateWatch &operator=(const StateWatch &) = delete;

private:
    FolderTree &m_tree;
    FolderTreeState &m_state;
};

} // namespace foldertree
