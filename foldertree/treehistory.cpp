#include "treehistory.h"

#include <array>

namespace foldertree {

namespace {

// A step whose edit was made before it was recorded: its first redo, the one
// QUndoStack::push makes, has nothing left to do.
class Step : public QUndoCommand
{
public:
    explicit Step(const QString &text) : QUndoCommand(text) { }
    void redo() final
    {
        if (m_recorded)
            apply();
        m_recorded = true;
    }
    void undo() final { revert(); }

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;

private:
    bool m_recorded = false;
};

NodeRuns runsOf(const std::vector<NodeId> &nodes)
{
    NodeRuns runs;
    for (NodeId node : nodes)
        runs.push(node);
    return runs;
}

// A subtree taken out of the tree (a delete) or put into it (an add). Taken
// out, its nodes keep their indices, names and ticks, and come back under them.
class SubtreeStep : public Step
{
public:
    enum class Kind { Removed, Added };
    SubtreeStep(const QString &text, FolderTreeModel &model, Kind kind, NodeId top,
                NodeRuns removed = {})
        : Step(text), m_model(model), m_kind(kind), m_top(top), m_removed(std::move(removed))
    { }

protected:
    void apply() override { m_kind == Kind::Removed ? takeOut() : bringBack(); }
    void revert() override { m_kind == Kind::Removed ? bringBack() : takeOut(); }

private:
    void takeOut()
    {
        if (!m_model.tree().contains(m_top))
            return;
        m_removed = runsOf(m_model.tree().preorder(m_top));
        m_model.removeNode(m_top);
    }
    void bringBack()
    {
        m_model.restore(m_removed);
        m_removed = {};
    }

    FolderTreeModel &m_model;
    Kind m_kind;
    NodeId m_top;
    NodeRuns m_removed; // while taken out: its nodes in pre-order
};

class RenameStep : public Step
{
public:
    RenameStep(const QString &text, FolderTreeModel &model, NodeId node, std::string before,
               std::string after)
        : Step(text),
          m_model(model),
          m_node(node),
          m_before(std::move(before)),
          m_after(std::move(after))
    { }

protected:
    void apply() override { name(m_after); }
    void revert() override { name(m_before); }

private:
    void name(const std::string &text)
    {
        if (m_model.tree().contains(m_node))
            m_model.setText(m_node, text);
    }

    FolderTreeModel &m_model;
    NodeId m_node;
    std::string m_before;
    std::string m_after;
};

// Boxes set to one state: one node's, or a whole subtree's. The states before
// are kept per state, as runs of indices, so a subtree of a million nodes read
// from a file that were all ticked costs a few bytes.
struct TickPart
{
    NodeId top = NoNode;
    bool subtree = false;
    Tick tick = Tick::Ticked;
    std::array<NodeRuns, 3> before; // indexed by the Tick before
};

TickPart tickPart(const FolderTree &tree, NodeId top, bool subtree, Tick tick)
{
    TickPart part {top, subtree, tick, {}};
    auto note = [&](NodeId node) { part.before[static_cast<int>(tree.tick(node))].push(node); };
    if (subtree)
        for (NodeId node : tree.preorder(top))
            note(node);
    else
        note(top);
    return part;
}

// The boxes of one click: the one flipped and all it spread to.
class TickStep : public Step
{
public:
    static constexpr int Id = 1;

    TickStep(const QString &text, FolderTreeModel &model, std::vector<TickPart> parts, bool spread)
        : Step(text), m_model(model), m_parts(std::move(parts)), m_spread(spread)
    { }

    int id() const override { return Id; }
    // A spread joins the flip of its own node's box made just before it.
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const TickStep *>(other);
        if (m_spread || m_joined || !next->m_spread
            || next->m_parts.front().top != m_parts.front().top)
            return false;
        m_parts.insert(m_parts.end(), next->m_parts.begin(), next->m_parts.end());
        m_joined = true;
        return true;
    }

protected:
    void apply() override
    {
        const FolderTree &tree = m_model.tree();
        for (const TickPart &part : m_parts) {
            if (!tree.contains(part.top))
                continue;
            if (part.subtree)
                m_model.setSubtreeTick(part.top, part.tick);
            else
                m_model.setTick(part.top, part.tick);
        }
    }
    void revert() override
    {
        for (auto part = m_parts.rbegin(); part != m_parts.rend(); ++part)
            for (int tick = 0; tick < 3; ++tick)
                m_model.setTicks(part->before[tick], static_cast<Tick>(tick));
    }

private:
    FolderTreeModel &m_model;
    std::vector<TickPart> m_parts;
    bool m_spread;
    bool m_joined = false;
};

// What the state says about the tree as a whole, which comes and goes with it.
struct TreeMode
{
    bool mirrorMode = false;
    int mirrorBaseLevel = 0;
    NodeId rootNode = NoNode;

    static TreeMode of(const FolderTreeState &state)
    {
        return {state.mirrorMode, state.mirrorBaseLevel, state.rootNode};
    }
    void setIn(FolderTreeState &state) const
    {
        state.mirrorMode = mirrorMode;
        state.mirrorBaseLevel = mirrorBaseLevel;
        state.rootNode = rootNode;
    }
};

// The whole tree replaced. The step holds the tree not shown, moved, never
// copied: the old one until undone, the new one after.
class ReplaceStep : public Step
{
public:
    ReplaceStep(const QString &text, FolderTreeModel &model, FolderTreeState &state,
                FolderTree &old, TreeMode oldMode)
        : Step(text), m_model(model), m_state(state), m_mode(oldMode)
    {
        m_other.swap(old);
    }

protected:
    void apply() override { exchange(); }
    void revert() override { exchange(); }

private:
    void exchange()
    {
        const TreeMode shown = TreeMode::of(m_state);
        m_model.swapTree(m_other);
        m_mode.setIn(m_state);
        m_mode = shown;
        if (!m_model.tree().empty())
            m_model.expand(m_model.tree().root());
    }

    FolderTreeModel &m_model;
    FolderTreeState &m_state;
    FolderTree m_other;
    TreeMode m_mode; // of m_other
};

} // namespace

TreeHistory::TreeHistory(FolderTreeModel &model, FolderTreeState &state, QObject *parent)
    : QObject(parent), m_model(model), m_state(state)
{
    m_stack.setUndoLimit(StepLimit);
    m_model.setTickHandler([this](NodeId node, bool ticked) { tick(node, ticked); });
    for (auto signal : {&QUndoStack::canUndoChanged, &QUndoStack::canRedoChanged})
        connect(&m_stack, signal, this, &TreeHistory::changed);
    for (auto signal : {&QUndoStack::undoTextChanged, &QUndoStack::redoTextChanged})
        connect(&m_stack, signal, this, &TreeHistory::changed);
}

TreeHistory::~TreeHistory()
{
    m_model.setTickHandler({});
}

QString TreeHistory::quoted(std::string_view name)
{
    constexpr qsizetype Longest = 40;
    QString text = displayText(name.substr(0, 4 * Longest + 4));
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QChar(0xFFFD);
    if (text.size() > Longest)
        text = text.left(Longest) + QChar(0x2026);
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString TreeHistory::undoText() const
{
    return m_stack.canUndo() ? tr("Undo ") + m_stack.undoText() : tr("Undo");
}

QString TreeHistory::redoText() const
{
    return m_stack.canRedo() ? tr("Redo ") + m_stack.redoText() : tr("Redo");
}

void TreeHistory::undo()
{
    if (!locked())
        m_stack.undo();
}

void TreeHistory::redo()
{
    if (!locked())
        m_stack.redo();
}

NodeId TreeHistory::addSubfolder(NodeId parent, std::string_view name)
{
    if (locked() || !m_model.tree().contains(parent))
        return NoNode;
    const NodeId child = m_model.appendChild(parent, name, NewFolderImage);
    setNodeTicked(m_model, child, true);
    m_stack.push(new SubtreeStep(tr("Add subfolder ") + quoted(name), m_model,
                                 SubtreeStep::Kind::Added, child));
    return child;
}

void TreeHistory::rename(NodeId node, std::string_view text)
{
    const FolderTree &tree = m_model.tree();
    if (locked() || !tree.contains(node))
        return;
    std::string before(tree.text(node));
    const QString name = tr("Rename ") + quoted(before);
    m_model.setText(node, text);
    m_stack.push(new RenameStep(name, m_model, node, std::move(before), std::string(text)));
}

void TreeHistory::remove(NodeId node)
{
    const FolderTree &tree = m_model.tree();
    if (locked() || !tree.contains(node))
        return;
    const QString name = tr("Delete ") + quoted(tree.text(node));
    if (node == tree.root()) {
        replaceTree(name, [&] { m_model.removeNode(node); });
        return;
    }
    NodeRuns removed = runsOf(tree.preorder(node));
    m_model.removeNode(node);
    m_stack.push(
        new SubtreeStep(name, m_model, SubtreeStep::Kind::Removed, node, std::move(removed)));
}

void TreeHistory::tick(NodeId node, bool ticked)
{
    const FolderTree &tree = m_model.tree();
    if (locked() || !tree.contains(node))
        return;
    const Tick tick = ticked ? Tick::Ticked : Tick::Unticked;
    std::vector<TickPart> parts {tickPart(tree, node, false, tick)};
    m_model.setTick(node, tick);
    m_stack.push(new TickStep((ticked ? tr("Tick ") : tr("Untick ")) + quoted(tree.text(node)),
                              m_model, std::move(parts), false));
}

void TreeHistory::spreadTick(NodeId node, bool ticked)
{
    const FolderTree &tree = m_model.tree();
    if (locked() || !tree.contains(node))
        return;
    const Tick tick = ticked ? Tick::Ticked : Tick::Unticked;
    std::vector<TickPart> parts {tickPart(tree, node, true, tick)};
    if (ticked)
        for (NodeId up = tree.parent(node); up != NoNode && !isNodeTicked(tree, up);
             up = tree.parent(up))
            parts.push_back(tickPart(tree, up, false, Tick::Ticked));
    for (const TickPart &part : parts) {
        if (part.subtree)
            m_model.setSubtreeTick(part.top, part.tick);
        else
            m_model.setTick(part.top, part.tick);
    }
    m_stack.push(new TickStep((ticked ? tr("Tick ") : tr("Untick ")) + quoted(tree.text(node)),
                              m_model, std::move(parts), true));
}

void TreeHistory::replaceTree(const QString &name, const std::function<void()> &replace)
{
    if (locked())
        return;
    const TreeMode before = TreeMode::of(m_state);
    FolderTree old;
    bool cleared = false;
    m_model.keepNextClear(&old, &cleared);
    auto record = [&] {
        m_model.keepNextClear(nullptr, nullptr);
        if (cleared)
            m_stack.push(new ReplaceStep(name, m_model, m_state, old, before));
    };
    try {
        replace();
    } catch (...) {
        record();
        throw;
    }
    record();
}

} // namespace foldertree
