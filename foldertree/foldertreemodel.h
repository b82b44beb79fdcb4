#pragma once

// Shows the folder tree in item views. Each edit goes through the model, which
// tells its views around it; reads go straight to the tree.

#include "mirror.h"
#include "state.h"
#include "tree.h"

#include <QAbstractFileIconProvider>
#include <QAbstractItemModel>
#include <QHash>
#include <QIcon>
#include <functional>
#include <unordered_map>
#include <vector>

namespace foldertree {

// The desktop's icons for paths, kept in an indexed list: index 0 is "no icon",
// index 1 the plain folder.
class IconList : public IconSource
{
public:
    IconList();
    int iconIndex(const std::string &path) override;
    QIcon icon(int index) const;

private:
    QAbstractFileIconProvider m_provider;
    std::vector<QIcon> m_icons;
    QHash<QString, int> m_byName;
};

class FolderTreeModel : public QAbstractItemModel, public TreeEditor
{
    Q_OBJECT

public:
    // `planImages` is the image list of plan mode; mirror mode shows `icons`.
    FolderTreeModel(FolderTree &tree, const FolderTreeState &state, IconList &icons,
                    std::vector<QIcon> planImages, QObject *parent = nullptr);

    NodeId nodeOf(const QModelIndex &index) const;
    QModelIndex indexOf(NodeId node) const;

    // QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    // Without the two calls of the default: the view asks it of every row it lays out.
    bool hasChildren(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // TreeEditor
    const FolderTree &tree() const override { return m_tree; }
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
    // A bulk load appends without telling the views; each publish() shows them
    // what was appended since with one reset, which costs each view a layout of
    // the rows it shows. Events may run between publishes: the model then shows
    // the tree as of the last publish().
    void beginBulk() override;
    void publish() override;
    void endBulk() override;
    void expand(NodeId node) override;

    // How many times a bulk load showed its progress.
    int publishCount() const { return m_publishCount; }

    // What the edit history needs besides the edits above.

    // A box the person flipped (setData) goes to `handler` instead of straight
    // to the tree; an empty handler restores that.
    void setTickHandler(std::function<void(NodeId node, bool ticked)> handler);
    // Brings back a removed subtree (FolderTree::restore).
    void restore(const NodeRuns &removed);
    // Sets the tick of every node of `nodes` still in the tree. The views are
    // told once for each run of siblings. O(nodes).
    void setTicks(const NodeRuns &nodes, Tick tick);
    // Exchanges the whole tree with `other`, in O(1); the views start afresh.
    void swapTree(FolderTree &other);
    // The next clear() (also a removal of the root) moves the tree's nodes into
    // `keeper`, which must be empty, instead of freeing them, and sets
    // `*cleared`; nullptr frees them again.
    void keepNextClear(FolderTree *keeper, bool *cleared);

signals:
    void expandRequested(const QModelIndex &index);

private:
    void changed(NodeId node, const QList<int> &roles);
    // Before an edit that changes nodes the views know of during a bulk load:
    // the views are told nothing more until the next publish().
    void holdViews();
    // The children of `node` that the views know of. O(1), O(log children)
    // for a node that gained children since the last publish().
    std::size_t shownChildCount(NodeId node) const;
    // The node's children that were there at the last publish.
    std::size_t publishedChildCount(NodeId node, std::size_t count) const;

    FolderTree &m_tree;
    const FolderTreeState &m_state;
    IconList &m_icons;
    std::vector<QIcon> m_planImages;
    bool m_bulk = false;
    // Between beginResetModel() and endResetModel() within a bulk load.
    bool m_resetOpen = false;
    // Within a bulk load, the views know the nodes whose ids are below this.
    // Appends get higher ids, so until the next publish() the model shows the
    // tree as it was then, consistent while the window handles events.
    std::size_t m_shownBound = 0;
    int m_publishCount = 0;
    std::function<void(NodeId, bool)> m_tickHandler;
    FolderTree *m_keeper = nullptr;
    bool *m_cleared = nullptr;
    // The icons of mirror mode, looked up as rows are first drawn; forgotten
    // whenever nodes go or names change.
    mutable std::unordered_map<NodeId, int> m_shownIcons;
};

// Text of a name for display: names are bytes in the system's encoding.
QString displayText(std::string_view bytes);

} // namespace foldertree
