#pragma once

// The edit history of the folder tree: a folder added, renamed or deleted, a
// click on a box with everything it spreads to, and the whole tree replaced
// are each one step that can be undone and redone. Steps name nodes by index:
// a removed node keeps its index and comes back under it, and a replaced tree
// comes back whole, so the steps before it find their nodes again. Reading
// more of a mirrored folder as a branch opens is no step.

#include "foldertreemodel.h"
#include "state.h"

#include <QUndoStack>
#include <functional>
#include <string_view>

namespace foldertree {

class TreeHistory : public QObject
{
    Q_OBJECT

public:
    // The steps kept; the oldest goes when one more is made.
    static constexpr int StepLimit = 100;

    // Takes over the boxes the person flips in `model` (setTickHandler).
    TreeHistory(FolderTreeModel &model, FolderTreeState &state, QObject *parent = nullptr);
    ~TreeHistory() override;

    // Each edit below is one step; an edit of a node not in the tree, or made
    // while a load runs, does nothing.

    // Appends a ticked child. Returns it, or NoNode.
    NodeId addSubfolder(NodeId parent, std::string_view name);
    void rename(NodeId node, std::string_view text);
    // Removes the node with everything below it; the root empties the tree.
    void remove(NodeId node);
    // Ticks or unticks one box.
    void tick(NodeId node, bool ticked);
    // Ticks or unticks the node and everything below it; ticking also ticks
    // its unticked ancestors. Right after tick() of the same node (the press
    // that flipped its box), this joins that step: a click is one step.
    void spreadTick(NodeId node, bool ticked);
    // Runs `replace`, which may empty the tree and build another (a load, a
    // mirror). When it did, that is one step named `name`, which keeps the old
    // tree as it was, without copying it; otherwise there is no step. A failure
    // `replace` throws goes on after the step is made.
    void replaceTree(const QString &name, const std::function<void()> &replace);

    bool canUndo() const { return m_stack.canUndo(); }
    bool canRedo() const { return m_stack.canRedo(); }
    // "Undo Delete 'Jazz'", or "Undo" when there is nothing to undo.
    QString undoText() const;
    // "Redo Delete 'Jazz'", or "Redo".
    QString redoText() const;
    // The steps to undo and to redo, and the limit.
    const QUndoStack &stack() const { return m_stack; }

    // Undoes or redoes one step; nothing while a load runs.
    void undo();
    void redo();
    // Forgets every step.
    void clear() { m_stack.clear(); }

    // A node's name as a step shows it: in quotes, cut to a readable length.
    static QString quoted(std::string_view name);

signals:
    // The texts or the enabled states of undo and redo changed.
    void changed();

private:
    bool locked() const { return m_state.loadsRunning > 0; }

    FolderTreeModel &m_model;
    FolderTreeState &m_state;
    QUndoStack m_stack;
};

} // namespace foldertree
