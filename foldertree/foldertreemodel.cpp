#include "foldertreemodel.h"

#include <QFileInfo>
#include <algorithm>

namespace foldertree {

namespace {

constexpr std::size_t BulkRowLimit = 10000;

} // namespace

QString displayText(std::string_view bytes)
{
    return QString::fromLocal8Bit(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

namespace {

// The longest name a row shows: a longer one could not be made anyway, and
// laying out megabytes of text on every repaint would freeze the window.
constexpr std::size_t LongestShownName = 1000;

QString shownText(std::string_view bytes)
{
    if (bytes.size() <= LongestShownName)
        return displayText(bytes);
    std::size_t cut = LongestShownName;
    while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
        --cut; // not inside a UTF-8 character
    return displayText(bytes.substr(0, cut)) + QChar(0x2026);
}

} // namespace

IconList::IconList()
{
    m_icons.emplace_back(); // 0: no icon
    m_icons.push_back(m_provider.icon(QAbstractFileIconProvider::Folder));
}

int IconList::iconIndex(const std::string &path)
{
    const QIcon icon = m_provider.icon(QFileInfo(QString::fromLocal8Bit(path.c_str())));
    if (icon.isNull())
        return 0;
    const QString key = icon.name().isEmpty() ? QString::number(icon.cacheKey()) : icon.name();
    auto known = m_byName.constFind(key);
    if (known != m_byName.constEnd())
        return known.value();
    const int index = static_cast<int>(m_icons.size());
    m_icons.push_back(icon);
    m_byName.insert(key, index);
    return index;
}

QIcon IconList::icon(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_icons.size())
        return {};
    return m_icons[static_cast<std::size_t>(index)];
}

FolderTreeModel::FolderTreeModel(FolderTree &tree, const FolderTreeState &state, IconList &icons,
                                 std::vector<QIcon> planImages, QObject *parent)
    : QAbstractItemModel(parent),
      m_tree(tree),
      m_state(state),
      m_icons(icons),
      m_planImages(std::move(planImages))
{ }

NodeId FolderTreeModel::nodeOf(const QModelIndex &index) const
{
    if (!index.isValid())
        return NoNode;
    return static_cast<NodeId>(index.internalId());
}

QModelIndex FolderTreeModel::indexOf(NodeId node) const
{
    if (node == NoNode || !m_tree.contains(node))
        return {};
    return createIndex(static_cast<int>(m_tree.row(node)), 0, static_cast<quintptr>(node));
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid()) {
        if (row != 0 || m_tree.empty())
            return {};
        return createIndex(0, 0, static_cast<quintptr>(m_tree.root()));
    }
    const NodeId node = nodeOf(parent);
    if (static_cast<std::size_t>(row) >= shownChildCount(node))
        return {};
    return createIndex(row, 0,
                       static_cast<quintptr>(m_tree.child(node, static_cast<std::size_t>(row))));
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const NodeId node = nodeOf(child);
    if (node == NoNode)
        return {};
    return indexOf(m_tree.parent(node));
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_tree.empty() ? 0 : 1;
    if (parent.column() != 0)
        return 0;
    return static_cast<int>(shownChildCount(nodeOf(parent)));
}

bool FolderTreeModel::hasChildren(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return !m_tree.empty();
    return parent.column() == 0 && shownChildCount(nodeOf(parent)) > 0;
}

std::size_t FolderTreeModel::shownChildCount(NodeId node) const
{
    const std::size_t count = m_tree.childCount(node);
    if (!m_bulk)
        return count;
    // While a load runs, a folder shows at most a few screens of its children:
    // the view lays out every row it is shown at each publish, and a flat list
    // of a million would be laid out again at every one.
    return std::min(publishedChildCount(node, count), BulkRowLimit);
}

std::size_t FolderTreeModel::publishedChildCount(NodeId node, std::size_t count) const
{
    if (count == 0 || m_tree.child(node, count - 1) < m_shownBound)
        return count;
    // Children appended since the last publish have higher ids than any shown
    // node and come last.
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (m_tree.child(node, middle) < m_shownBound)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const NodeId node = nodeOf(index);
    if (node == NoNode)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return shownText(m_tree.text(node));
    case Qt::CheckStateRole:
        return m_tree.tick(node) == Tick::Ticked ? Qt::Checked : Qt::Unchecked;
    case Qt::DecorationRole: {
        if (!m_state.mirrorMode) {
            const int image = m_tree.image(node);
            if (image >= 0 && static_cast<std::size_t>(image) < m_planImages.size())
                return m_planImages[static_cast<std::size_t>(image)];
            return {};
        }
        // The desktop's icon of a path is looked up when its row is first drawn.
        auto known = m_shownIcons.find(node);
        if (known == m_shownIcons.end())
            known = m_shownIcons.emplace(node, imageToShow(m_tree, m_icons, node)).first;
        return m_icons.icon(known->second);
    }
    default:
        return {};
    }
}

bool FolderTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const NodeId node = nodeOf(index);
    if (node == NoNode || role != Qt::CheckStateRole)
        return false;
    // A box changed without the mouse: that node alone.
    const bool ticked = value.toInt() == Qt::Checked;
    if (m_tickHandler)
        m_tickHandler(node, ticked);
    else
        setNodeTicked(*this, node, ticked);
    return true;
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

void FolderTreeModel::changed(NodeId node, const QList<int> &roles)
{
    // During a bulk load every publish is a reset that reads everything again.
    if (m_bulk)
        return;
    const QModelIndex at = indexOf(node);
    emit dataChanged(at, at, roles);
}

void FolderTreeModel::holdViews()
{
    if (m_bulk && !m_resetOpen) {
        beginResetModel();
        m_resetOpen = true;
    }
}

NodeId FolderTreeModel::addRoot(std::string_view text, int image)
{
    holdViews();
    if (m_bulk)
        return m_tree.addRoot(text, image);
    if (!m_tree.empty())
        clear();
    beginInsertRows({}, 0, 0);
    const NodeId root = m_tree.addRoot(text, image);
    endInsertRows();
    return root;
}

NodeId FolderTreeModel::appendChild(NodeId parent, std::string_view text, int image)
{
    if (m_bulk) // the new node's id is above m_shownBound: the views see it at the next publish
        return m_tree.appendChild(parent, text, image);
    const int row = static_cast<int>(m_tree.childCount(parent));
    beginInsertRows(indexOf(parent), row, row);
    const NodeId child = m_tree.appendChild(parent, text, image);
    endInsertRows();
    return child;
}

void FolderTreeModel::removeNode(NodeId node)
{
    m_shownIcons.clear();
    holdViews();
    if (!m_tree.contains(node))
        return;
    if (m_bulk || node == m_tree.root()) {
        if (node == m_tree.root())
            clear();
        else
            m_tree.removeNode(node);
        return;
    }
    const int row = static_cast<int>(m_tree.row(node));
    beginRemoveRows(indexOf(m_tree.parent(node)), row, row);
    m_tree.removeNode(node);
    endRemoveRows();
}

void FolderTreeModel::removeChildren(NodeId node)
{
    m_shownIcons.clear();
    holdViews();
    if (!m_tree.contains(node) || m_tree.childCount(node) == 0)
        return;
    if (m_bulk) {
        m_tree.removeChildren(node);
        return;
    }
    beginRemoveRows(indexOf(node), 0, static_cast<int>(m_tree.childCount(node)) - 1);
    m_tree.removeChildren(node);
    endRemoveRows();
}

void FolderTreeModel::clear()
{
    m_shownIcons.clear();
    holdViews();
    if (!m_bulk)
        beginResetModel();
    // An empty tree needs no keeping, and its room is reused by the next.
    if (m_keeper && !m_tree.empty())
        m_tree.swap(*m_keeper);
    m_tree.clear();
    if (m_keeper) {
        *m_cleared = true;
        m_keeper = nullptr;
        m_cleared = nullptr;
    }
    if (!m_bulk)
        endResetModel();
}

void FolderTreeModel::setText(NodeId node, std::string_view text)
{
    m_shownIcons.clear();
    m_tree.setText(node, text);
    changed(node, {Qt::DisplayRole, Qt::AccessibleTextRole});
}

void FolderTreeModel::setImage(NodeId node, int image)
{
    if (m_tree.image(node) == image)
        return;
    m_shownIcons.erase(node);
    m_tree.setImage(node, image);
    changed(node, {Qt::DecorationRole});
}

void FolderTreeModel::setTick(NodeId node, Tick tick)
{
    m_tree.setTick(node, tick);
    changed(node, {Qt::CheckStateRole});
}

void FolderTreeModel::setSubtreeTick(NodeId node, Tick tick)
{
    holdViews();
    m_tree.setSubtreeTick(node, tick);
    if (m_bulk)
        return;
    changed(node, {Qt::CheckStateRole});
    // One notice for the children of every node in the subtree.
    std::vector<NodeId> stack {node};
    while (!stack.empty()) {
        const NodeId at = stack.back();
        stack.pop_back();
        const std::size_t count = m_tree.childCount(at);
        if (count == 0)
            continue;
        emit dataChanged(indexOf(m_tree.child(at, 0)), indexOf(m_tree.child(at, count - 1)),
                         {Qt::CheckStateRole});
        for (std::size_t i = 0; i < count; ++i)
            if (m_tree.childCount(m_tree.child(at, i)) > 0)
                stack.push_back(m_tree.child(at, i));
    }
}

void FolderTreeModel::setTickHandler(std::function<void(NodeId, bool)> handler)
{
    m_tickHandler = std::move(handler);
}

void FolderTreeModel::restore(const NodeRuns &removed)
{
    if (removed.empty() || m_bulk)
        return;
    const NodeId top = removed.front();
    if (top >= m_tree.idBound() || m_tree.contains(top) || !m_tree.contains(m_tree.parent(top)))
        return;
    const NodeId parent = m_tree.parent(top);
    const int row = static_cast<int>(std::min(m_tree.row(top), m_tree.childCount(parent)));
    beginInsertRows(indexOf(parent), row, row);
    m_tree.restore(removed);
    endInsertRows();
}

void FolderTreeModel::setTicks(const NodeRuns &nodes, Tick tick)
{
    // Siblings come one after the other in pre-order and in runs of indices:
    // one notice covers each stretch of them.
    NodeId first = NoNode;
    NodeId last = NoNode;
    auto tell = [&] {
        if (first != NoNode && !m_bulk)
            emit dataChanged(indexOf(first), indexOf(last), {Qt::CheckStateRole});
        first = NoNode;
    };
    nodes.forEach([&](NodeId node) {
        if (!m_tree.contains(node))
            return;
        m_tree.setTick(node, tick);
        if (first != NoNode && m_tree.parent(node) == m_tree.parent(last)
            && m_tree.row(node) == m_tree.row(last) + 1) {
            last = node;
            return;
        }
        tell();
        first = last = node;
    });
    tell();
}

void FolderTreeModel::swapTree(FolderTree &other)
{
    if (m_bulk)
        return;
    beginResetModel();
    m_shownIcons.clear();
    m_tree.swap(other);
    endResetModel();
}

void FolderTreeModel::keepNextClear(FolderTree *keeper, bool *cleared)
{
    m_keeper = keeper;
    m_cleared = cleared;
}

void FolderTreeModel::reserve(std::size_t nodes, std::size_t nameBytes)
{
    m_tree.reserve(nodes, nameBytes);
}

void FolderTreeModel::beginBulk()
{
    beginResetModel();
    m_bulk = true;
    m_resetOpen = true;
    m_shownBound = 0;
}

void FolderTreeModel::publish()
{
    if (!m_bulk || (!m_resetOpen && m_tree.idBound() == m_shownBound))
        return;
    if (!m_resetOpen)
        beginResetModel();
    m_shownBound = m_tree.idBound();
    m_resetOpen = false;
    endResetModel();
    ++m_publishCount;
}

void FolderTreeModel::endBulk()
{
    if (!m_bulk)
        return;
    if (!m_resetOpen)
        beginResetModel();
    m_bulk = false;
    m_resetOpen = false;
    endResetModel();
}

void FolderTreeModel::expand(NodeId node)
{
    const QModelIndex at = indexOf(node);
    if (at.isValid() && !(m_bulk && m_resetOpen))
        emit expandRequested(at);
}

} // namespace foldertree
