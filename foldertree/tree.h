#pragma once

// The folder tree: one optional root node and folder nodes below it, each with
// a name (bytes, exactly as read or typed), a tick state and an image index.
// Nodes live in one arena and are named by index; an index stays valid until
// its node is removed or the tree is cleared. Nothing here recurses.

#include "services.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace foldertree {

using NodeId = std::uint32_t;
inline constexpr NodeId NoNode = 0xFFFFFFFFu;

// The images a node shows while the tree is a plan of folders to make, by
// their index. While it mirrors a folder on disk, an index names one of the
// desktop's icons instead, 0 meaning "not looked up yet".
enum FolderImage : int { PlainFolderImage = 0, NewFolderImage = 1, ExistingFolderImage = 2 };

// None is the state of a node that no operation has set; it counts as ticked.
enum class Tick : std::uint8_t { None, Unticked, Ticked };

// The edits of the tree. FolderTree does them directly; the item model of the
// window wraps each one with the notifications its views need.
class TreeEditor
{
public:
    virtual ~TreeEditor() = default;
    virtual const class FolderTree &tree() const = 0;

    // Adds the root of an empty tree.
    virtual NodeId addRoot(std::string_view text, int image) = 0;
    // Appends a child after the existing ones. Tick state None.
    virtual NodeId appendChild(NodeId parent, std::string_view text, int image) = 0;
    // Removes the node with everything below it; the root empties the tree.
    virtual void removeNode(NodeId node) = 0;
    virtual void removeChildren(NodeId node) = 0;
    virtual void clear() = 0;
    virtual void setText(NodeId node, std::string_view text) = 0;
    virtual void setImage(NodeId node, int image) = 0;
    virtual void setTick(NodeId node, Tick tick) = 0;
    // The node and every node below it, in pre-order. O(subtree).
    virtual void setSubtreeTick(NodeId node, Tick tick) = 0;

    // Many edits to come (a file being read): views may be told once at the end,
    // and at each publish() in between. Edits keep their order.
    // Room for this many more nodes and name bytes, so a large load grows nothing.
    virtual void reserve(std::size_t nodes, std::size_t nameBytes) = 0;

    virtual void beginBulk() { }
    virtual void publish() { }
    virtual void endBulk() { }
    // Shows the node's children in the views (expands it one level).
    virtual void expand(NodeId) { }
};

// A sequence of node indices kept as runs of consecutive ones: a tree read
// from a file numbers its nodes in pre-order, so a subtree of it is one run or
// a few, however many nodes it holds.
class NodeRuns
{
public:
    void push(NodeId node)
    {
        if (!m_runs.empty() && m_runs.back().first + m_runs.back().count == node)
            ++m_runs.back().count;
        else
            m_runs.push_back({node, 1});
    }
    bool empty() const { return m_runs.empty(); }
    NodeId front() const { return m_runs.front().first; }
    // Calls `visit` with every index, in the order pushed.
    template<typename Visit> void forEach(Visit &&visit) const
    {
        for (const Run &run : m_runs)
            for (std::uint32_t i = 0; i < run.count; ++i)
                visit(run.first + i);
    }

private:
    struct Run
    {
        NodeId first;
        std::uint32_t count;
    };
    std::vector<Run> m_runs;
};

class FolderTree : public TreeEditor
{
public:
    FolderTree();
    ~FolderTree() override;
    FolderTree(const FolderTree &) = delete;
    FolderTree &operator=(const FolderTree &) = delete;

    const FolderTree &tree() const override { return *this; }

    NodeId addRoot(std::string_view text, int image) override;
    NodeId appendChild(NodeId parent, std::string_view text, int image) override;
    void removeNode(NodeId node) override;
    void removeChildren(NodeId node) override;
    void clear() override;
    void setText(NodeId node, std::string_view text) override;
    void setImage(NodeId node, int image) override;
    void setTick(NodeId node, Tick tick) override;
    void setSubtreeTick(NodeId node, Tick tick) override;

    void reserve(std::size_t nodes, std::size_t nameBytes) override;

    NodeId root() const { return m_root; }
    bool empty() const { return m_root == NoNode; }
    // Nodes in the tree now.
    std::size_t size() const { return m_alive; }
    bool contains(NodeId node) const;
    // Every node index is below this bound.
    std::size_t idBound() const { return m_nodes.size(); }

    NodeId parent(NodeId node) const { return m_nodes[node].parent; }
    std::size_t childCount(NodeId node) const { return m_nodes[node].children.size; }
    NodeId child(NodeId node, std::size_t row) const { return m_nodes[node].children.data[row]; }
    // Position among its siblings; 0 for the root. O(1).
    std::size_t row(NodeId node) const { return m_nodes[node].row; }
    // Number of ancestors; 0 for the root. O(depth).
    int level(NodeId node) const;
    std::string_view text(NodeId node) const
    {
        const Node &n = m_nodes[node];
        return {m_names.data() + n.nameOffset, n.nameLength};
    }
    int image(NodeId node) const { return m_nodes[node].image; }
    Tick tick(NodeId node) const { return m_nodes[node].tick; }
    // True when `node` is `ancestor` or lies below it. O(depth).
    bool isWithin(NodeId node, NodeId ancestor) const;

    // Every node from the root, each before its children, children in order.
    // Index 0 is the root. O(n).
    std::vector<NodeId> preorder() const;
    // The same for the subtree of `top`. O(subtree).
    std::vector<NodeId> preorder(NodeId top) const;

    // Brings back a subtree taken out by removeNode, under the same indices:
    // `removed` is its preorder() from just before the removal. Its top goes
    // back to its old row among its parent's children (the last row when there
    // are fewer now). Does nothing and returns false unless the parent is in
    // the tree and the top is not. O(subtree + siblings).
    bool restore(const NodeRuns &removed);

    // Exchanges the nodes of the two trees, in O(1). The variables either tree
    // watches are set to NoNode; the watches themselves stay.
    void swap(FolderTree &other) noexcept;

    // Variables that name a node and must never name a removed one: they are set
    // to NoNode when their node goes. The variable must outlive the watch.
    void watch(NodeId *variable);
    void unwatch(NodeId *variable);

    // Checks every link between parents and children. O(n). For tests.
    bool isConsistent() const;

    // Bytes held for nodes and names, for measurements.
    std::size_t memoryUsed() const;

private:
    // A compact growable array of child indices: 16 bytes, no allocation for leaves.
    struct ChildList
    {
        NodeId *data = nullptr;
        std::uint32_t size = 0;
        std::uint32_t capacity = 0;
    };
    struct Node
    {
        std::uint64_t nameOffset = 0;
        std::uint32_t nameLength = 0;
        NodeId parent = NoNode;
        std::uint32_t row = 0;
        std::int32_t image = 0;
        Tick tick = Tick::None;
        bool alive = true;
        ChildList children;
    };

    NodeId newNode(NodeId parent, std::string_view text, int image);
    // Room in the node's child list for one more.
    void growChildren(NodeId node);
    void storeName(Node &node, std::string_view text);
    void killSubtree(NodeId node);
    void releaseChildren(Node &node);
    void forgetWatched(NodeId removedTop);

    std::vector<Node> m_nodes;
    std::string m_names;
    NodeId m_root = NoNode;
    std::size_t m_alive = 0;
    std::vector<NodeId *> m_watched;
};

// Ticks and node paths, as the window, the creation run and the capture use them.

// True unless the node is unticked; NoNode gives false.
bool isNodeTicked(const FolderTree &tree, NodeId node);
// Ticks or unticks one node; NoNode does nothing.
void setNodeTicked(TreeEditor &editor, NodeId node, bool ticked);
// Ticks or unticks the node and everything below it; NoNode does nothing.
void setSubtreeTicked(TreeEditor &editor, NodeId node, bool ticked);

// The node's full path: the root's text and the names below it joined with the
// separator, none added after a text that already ends with one (an empty text
// has no last character and gets one). NoNode gives "". O(path length).
std::string nodePath(const FolderTree &tree, NodeId node, char separator = platform::Separator);

// Joins a parent's path and a child's name by the rule of nodePath, where
// `parentText` is the parent's own name.
void appendPathComponent(std::string &path, std::string_view parentText, std::string_view name,
                         char separator = platform::Separator);

} // namespace foldertree
