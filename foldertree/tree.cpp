#include "tree.h"

#include <algorithm>
#include <cstring>

namespace foldertree {

FolderTree::FolderTree() = default;

FolderTree::~FolderTree()
{
    for (Node &node : m_nodes)
        releaseChildren(node);
}

void FolderTree::reserve(std::size_t nodes, std::size_t nameBytes)
{
    m_nodes.reserve(m_nodes.size() + nodes);
    m_names.reserve(m_names.size() + nameBytes);
}

bool FolderTree::contains(NodeId node) const
{
    return node < m_nodes.size() && m_nodes[node].alive;
}

void FolderTree::storeName(Node &node, std::string_view text)
{
    node.nameOffset = m_names.size();
    node.nameLength = static_cast<std::uint32_t>(text.size());
    m_names.append(text);
}

NodeId FolderTree::newNode(NodeId parent, std::string_view text, int image)
{
    const NodeId id = static_cast<NodeId>(m_nodes.size());
    Node &node = m_nodes.emplace_back();
    storeName(node, text);
    node.parent = parent;
    node.image = image;
    ++m_alive;
    return id;
}

NodeId FolderTree::addRoot(std::string_view text, int image)
{
    if (!empty())
        clear();
    m_root = newNode(NoNode, text, image);
    return m_root;
}

void FolderTree::growChildren(NodeId node)
{
    ChildList &children = m_nodes[node].children;
    if (children.size < children.capacity)
        return;
    const std::uint32_t capacity = children.capacity ? children.capacity * 2 : 2;
    NodeId *data = new NodeId[capacity];
    if (children.size)
        std::memcpy(data, children.data, children.size * sizeof(NodeId));
    delete[] children.data;
    children.data = data;
    children.capacity = capacity;
}

NodeId FolderTree::appendChild(NodeId parent, std::string_view text, int image)
{
    const NodeId id = newNode(parent, text, image);
    growChildren(parent);
    ChildList &children = m_nodes[parent].children;
    m_nodes[id].row = children.size;
    children.data[children.size++] = id;
    return id;
}

bool FolderTree::restore(const NodeRuns &removed)
{
    if (removed.empty() || removed.front() >= m_nodes.size() || contains(removed.front()))
        return false;
    const NodeId top = removed.front();
    const NodeId parent = m_nodes[top].parent;
    if (!contains(parent))
        return false;
    growChildren(parent);
    ChildList &siblings = m_nodes[parent].children;
    const std::uint32_t row = std::min(m_nodes[top].row, siblings.size);
    std::memmove(siblings.data + row + 1, siblings.data + row,
                 (siblings.size - row) * sizeof(NodeId));
    siblings.data[row] = top;
    ++siblings.size;
    for (std::uint32_t i = row; i < siblings.size; ++i)
        m_nodes[siblings.data[i]].row = i;
    m_nodes[top].alive = true;
    ++m_alive;
    // The others come in pre-order: each parent is back before its children,
    // which come in their order.
    removed.forEach([&](NodeId id) {
        if (id == top)
            return;
        const NodeId up = m_nodes[id].parent;
        growChildren(up);
        ChildList &children = m_nodes[up].children;
        m_nodes[id].row = children.size;
        children.data[children.size++] = id;
        m_nodes[id].alive = true;
        ++m_alive;
    });
    return true;
}

void FolderTree::swap(FolderTree &other) noexcept
{
    for (NodeId *variable : m_watched)
        *variable = NoNode;
    for (NodeId *variable : other.m_watched)
        *variable = NoNode;
    m_nodes.swap(other.m_nodes);
    m_names.swap(other.m_names);
    std::swap(m_root, other.m_root);
    std::swap(m_alive, other.m_alive);
}

void FolderTree::releaseChildren(Node &node)
{
    delete[] node.children.data;
    node.children = {};
}

void FolderTree::forgetWatched(NodeId removedTop)
{
    for (NodeId *variable : m_watched)
        if (*variable != NoNode && contains(*variable) && isWithin(*variable, removedTop))
            *variable = NoNode;
}

void FolderTree::killSubtree(NodeId top)
{
    std::vector<NodeId> stack {top};
    while (!stack.empty()) {
        const NodeId id = stack.back();
        stack.pop_back();
        Node &node = m_nodes[id];
        for (std::uint32_t i = 0; i < node.children.size; ++i)
            stack.push_back(node.children.data[i]);
        releaseChildren(node);
        node.alive = false;
        --m_alive;
    }
}

void FolderTree::removeNode(NodeId node)
{
    if (!contains(node))
        return;
    if (node == m_root) {
        clear();
        return;
    }
    forgetWatched(node);
    ChildList &siblings = m_nodes[m_nodes[node].parent].children;
    const std::uint32_t row = m_nodes[node].row;
    std::memmove(siblings.data + row, siblings.data + row + 1,
                 (siblings.size - row - 1) * sizeof(NodeId));
    --siblings.size;
    for (std::uint32_t i = row; i < siblings.size; ++i)
        m_nodes[siblings.data[i]].row = i;
    killSubtree(node);
}

void FolderTree::removeChildren(NodeId node)
{
    if (!contains(node))
        return;
    ChildList &children = m_nodes[node].children;
    for (std::uint32_t i = 0; i < children.size; ++i) {
        forgetWatched(children.data[i]);
        killSubtree(children.data[i]);
    }
    releaseChildren(m_nodes[node]);
}

void FolderTree::clear()
{
    for (NodeId *variable : m_watched)
        *variable = NoNode;
    for (Node &node : m_nodes)
        releaseChildren(node);
    m_nodes.clear();
    m_names.clear();
    m_root = NoNode;
    m_alive = 0;
}

void FolderTree::setText(NodeId node, std::string_view text)
{
    if (text.size() <= m_nodes[node].nameLength) {
        // Fits where the old name was: no growth of the name store.
        std::memmove(m_names.data() + m_nodes[node].nameOffset, text.data(), text.size());
        m_nodes[node].nameLength = static_cast<std::uint32_t>(text.size());
        return;
    }
    const std::string copy(text); // text may point into the name store
    storeName(m_nodes[node], copy);
}

void FolderTree::setImage(NodeId node, int image)
{
    m_nodes[node].image = image;
}

void FolderTree::setTick(NodeId node, Tick tick)
{
    m_nodes[node].tick = tick;
}

void FolderTree::setSubtreeTick(NodeId top, Tick tick)
{
    std::vector<NodeId> stack {top};
    while (!stack.empty()) {
        const NodeId id = stack.back();
        stack.pop_back();
        Node &node = m_nodes[id];
        node.tick = tick;
        for (std::uint32_t i = node.children.size; i-- > 0;)
            stack.push_back(node.children.data[i]);
    }
}

int FolderTree::level(NodeId node) const
{
    int depth = 0;
    while ((node = m_nodes[node].parent) != NoNode)
        ++depth;
    return depth;
}

bool FolderTree::isWithin(NodeId node, NodeId ancestor) const
{
    for (; node != NoNode; node = m_nodes[node].parent)
        if (node == ancestor)
            return true;
    return false;
}

std::vector<NodeId> FolderTree::preorder() const
{
    if (empty())
        return {};
    return preorder(m_root);
}

std::vector<NodeId> FolderTree::preorder(NodeId top) const
{
    std::vector<NodeId> order;
    if (top == m_root)
        order.reserve(m_alive);
    std::vector<NodeId> stack {top};
    while (!stack.empty()) {
        const NodeId id = stack.back();
        stack.pop_back();
        order.push_back(id);
        const ChildList &children = m_nodes[id].children;
        for (std::uint32_t i = children.size; i-- > 0;)
            stack.push_back(children.data[i]);
    }
    return order;
}

void FolderTree::watch(NodeId *variable)
{
    m_watched.push_back(variable);
}

void FolderTree::unwatch(NodeId *variable)
{
    m_watched.erase(std::remove(m_watched.begin(), m_watched.end(), variable), m_watched.end());
}

bool FolderTree::isConsistent() const
{
    if (empty())
        return m_alive == 0;
    if (!contains(m_root) || m_nodes[m_root].parent != NoNode)
        return false;
    std::size_t reached = 0;
    std::vector<bool> seen(m_nodes.size());
    std::vector<NodeId> stack {m_root};
    while (!stack.empty()) {
        const NodeId id = stack.back();
        stack.pop_back();
        if (!contains(id) || seen[id])
            return false;
        seen[id] = true;
        ++reached;
        const Node &node = m_nodes[id];
        if (node.children.size > node.children.capacity)
            return false;
        for (std::uint32_t i = 0; i < node.children.size; ++i) {
            const NodeId child = node.children.data[i];
            if (child >= m_nodes.size() || m_nodes[child].parent != id || m_nodes[child].row != i)
                return false;
            stack.push_back(child);
        }
        if (node.nameOffset + node.nameLength > m_names.size())
            return false;
    }
    return reached == m_alive;
}

std::size_t FolderTree::memoryUsed() const
{
    std::size_t bytes = m_nodes.capacity() * sizeof(Node) + m_names.capacity();
    for (const Node &node : m_nodes)
        bytes += node.children.capacity * sizeof(NodeId);
    return bytes;
}

bool isNodeTicked(const FolderTree &tree, NodeId node)
{
    return node != NoNode && tree.tick(node) != Tick::Unticked;
}

void setNodeTicked(TreeEditor &editor, NodeId node, bool ticked)
{
    if (node != NoNode)
        editor.setTick(node, ticked ? Tick::Ticked : Tick::Unticked);
}

void setSubtreeTicked(TreeEditor &editor, NodeId node, bool ticked)
{
    if (node != NoNode)
        editor.setSubtreeTick(node, ticked ? Tick::Ticked : Tick::Unticked);
}

void appendPathComponent(std::string &path, std::string_view parentText, std::string_view name,
                         char separator)
{
    if (parentText.empty() || parentText.back() != separator)
        path += separator;
    path += name;
}

std::string nodePath(const FolderTree &tree, NodeId node, char separator)
{
    if (node == NoNode)
        return {};
    std::vector<NodeId> chain;
    for (NodeId at = node; at != NoNode; at = tree.parent(at))
        chain.push_back(at);
    std::string path(tree.text(chain.back()));
    for (std::size_t i = chain.size() - 1; i-- > 0;)
        appendPathComponent(path, tree.text(chain[i + 1]), tree.text(chain[i]), separator);
    return path;
}

} // namespace foldertree
